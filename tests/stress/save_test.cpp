// Saving the history when things go wrong: a save killed at random moments,
// and the real executable saving over a file that is read-only, hidden, busy
// or in the way.
#include <gtest/gtest.h>

#include <random>

#include "tests/stress/save_sequence.h"
#include "tests/support/harness.h"

namespace {
const std::string kHistory = "one\r\ntwo\r\n";
const DWORD kNotHeld = ~0u;

// Attributes given to the history file, how another program holds it open
// (its sharing mode) while the user confirms "new", whether a folder takes the
// temporary file's name; then the file, its attributes and the first line the
// editor read.
struct Case {
    const char* name;
    DWORD attributes;
    DWORD heldWithSharing;
    bool noRoomForTheTemporaryFile;
    std::string after;
    DWORD attributesAfter;
    std::string firstLine;
};

const Case kCases[] = {
    {"ReadOnlyFileIsLeftAlone", FILE_ATTRIBUTE_READONLY, kNotHeld, false, kHistory, FILE_ATTRIBUTE_READONLY, "one"},
    {"HiddenFileStaysHidden", FILE_ATTRIBUTE_HIDDEN, kNotHeld, false, "new\r\n", FILE_ATTRIBUTE_HIDDEN, "new"},
    {"NoRoomForTheNewFileWritesInPlace", 0, kNotHeld, true, "new\r\n", 0, "new"},
    // As a viewer or a virus scanner holds it: it cannot be replaced, but written.
    {"HeldOpenWithoutDeleteSharingIsWrittenInPlace", 0, FILE_SHARE_READ | FILE_SHARE_WRITE, false, "new\r\n", 0, "new"},
    {"HeldOpenWithoutSharingIsLeftAlone", 0, 0, false, kHistory, 0, ""},
};

class SavingOver : public ::testing::TestWithParam<Case> {};
}  // namespace

TEST_P(SavingOver, KeepsTheOldFileOrWritesTheNewOneAndTheEditorStarts)
{
    const Case& c = GetParam();
    StagedProgram program;
    program.UseStandinEditor("history=1\r\n");  // so the new file is shorter than the old
    const std::string history = program.HistoryPath();
    WriteBytes(history, kHistory);
    SetFileAttributesA(history.c_str(), c.attributes);
    if (c.noRoomForTheTemporaryFile)
        CreateDirectoryA((history + ".tmp").c_str(), nullptr);
    HANDLE holder = c.heldWithSharing == kNotHeld ? INVALID_HANDLE_VALUE
                                                  : CreateFileA(history.c_str(), GENERIC_READ, c.heldWithSharing,
                                                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(program.OpenDialog());
    TypeText("new\n");
    auto record = WaitForStandinRecord(program.RecordPath());
    CloseHandle(holder);
    EXPECT_EQ(record["history_first_line"], c.firstLine);
    EXPECT_EQ(ReadBytes(history), c.after);
    EXPECT_EQ(GetFileAttributesA(history.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), c.attributesAfter);
    const DWORD temporary = GetFileAttributesA((history + ".tmp").c_str());
    EXPECT_TRUE(temporary == INVALID_FILE_ATTRIBUTES || (temporary & FILE_ATTRIBUTE_DIRECTORY)) << "a file was left";
}

INSTANTIATE_TEST_SUITE_P(Rows, SavingOver, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A process saving one history after another is killed at random moments;
// each time the file must hold one whole history, and at most the one
// temporary file may be left beside it.
TEST(KilledSave, LeavesTheOldOrTheNewFileWhole)
{
    TempFolder folder;
    const std::string path = folder / "Wexmoor.log";
    const std::string saver = Quoted(BuildTreePath("tests/stress/history_saver.exe")) + " " + Quoted(path) + " ";
    std::mt19937 random(std::random_device{}());
    for (int kill = 1; kill <= 40; ++kill) {
        const long first = kill * 1000000L;
        StartedProcess process(saver + std::to_string(first));
        // Past its start-up and saving in its loop.
        ASSERT_TRUE(WaitUntil([&] { return SaveNumberIn(ReadBytes(path)) >= first; }));
        const auto spinUntil = std::chrono::steady_clock::now() + std::chrono::microseconds(random() % 10000);
        while (std::chrono::steady_clock::now() < spinUntil) {
        }
        process.Kill();
        const std::string bytes = ReadBytes(path);
        ASSERT_EQ(bytes, FormatHistory(HistoryOfSave(SaveNumberIn(bytes)))) << "after kill " << kill;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder / "*").c_str(), &found);
        int files = 0;
        do
            files += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
        while (FindNextFileA(search, &found));
        FindClose(search);
        EXPECT_LE(files, 2);
    }
}
