#include "controls/cp932_search.h"

bool IsCp932LeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::size_t FindCp932(const std::string& text, const std::string& needle)
{
    for (std::size_t at = 0; at + needle.size() <= text.size();) {
        if (text.compare(at, needle.size(), needle) == 0)
            return at;
        at += IsCp932LeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
    }
    return std::string::npos;
}
