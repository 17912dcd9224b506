// The double-byte-safe copy. An input is the byte limit (2 bytes, little
// endian) and then the source text, which ends at its first NUL.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "controls/cp932_search.h"
#include "controls/dbcs_copy.h"
#include "tests/fuzz/fuzz_check.h"

namespace {
// The last offset at or before limit where a character starts.
size_t LastCharacterStart(const std::string& text, size_t limit)
{
    size_t start = 0;
    for (size_t next = 0; next <= limit; next += IsCp932LeadByte(text[next]) ? 2 : 1) {
        start = next;
        if (next == text.size())
            break;
    }
    return start;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const size_t maxBytes = data[0] | (data[1] << 8);
    std::string source(reinterpret_cast<const char*>(data) + 2, size - 2);
    source.resize(std::strlen(source.c_str()));

    // Exactly the room the contract asks for, so that a write past it is caught.
    const size_t count = std::min(source.size(), maxBytes);
    std::vector<char> dest(count + 1, '\x7F');
    const size_t copied = CopyWithoutSplitting(dest.data(), source.c_str(), maxBytes, IsCp932LeadByte);

    FUZZ_CHECK(copied == count);
    FUZZ_CHECK(dest[count] == '\0');
    // The copy is the source up to its last whole character within the limit:
    // a double-byte character cut by the limit loses its lead byte to a NUL.
    const size_t kept = std::strlen(dest.data());
    FUZZ_CHECK(kept == LastCharacterStart(source, count));
    FUZZ_CHECK(source.compare(0, kept, dest.data()) == 0);
    return 0;
}
