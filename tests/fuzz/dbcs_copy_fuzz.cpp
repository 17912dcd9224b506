// The double-byte-safe copy. An input is the byte limit (2 bytes, little
// endian) and then the source text, which ends at its first NUL.
#include <cstdint>
#include <cstring>
#include <string>

#include "controls/dbcs_text.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/cp932_lead_byte.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const char* text = reinterpret_cast<const char*>(data) + 2;
    const std::string source(text, strnlen(text, size - 2));
    const size_t maxBytes = data[0] | data[1] << 8, count = std::min(source.size(), maxBytes);
    // Exactly the room the contract asks for, so that a write past it is caught.
    std::string dest(count + 1, '\x7F');
    FUZZ_CHECK(CopyWithoutSplitting(&dest[0], source.c_str(), maxBytes, IsCp932LeadByte) == count);
    // The source up to the last character start within the limit, then NULs.
    size_t kept = 0;
    for (size_t start = 0; start <= count; start += IsCp932LeadByte(source[start]) ? 2 : 1)
        kept = start;
    FUZZ_CHECK(dest == source.substr(0, kept) + std::string(count + 1 - kept, '\0'));
    return 0;
}
