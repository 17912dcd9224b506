// Saving the history when things go wrong: a save killed at random moments,
// and the real executable saving over a file that is read-only, hidden, busy
// or in the way.
#include <gtest/gtest.h>

#include <random>

#include "jump/history.h"
#include "tests/support/harness.h"

namespace {
// The histories that the saving process writes one after another. Save n holds
// ten entries, the first naming the save, with lengths that change from save to
// save, so that the file of one save can be told from that of any other and
// from part of one.
HistoryList HistoryOfSave(long n)
{
    HistoryList history;
    for (long i = 0; i < 10; ++i)
        history.push_back("save " + std::to_string(n) + " entry " + std::to_string(i) + " " +
                          std::string(static_cast<size_t>((n * 7 + i * 13) % 40) * 25, 'a' + i) + "\x95\x5C");
    return history;
}

long SaveNumberIn(const std::string& bytes)
{
    return bytes.compare(0, 5, "save ") == 0 ? std::atol(bytes.c_str() + 5) : 0;
}

// Started as "save_e2e --save-forever <history file> <first save>", this test
// program is the saving process that the killed-save test kills: before any
// test runs it saves one history after another with the program's own
// SaveHistory until it is killed.
const bool kSavingProcess = __argc == 4 && std::string(__argv[1]) == "--save-forever" && [] {
    for (long n = std::atol(__argv[3]);; ++n)
        if (!SaveHistory(__argv[2], HistoryOfSave(n)))
            ExitProcess(3);
    return true;
}();

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
    auto record = StandinRecord(program.RecordPath(), 10s);
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
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string saver = Quoted(self) + " --save-forever " + Quoted(path) + " ";
    std::mt19937 random(std::random_device{}());
    for (int kill = 1; kill <= 100; ++kill) {
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
    }
    // Nothing else is left beside the history but the one temporary file.
    DeleteFileA(path.c_str());
    DeleteFileA((path + ".tmp").c_str());
    EXPECT_TRUE(RemoveDirectoryA(folder.Path().c_str()));
}
