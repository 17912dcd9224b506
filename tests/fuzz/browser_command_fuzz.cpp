// The link label's fallback command. An input is the registered open command,
// a NUL, and the target.
#include <cstdint>
#include <string>
#include <vector>

#include "controls/browser_command.h"
#include "controls/cp932_search.h"
#include "tests/fuzz/fuzz_check.h"

namespace {
// Offsets at which a character of code page 932 starts; a lead byte takes the
// next byte with it, whatever that is.
std::vector<bool> CharacterStarts(const std::string& text)
{
    std::vector<bool> starts(text.size() + 1, false);
    for (size_t at = 0; at < text.size(); at += IsCp932LeadByte(text[at]) ? 2 : 1)
        starts[at] = true;
    return starts;
}

size_t FirstWholeOccurrence(const std::string& text, const std::string& needle)
{
    const std::vector<bool> starts = CharacterStarts(text);
    for (size_t at = 0; at + needle.size() <= text.size(); ++at)
        if (starts[at] && text.compare(at, needle.size(), needle) == 0)
            return at;
    return std::string::npos;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t nul = input.find('\0');
    const std::string registered = input.substr(0, nul);
    const std::string target =
        nul == std::string::npos ? std::string() : input.substr(nul + 1, input.find('\0', nul + 1) - nul - 1);

    size_t cut = FirstWholeOccurrence(registered, "\"%1\"");
    if (cut == std::string::npos)
        cut = FirstWholeOccurrence(registered, "%1");
    const std::string expected = registered.substr(0, cut) + " " + target;

    const std::optional<std::string> command = ComposeBrowserCommand(registered, target);
    // Either the whole command with its terminator fits the buffer, or there is none.
    FUZZ_CHECK(command.has_value() == (expected.size() < kBrowserCommandBufferSize));
    if (command)
        FUZZ_CHECK(*command == expected);
    return 0;
}
