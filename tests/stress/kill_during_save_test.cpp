#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>

#include "jump/file_replace.h"
#include "tests/stress/save_sequence.h"
#include "tests/support/test_files.h"
#include "tests/support/test_processes.h"

using namespace std::chrono_literals;

namespace {
const int kKills = 200;
// Longer than a save takes, so that a kill can land in any part of one.
const auto kLongestWaitBeforeKill = 10ms;

// The number of the last save that completed, shared with the saving helper.
class SaveCounter {
public:
    SaveCounter() : m_name("wexmoor-saves-" + std::to_string(GetCurrentProcessId()))
    {
        m_mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG),
                                       m_name.c_str());
        if (m_mapping)
            m_value = static_cast<LONG*>(MapViewOfFile(m_mapping, FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
    }
    ~SaveCounter()
    {
        if (m_value)
            UnmapViewOfFile(m_value);
        if (m_mapping)
            CloseHandle(m_mapping);
    }
    SaveCounter(const SaveCounter&) = delete;
    SaveCounter& operator=(const SaveCounter&) = delete;

    bool Ready() const { return m_value != nullptr; }
    const std::string& Name() const { return m_name; }
    LONG Get() const { return InterlockedCompareExchange(m_value, 0, 0); }
    void Set(LONG n) { InterlockedExchange(m_value, n); }

private:
    std::string m_name;
    HANDLE m_mapping = nullptr;
    LONG* m_value = nullptr;
};

// Spins rather than sleeps, so that the moment is not rounded to a scheduler tick.
void SpinFor(std::chrono::microseconds duration)
{
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end) {
    }
}

std::vector<std::string> FileNames(const TempFolder& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder / "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string Describe(const std::string& bytes)
{
    return std::to_string(bytes.size()) + " bytes, beginning \"" + bytes.substr(0, 24) + "\"";
}
}  // namespace

// The saving process is killed at random moments; each time the history file
// must hold one complete history, that of the last save that finished (old)
// or that of the save under way (new), and at most the one temporary file may
// be left beside it.
TEST(KillDuringSave, TheFileIsAlwaysTheCompleteOldOrNewHistory)
{
    TempFolder folder;
    const std::string path = folder / "Wexmoor.log";
    const std::string saver = Quoted(BuildTreePath("tests/stress/history_saver.exe"));
    SaveCounter counter;
    ASSERT_TRUE(counter.Ready());
    WriteBytes(path, FormatHistory(HistoryOfSave(0)));

    const unsigned seed = std::random_device()();
    std::mt19937 random(seed);
    std::uniform_int_distribution<long> waitMicroseconds(
        0, std::chrono::duration_cast<std::chrono::microseconds>(kLongestWaitBeforeKill).count());
    int oldFile = 0, newFile = 0, otherFile = 0, temporaryLeft = 0;
    const std::vector<std::string> expectedNames = {"Wexmoor.log", "Wexmoor.log.tmp"};
    for (int kill = 0; kill < kKills; ++kill) {
        const LONG before = counter.Get();
        StartedProcess process(saver + " " + Quoted(path) + " " + counter.Name());
        ASSERT_TRUE(process.Started());
        // Past its start-up and saving in its loop.
        WaitUntil([&] { return counter.Get() > before || process.WaitForExit(0ms); });
        ASSERT_FALSE(process.WaitForExit(0ms)) << "the helper ended with code " << process.ExitCode();
        SpinFor(std::chrono::microseconds(waitMicroseconds(random)));
        process.Kill();
        ASSERT_TRUE(process.WaitForExit());

        const LONG completed = counter.Get();
        const std::string bytes = ReadBytes(path);
        if (bytes == FormatHistory(HistoryOfSave(completed))) {
            ++oldFile;
        } else if (bytes == FormatHistory(HistoryOfSave(completed + 1))) {
            ++newFile;
            counter.Set(completed + 1);
        } else {
            ++otherFile;
            ADD_FAILURE() << "after save " << completed << " the file holds " << Describe(bytes);
            WriteBytes(path, FormatHistory(HistoryOfSave(completed)));
        }
        const bool temporary = FileExists(TemporaryPathFor(path));
        temporaryLeft += temporary;
        EXPECT_EQ(FileNames(folder),
                  std::vector<std::string>(expectedNames.begin(), expectedNames.begin() + 1 + temporary));
    }
    std::printf("%d kills while saving (seed %u, %ld saves in all): old file %d, new file %d, "
                "other %d; the temporary file was left after %d kills\n",
                kKills, seed, static_cast<long>(counter.Get()), oldFile, newFile, otherFile,
                temporaryLeft);
    EXPECT_EQ(otherFile, 0);

    // The next save takes up a temporary file that a kill left behind.
    ASSERT_TRUE(SaveHistory(path, HistoryOfSave(0)));
    EXPECT_EQ(ReadBytes(path), FormatHistory(HistoryOfSave(0)));
    EXPECT_EQ(FileNames(folder), std::vector<std::string>{"Wexmoor.log"});
}
