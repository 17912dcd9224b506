// Bad input given to the real executable: settings and history files that are
// empty, binary, huge or malformed, files and folders that cannot be written,
// and a home folder with double-byte names. Each case has its defined result,
// and none loses what the user did not change.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <ostream>

#include "jump/file_replace.h"
#include "res/resource.h"
#include "tests/e2e/program_driver.h"

namespace {
const char kCaption[] = "Wexmoor";
const std::string kHistory = "one\r\ntwo\r\nthree\r\n";

// Starts the program and waits for its dialog, ready for typing.
HWND OpenDialog(StagedProgram& program)
{
    program.Start();
    HWND dialog = WaitForProcessWindow(program.Process().Id(), kCaption);
    if (dialog)
        FocusForTyping(dialog);
    return dialog;
}

HWND Combo(HWND dialog)
{
    return GetDlgItem(dialog, IDC_INPUT);
}

// Typed over the preselected entry, or the entry confirmed as the field shows it.
void Confirm(const char* typed)
{
    if (typed)
        TypeText(typed);
    PressKey(VK_RETURN);
}

// Whether the stand-in editor ran; waiting for a record that should not come
// needs a limit of its own.
bool EditorStarted(const std::string& recordPath, std::chrono::milliseconds wait)
{
    return WaitUntil([&] { return FileExists(recordPath); }, wait);
}

// Compares files of many megabytes without printing them.
::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected)
{
    if (actual == expected)
        return ::testing::AssertionSuccess();
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
        ++at;
    return ::testing::AssertionFailure()
           << actual.size() << " bytes where " << expected.size() << " were expected, first difference at "
           << at << ": \"" << actual.substr(at, 32) << "\" instead of \"" << expected.substr(at, 32) << "\"";
}

// A literal's bytes, NULs included.
template <size_t N>
std::string Bytes(const char (&literal)[N])
{
    return std::string(literal, N - 1);
}

std::string Repeated(const std::string& bytes, int times)
{
    std::string repeated;
    for (int i = 0; i < times; ++i)
        repeated += bytes;
    return repeated;
}

// The byte values from first to last, in order.
std::string ByteRange(int first, int last)
{
    std::string bytes;
    for (int b = first; b <= last; ++b)
        bytes += static_cast<char>(b);
    return bytes;
}

std::string NumberedLines(int first, int count)
{
    std::string lines;
    char line[32];
    for (int i = first; i < first + count; ++i) {
        std::snprintf(line, sizeof line, "line %07d\r\n", i);
        lines += line;
    }
    return lines;
}

// A settings file leads either to the folder prompt, which is cancelled here
// and must leave both files as they were, or to the dialog, where "new" is
// typed and confirmed over the history kHistory.
struct SettingsCase {
    const char* name;
    std::function<void(StagedProgram&)> writeSettings;
    bool prompts;
    std::string historyAfter = "";
    bool editorStarts = false;
};

void PrintTo(const SettingsCase& c, std::ostream* out)
{
    *out << c.name;
}

void WriteEditorPath(StagedProgram& program, const std::string& path)
{
    program.WriteSettings("[config]\r\nhidemaru=" + path + "\r\n");
}

const SettingsCase kSettingsCases[] = {
    {"Empty", [](StagedProgram& p) { p.WriteSettings(""); }, true},
    {"Binary", [](StagedProgram& p) { p.WriteSettings(Repeated(ByteRange(0, 255), 16)); }, true},
    // The section after eight megabytes of other keys is still found.
    {"Huge",
     [](StagedProgram& p) {
         std::string other = "[other]\r\n";
         for (int i = 0; i < 200000; ++i)
             other += "key" + std::to_string(i) + "=" + std::string(28, 'v') + "\r\n";
         p.WriteSettings(other + "[config]\r\nhidemaru=" + p.EditorPath() + "\r\nhistory=2\r\n");
     },
     false, "new\r\none\r\n", true},
    // The platform reads a length that is no number as 0: nothing is listed and
    // the saved history is empty, as with history=0.
    {"HistoryNotANumber", [](StagedProgram& p) { p.UseStandinEditor("history=ten\r\n"); }, false, "", true},
    // Too large for 32 bits, the value still reads as a large positive length:
    // nothing is trimmed.
    {"HistoryHuge", [](StagedProgram& p) { p.UseStandinEditor("history=99999999999\r\n"); }, false,
     "new\r\n" + kHistory, true},
    // Negative: nothing is listed and nothing trimmed, so only the new entry is saved.
    {"HistoryMostNegative", [](StagedProgram& p) { p.UseStandinEditor("history=-2147483648\r\n"); }, false,
     "new\r\n", true},
    // Cut to 259 bytes by the buffer it is read into, the path names nothing.
    {"EditorPath300Bytes",
     [](StagedProgram& p) { WriteEditorPath(p, p.EditorPath() + std::string(300 - p.EditorPath().size(), 'x')); },
     true},
    {"EditorPathNamesAFolder", [](StagedProgram& p) { WriteEditorPath(p, p.Folder() / "Hide maru"); }, true},
    // An existing match counts as the editor; starting a pattern fails silently
    // after the history has been saved.
    {"EditorPathWildcardMatchingTheEditor",
     [](StagedProgram& p) { WriteEditorPath(p, p.Folder() / "Hide maru\\Hidemar?.exe"); }, false,
     "new\r\n" + kHistory, false},
    // The first match is the folder "Hide maru".
    {"EditorPathWildcardMatchingAFolder", [](StagedProgram& p) { WriteEditorPath(p, p.Folder() / "Hide*"); },
     true},
    {"EditorPathWildcardMatchingNothing",
     [](StagedProgram& p) { WriteEditorPath(p, p.Folder() / "Hide maru\\*.com"); }, true},
};

class BadSettings : public ::testing::TestWithParam<SettingsCase> {
protected:
    StagedProgram program;
};

// A history file, and what the dialog lists and shows in its field, and the
// file after confirming. typed is typed over the preselected entry; without it
// the entry is confirmed as the field shows it.
struct HistoryCase {
    const char* name;
    std::string before;
    size_t listed;
    std::string shown;
    const char* typed;
    std::string after;
};

void PrintTo(const HistoryCase& c, std::ostream* out)
{
    *out << c.name;
}

const std::string kTenMegabytes(10 << 20, 'x');

const HistoryCase kHistoryCases[] = {
    {"Empty", "", 0, "", "new", "new\r\n"},
    // The field shows the entry up to its NUL, and that is what is confirmed:
    // it goes in front, and the entry as it was stays behind it.
    {"NulAndCtrlZ", Bytes("a\0b\r\n\x1A\r\nc\r\n"), 3, "a", nullptr, Bytes("a\r\na\0b\r\n\x1A\r\nc\r\n")},
    // Three runs of every byte value split at each 0x0A into four entries
    // (the middle two equal), all kept as they were.
    {"Binary", Repeated(ByteRange(0, 255), 3), 4, "", "new",
     "new\r\n" + ByteRange(0, 9) + "\r\n" + Repeated(ByteRange(11, 255) + ByteRange(0, 9) + "\r\n", 2) +
         ByteRange(11, 255) + "\r\n"},
    // Without a line feed the whole file is one entry, its CRs included.
    {"CrOnlyLineEnds", "one\rtwo\rthree\r", 1, "one\rtwo\rthree\r", nullptr, "one\rtwo\rthree\r\r\n"},
    {"NoFinalLineEnd", "one\r\ntwo", 2, "one", "new", "new\r\none\r\ntwo\r\n"},
    // (WindowText reads at most 1023 bytes of the field.)
    {"TenMegabyteLine", kTenMegabytes + "\r\nshort\r\n", 2, kTenMegabytes.substr(0, 1023), "new",
     "new\r\n" + kTenMegabytes + "\r\nshort\r\n"},
    // As with any file longer than the history length, only the first entries
    // are read, and saving keeps only those.
    {"MillionLines", NumberedLines(1, 1000000), 10, "line 0000001", "new", "new\r\n" + NumberedLines(1, 9)},
    // Blank lines do not count towards the length, however many.
    {"MillionBlankLinesBeforeAnEntry", Repeated("\r\n", 1000000) + "last\r\n", 1, "last",
     "new", "new\r\nlast\r\n"},
    // A lead byte with no valid second byte is shown, and so confirmed, as the
    // default character "\x81\x45"; the entry as it was stays behind it.
    {"InvalidDoubleByteConfirmedAsShown", "\x81\x20x\r\nok\r\n", 2, "\x81\x45x", nullptr,
     "\x81\x45x\r\n\x81\x20x\r\nok\r\n"},
    // Bytes that are no characters of code page 932 are listed and kept as they are.
    {"InvalidDoubleByte", "ok\r\n\x81\x20x\r\n\xA0\xFD\xFE\xFF\r\nend\x81\r\n", 4, "ok", "new",
     "new\r\nok\r\n\x81\x20x\r\n\xA0\xFD\xFE\xFF\r\nend\x81\r\n"},
};

class BadHistory : public ::testing::TestWithParam<HistoryCase> {
protected:
    StagedProgram program;
};

// Whether a file can be created in the folder; the probe goes again at once.
bool CanCreateIn(const std::string& folder)
{
    HANDLE probe = CreateFileA((folder + "\\probe").c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                               FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (probe == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(probe);
    return true;
}

// Under Wine the tests run as root, whom neither Unix permissions nor the
// read-only attribute keep from writing in a folder. The file system's
// immutable flag does: no name in the folder can be created, renamed or
// removed, while the files in it can still be written. Wine starts Unix
// programs as well, so chattr sets the flag and lifts it again; a process
// handle does not follow such a program, so the flag's effect is awaited.
class ImmutableFolder {
public:
    explicit ImmutableFolder(const std::string& path) : m_path(path)
    {
        m_locked = RunChattr("+i") && WaitUntil([&] { return !CanCreateIn(m_path); }, std::chrono::seconds(5));
    }
    ~ImmutableFolder()
    {
        if (RunChattr("-i"))
            WaitUntil([&] { return CanCreateIn(m_path); }, std::chrono::seconds(5));
    }
    ImmutableFolder(const ImmutableFolder&) = delete;
    ImmutableFolder& operator=(const ImmutableFolder&) = delete;

    bool Locked() const { return m_locked; }

private:
    bool RunChattr(const std::string& change) const
    {
        using UnixFileName = char*(CDECL*)(LPCWSTR);
        auto toUnix = reinterpret_cast<UnixFileName>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
        wchar_t wide[MAX_PATH] = {};
        MultiByteToWideChar(CP_ACP, 0, m_path.c_str(), -1, wide, MAX_PATH);
        char* unixPath = toUnix ? toUnix(wide) : nullptr;
        if (!unixPath)
            return false;
        std::string command = "Z:\\usr\\bin\\chattr " + change + " " + Quoted(unixPath);
        HeapFree(GetProcessHeap(), 0, unixPath);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info = {};
        if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
            return false;
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        return true;
    }

    std::string m_path;
    bool m_locked = false;
};

class UnwritablePlaces : public ::testing::Test {
protected:
    void SetUp() override
    {
        program.UseStandinEditor();
        WriteBytes(program.HistoryPath(), kHistory);
    }
    // Types "new", confirms, and returns what the stand-in editor recorded.
    std::map<std::string, std::string> ConfirmNew(size_t listed, const std::string& recordPath)
    {
        HWND dialog = OpenDialog(program);
        EXPECT_TRUE(dialog);
        EXPECT_EQ(static_cast<size_t>(SendMessageA(Combo(dialog), CB_GETCOUNT, 0, 0)), listed);
        Confirm("new");
        EXPECT_TRUE(program.Process().WaitForExit());
        EXPECT_TRUE(EditorStarted(recordPath, std::chrono::seconds(10)));
        return ReadStandinRecord(recordPath);
    }

    StagedProgram program;
};

// The program's folder locked, with the stand-in editor's record kept elsewhere.
class FolderThatCannotBeWritten : public UnwritablePlaces {
protected:
    bool Lock()
    {
        SetEnvironmentVariableA("WEXMOOR_STANDIN_RECORD", RecordPath().c_str());
        m_lock = std::make_unique<ImmutableFolder>(program.Folder().Path());
        return m_lock->Locked();
    }
    std::string RecordPath() const { return m_records / "record.txt"; }

private:
    TempFolder m_records;
    std::unique_ptr<ImmutableFolder> m_lock;
};

// Where the program lives: folder and executable names of code page 932 whose
// second bytes are 0x5C, the byte of the path separator.
struct Home {
    const char* name;
    const char* folder;
    const char* exeName;
};

void PrintTo(const Home& home, std::ostream* out)
{
    *out << home.name;
}

const Home kHomes[] = {
    {"FolderEndingIn5C", "表", "Wexmoor.exe"},  // 表 is 0x95 0x5C
    {"NestedFoldersAndExeName", "ソフト\\能力表", "表ソ.exe"},  // ソ 0x83 0x5C, 能 0x94 0x5C
};

class DoubleByteHome : public ::testing::TestWithParam<Home> {};
}  // namespace

TEST_P(BadSettings, HasItsDefinedResult)
{
    const SettingsCase& c = GetParam();
    c.writeSettings(program);
    const std::string settings = ReadBytes(program.IniPath());
    WriteBytes(program.HistoryPath(), kHistory);
    if (c.prompts) {
        program.Start();
        HWND browser = WaitForFolderPrompt(program.Process().Id());
        ASSERT_TRUE(browser);
        PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(program.Process().WaitForExit());
        EXPECT_TRUE(SameBytes(ReadBytes(program.IniPath()), settings));
        EXPECT_EQ(ReadBytes(program.HistoryPath()), kHistory);
        EXPECT_FALSE(FileExists(program.RecordPath()));
        return;
    }
    HWND dialog = OpenDialog(program);
    ASSERT_TRUE(dialog);
    Confirm("new");
    EXPECT_TRUE(program.Process().WaitForExit());
    EXPECT_EQ(ReadBytes(program.HistoryPath()), c.historyAfter);
    EXPECT_EQ(EditorStarted(program.RecordPath(), std::chrono::seconds(c.editorStarts ? 10 : 1)), c.editorStarts);
    EXPECT_TRUE(SameBytes(ReadBytes(program.IniPath()), settings));
}

INSTANTIATE_TEST_SUITE_P(Files, BadSettings, ::testing::ValuesIn(kSettingsCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(BadHistory, HasItsDefinedResult)
{
    const HistoryCase& c = GetParam();
    program.UseStandinEditor();
    WriteBytes(program.HistoryPath(), c.before);
    HWND dialog = OpenDialog(program);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(static_cast<size_t>(SendMessageA(Combo(dialog), CB_GETCOUNT, 0, 0)), c.listed);
    EXPECT_EQ(WindowText(Combo(dialog)), c.shown);
    Confirm(c.typed);
    EXPECT_TRUE(program.Process().WaitForExit(std::chrono::seconds(30)));
    EXPECT_TRUE(SameBytes(ReadBytes(program.HistoryPath()), c.after));
    EXPECT_TRUE(EditorStarted(program.RecordPath(), std::chrono::seconds(10)));
}

INSTANTIATE_TEST_SUITE_P(Files, BadHistory, ::testing::ValuesIn(kHistoryCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Saving fails silently and the editor starts all the same; it finds the old
// first line.
TEST_F(UnwritablePlaces, AReadOnlyHistoryFileIsLeftAsItWas)
{
    SetFileAttributesA(program.HistoryPath().c_str(), FILE_ATTRIBUTE_READONLY);
    auto record = ConfirmNew(3, program.RecordPath());
    EXPECT_EQ(ReadBytes(program.HistoryPath()), kHistory);
    EXPECT_TRUE(GetFileAttributesA(program.HistoryPath().c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(FileExists(TemporaryPathFor(program.HistoryPath())));
    EXPECT_EQ(FromHex(record["history_first_line"]), "one");
}

TEST_F(UnwritablePlaces, AFolderInPlaceOfTheHistoryFileStays)
{
    DeleteFileA(program.HistoryPath().c_str());
    ASSERT_TRUE(CreateDirectoryA(program.HistoryPath().c_str(), nullptr));
    ConfirmNew(0, program.RecordPath());
    EXPECT_TRUE(GetFileAttributesA(program.HistoryPath().c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(FileExists(TemporaryPathFor(program.HistoryPath())));
}

// No temporary file can be made beside the history, so the file is written in place.
TEST_F(FolderThatCannotBeWritten, TheHistoryIsWrittenInPlace)
{
    if (!Lock())
        GTEST_SKIP() << "the immutable flag cannot be set on " << program.Folder().Path();
    auto record = ConfirmNew(3, RecordPath());
    EXPECT_EQ(ReadBytes(program.HistoryPath()), "new\r\n" + kHistory);
    EXPECT_FALSE(FileExists(TemporaryPathFor(program.HistoryPath())));
    EXPECT_EQ(FromHex(record["history_first_line"]), "new");
}

// Without a history file nothing can be saved; the editor starts all the same.
TEST_F(FolderThatCannotBeWritten, NoHistoryFileIsMade)
{
    DeleteFileA(program.HistoryPath().c_str());
    if (!Lock())
        GTEST_SKIP() << "the immutable flag cannot be set on " << program.Folder().Path();
    auto record = ConfirmNew(0, RecordPath());
    EXPECT_FALSE(FileExists(program.HistoryPath()));
    EXPECT_FALSE(FileExists(TemporaryPathFor(program.HistoryPath())));
    EXPECT_EQ(record["history_state"], "missing");
}

TEST_P(DoubleByteHome, SettingsHistoryAndEditorAreFound)
{
    StagedProgram program(GetParam().exeName, GetParam().folder);
    // A length of 2 shows that the settings file beside the executable was read.
    program.UseStandinEditor("history=2\r\n");
    WriteBytes(program.HistoryPath(), kHistory);
    HWND dialog = OpenDialog(program);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(SendMessageA(Combo(dialog), CB_GETCOUNT, 0, 0), 2);
    Confirm("new");
    EXPECT_TRUE(program.Process().WaitForExit());
    EXPECT_EQ(ReadBytes(program.HistoryPath()), "new\r\none\r\n");
    ASSERT_TRUE(EditorStarted(program.RecordPath(), std::chrono::seconds(10)));
    auto record = ReadStandinRecord(program.RecordPath());
    EXPECT_EQ(record["command_line"], Quoted(program.EditorPath()) + " /h /x Wexmoor.imp");
    EXPECT_EQ(FromHex(record["history_first_line"]), "new");
}

INSTANTIATE_TEST_SUITE_P(Names, DoubleByteHome, ::testing::ValuesIn(kHomes),
                         [](const auto& info) { return std::string(info.param.name); });
