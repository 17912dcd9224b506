// Saving the history when things go wrong: a save killed at random moments,
// and the real executable saving over a file that is read-only, hidden, busy
// or in the way.
#include <gtest/gtest.h>

#include <random>

#include "jump/file_replace.h"
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
        if (SaveHistory(Wide(__argv[2]), HistoryOfSave(n)) != 0)
            ExitProcess(3);
    return true;
}();

const std::string kHistory = "one\r\ntwo\r\n";
const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;

// What another program holds open while the user confirms "new": nothing,
// the history, or a temporary file that a killed save left beside it (which
// it does not let anyone remove); a folder at the temporary file's place
// makes the folder seem to refuse new files.
enum class Held { Nothing, History, Leftover, FolderForTheTemporaryFile };

// Attributes given to the history file, what another program holds and its
// sharing mode (one that shares writing maps the history into memory, as
// viewers do, unless the history grows), and whether the history grows (ten
// entries kept) or shrinks (one); then the file afterwards, and whether the
// new one took its place in one step: a second name linked to the old file
// then still reads the old history. A history that cannot be saved is told,
// with the file, the system's reason and what to do about it, and the editor
// is not started: it would jump to the old target. Attributes stay.
struct Case {
    const char* name;
    DWORD attributes;
    Held held;
    DWORD sharing;
    bool grows;
    std::string after;
    bool replaced = false;
    DWORD told = 0;
    const wchar_t* advice = L"";
};

const Case kCases[] = {
    {"ReadOnlyFileIsLeftAloneAndTold", FILE_ATTRIBUTE_READONLY, Held::Nothing, 0, false, kHistory, false,
     ERROR_FILE_READ_ONLY, L"ファイルのプロパティで「読み取り専用」のチェックを外して"},
    {"HiddenFileIsReplacedInOneStepAndStaysHidden", FILE_ATTRIBUTE_HIDDEN, Held::Nothing, 0, false, "new\r\n", true},
    {"NoRoomForTheNewFileWritesInPlace", 0, Held::FolderForTheTemporaryFile, 0, false, "new\r\n"},
    {"AHeldLeftoverOfAKilledSaveWritesInPlace", 0, Held::Leftover, kShareAll, false, "new\r\n"},
    // As a viewer holds it, mapped into memory: it can be neither replaced nor
    // cut shorter, but written, and line ends take the old history's place.
    {"MappedByAViewerIsWrittenInPlaceBeforeLineEnds", 0, Held::History, kShareAll, false, "new\r\n\r\n\r\n\n"},
    {"HeldWithWriteSharingGrowsInPlace", 0, Held::History, kShareAll, true, "new\r\n" + kHistory},
    {"HeldOpenWithoutSharingIsLeftAloneAndTold", 0, Held::History, 0, false, kHistory, false, ERROR_SHARING_VIOLATION,
     L"このファイルを使っているプログラム（履歴ファイルを開いたままの秀丸エディタを含みます）を閉じて"},
};

class SavingOver : public ::testing::TestWithParam<Case> {};
}  // namespace

TEST_P(SavingOver, WritesTheNewFileWholeOrKeepsTheOldOneAndSaysSo)
{
    const Case& c = GetParam();
    StagedProgram program;
    program.UseStandinEditor(c.grows ? "" : "history=1\r\n");
    const std::wstring history = program.HistoryPath(), temporary = TemporaryPathFor(history);
    WriteBytes(history, kHistory);
    SetFileAttributesW(history.c_str(), c.attributes);
    CreateHardLinkW((history + L"-link").c_str(), history.c_str(), nullptr);
    if (c.held == Held::FolderForTheTemporaryFile)
        CreateDirectoryW(temporary.c_str(), nullptr);
    if (c.held == Held::Leftover)
        WriteBytes(temporary, "left");
    const std::wstring heldFile = c.held == Held::History ? history : temporary;
    HANDLE holder = c.held == Held::History || c.held == Held::Leftover
                        ? CreateFileW(heldFile.c_str(), GENERIC_READ, c.sharing, nullptr, OPEN_EXISTING, 0, nullptr)
                        : INVALID_HANDLE_VALUE;
    const bool mapped = c.held == Held::History && c.sharing == kShareAll && !c.grows;
    HANDLE mapping = mapped ? CreateFileMappingW(holder, nullptr, PAGE_READONLY, 0, 0, nullptr) : nullptr;
    const void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
    HWND dialog = program.OpenDialog();
    ASSERT_TRUE(dialog);
    TypeText(L"new\n");
    const bool saved = c.told == 0;
    if (!saved) {
        EXPECT_TRUE(Answer(WaitForFailureBox(program.Process().Id(), history, c.told, c.advice)));
        EXPECT_EQ(WindowText(GetDlgItem(dialog, 1000)), L"new") << "the dialog keeps the input for another try";
        FocusForTyping(dialog);
        TypeText(L"\x1B");
    }
    EXPECT_TRUE(program.Process().WaitForExit());
    UnmapViewOfFile(view);
    CloseHandle(mapping);
    CloseHandle(holder);
    auto record = StandinRecord(program.RecordPath());
    EXPECT_EQ(record.empty(), !saved) << "the editor starts exactly when the history is saved";
    EXPECT_EQ(record["history_first_line"], saved ? "new" : "");
    EXPECT_EQ(ReadBytes(history + L"-link"), c.replaced ? kHistory : c.after) << "one step";
    EXPECT_EQ(ReadBytes(history), c.after);
    EXPECT_EQ(GetFileAttributesW(history.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), c.attributes);
    // The held leftover stays; a folder reads as no bytes.
    EXPECT_EQ(ReadBytes(temporary), c.held == Held::Leftover ? "left" : "") << "a file was left";
    EXPECT_EQ(GetFileAttributesW(temporary.c_str()) != INVALID_FILE_ATTRIBUTES,
              c.held == Held::Leftover || c.held == Held::FolderForTheTemporaryFile);
}

INSTANTIATE_TEST_SUITE_P(Rows, SavingOver, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A process saving one history after another is killed at random moments;
// each time the file must hold one whole history, and at most the one
// temporary file may be left beside it.
TEST(KilledSave, LeavesTheOldOrTheNewFileWhole)
{
    TempFolder folder;
    const std::wstring path = folder / L"Wexmoor.log";
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring saver = Quoted(self) + L" --save-forever " + Quoted(path) + L" ";
    // WEXMOOR_SEED repeats a run.
    const unsigned seed = std::getenv("WEXMOOR_SEED") ? std::atol(std::getenv("WEXMOOR_SEED")) : std::random_device{}();
    SCOPED_TRACE("WEXMOOR_SEED=" + std::to_string(seed));
    std::mt19937 random(seed);
    for (int kill = 1; kill <= 100; ++kill) {
        const long first = kill * 1000000L;
        StartedProcess process(saver + std::to_wstring(first));
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
    DeleteFileW(path.c_str());
    DeleteFileW(TemporaryPathFor(path).c_str());
    EXPECT_TRUE(RemoveDirectoryW(folder.Path().c_str()));
}
