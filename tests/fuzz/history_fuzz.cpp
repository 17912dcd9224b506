// The history file's reader and a typed text put in front. An input is a
// history length (4 bytes, little endian), the length of a typed text (1 byte),
// the typed text, and then the history file's bytes.
#include <cstdint>

#include "jump/history.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 5)
        return 0;
    const auto nHistoryMax = static_cast<int32_t>(data[0] | data[1] << 8 | data[2] << 16 | uint32_t{data[3]} << 24);
    const char* rest = reinterpret_cast<const char*>(data) + 5;
    const std::string typed(rest, data[4] < size - 5 ? data[4] : size - 5);
    HistoryList history, reread;
    LoadHistory(rest + typed.size(), size - 5 - typed.size(), nHistoryMax, history);
    RememberInput(history, typed, nHistoryMax);
    // Saved and read back, the list is the same but for an empty typed text,
    // which the reader skips. (The dialog's single-line field holds no LF.)
    const std::string saved = FormatHistory(history);
    LoadHistory(saved.data(), saved.size(), INT32_MAX, reread);
    if (typed.find('\n') == std::string::npos)
        FUZZ_CHECK(reread == HistoryList(history.begin() + (typed.empty() && !history.empty()), history.end()));
    return 0;
}
