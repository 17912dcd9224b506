// The history file's reader and the three operations on the list. An input is
// a history length (4 bytes), the length of a typed text (1 byte), the typed
// text, and then the history file's bytes.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "jump/history.h"
#include "tests/fuzz/fuzz_check.h"

namespace fs = std::filesystem;

namespace {
HistoryList Load(const std::string& bytes, int32_t nHistoryMax)
{
    std::istringstream in(bytes, std::ios::binary);
    HistoryList history;
    LoadHistory(in, nHistoryMax, history);
    return history;
}

// Where an input's history is saved; the file is removed again after each
// input, so that a finished run leaves nothing behind.
const std::string& SavePath()
{
    static const std::string path =
        (fs::temp_directory_path() / ("wexmoor-fuzz-" + std::to_string(getpid()) + ".log")).string();
    return path;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void CheckLoaded(const HistoryList& history, const std::string& file, int32_t nHistoryMax)
{
    FUZZ_CHECK(history.size() <= static_cast<size_t>(std::max(nHistoryMax, 0)));
    // Every entry is one non-empty line of the file, in the file's order.
    size_t at = 0;
    for (const std::string& entry : history) {
        FUZZ_CHECK(!entry.empty());
        FUZZ_CHECK(entry.find('\n') == std::string::npos);
        at = file.find(entry, at);
        FUZZ_CHECK(at != std::string::npos);
        at += entry.size();
    }
}

void CheckRemembered(const HistoryList& history, const HistoryList& before, const std::string& typed,
                     int32_t nHistoryMax)
{
    HistoryList others = before;
    const auto same = std::find(others.begin(), others.end(), typed);
    if (same != others.end())
        others.erase(same);
    // The list never outgrows a non-negative length; a negative one never trims.
    const size_t kept = others.size() + 1;
    FUZZ_CHECK(history.size() ==
               (nHistoryMax >= 0 ? std::min(kept, static_cast<size_t>(nHistoryMax)) : kept));
    if (history.empty())
        return;
    // The typed text leads; the others follow in their old order.
    FUZZ_CHECK(history.front() == typed);
    FUZZ_CHECK(std::equal(history.begin() + 1, history.end(), others.begin()));
}

void CheckSaved(const HistoryList& history, const std::string& saved)
{
    FUZZ_CHECK(saved == FormatHistory(history));
    // Read back in full, the saved list is the same but for empty entries, which
    // the reader skips. (A typed line feed would make two lines of one entry; the
    // dialog's single-line field cannot hold one.)
    if (history.empty() || history.front().find('\n') != std::string::npos)
        return;
    HistoryList expected;
    std::copy_if(history.begin(), history.end(), std::back_inserter(expected),
                 [](const std::string& entry) { return !entry.empty(); });
    FUZZ_CHECK(Load(saved, INT32_MAX) == expected);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 5)
        return 0;
    int32_t nHistoryMax;
    std::memcpy(&nHistoryMax, data, sizeof nHistoryMax);
    const size_t typedLength = std::min<size_t>(data[4], size - 5);
    const char* rest = reinterpret_cast<const char*>(data) + 5;
    const std::string typed(rest, typedLength);
    const std::string file(rest + typedLength, size - 5 - typedLength);

    HistoryList history = Load(file, nHistoryMax);
    CheckLoaded(history, file, nHistoryMax);
    FUZZ_CHECK(Load(FormatHistory(history), nHistoryMax) == history);

    const HistoryList before = history;
    RememberInput(history, typed, nHistoryMax);
    CheckRemembered(history, before, typed, nHistoryMax);

    FUZZ_CHECK(SaveHistory(SavePath(), history));
    const std::string saved = ReadFile(SavePath());
    fs::remove(SavePath());
    CheckSaved(history, saved);
    return 0;
}
