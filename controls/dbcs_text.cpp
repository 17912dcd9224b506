#include "controls/dbcs_text.h"

std::size_t CopyWithoutSplitting(char* dest, const char* source, std::size_t maxBytes,
                                 LeadByteTest isLeadByte)
{
    std::size_t count = 0;
    while (count < maxBytes && source[count])
        ++count;

    // Walks whole characters from the start: a second byte can fall in the
    // lead-byte range too, so the last byte alone does not tell.
    for (std::size_t at = 0; at < count; ++at) {
        if (isLeadByte(static_cast<unsigned char>(source[at]))) {
            if (at + 1 == count) {
                dest[at] = '\0';
                break;
            }
            dest[at] = source[at];
            ++at;
        }
        dest[at] = source[at];
    }
    dest[count] = '\0';
    return count;
}

std::size_t FindWholeCharacters(const std::string& text, const std::string& needle, LeadByteTest isLeadByte)
{
    for (std::size_t at = 0; at + needle.size() <= text.size();) {
        if (text.compare(at, needle.size(), needle) == 0)
            return at;
        at += isLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
    }
    return std::string::npos;
}
