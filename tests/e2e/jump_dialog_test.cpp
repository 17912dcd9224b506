// The jump dialog of the real executable, driven with real keys: what it lists
// and preselects for a history file, what a screen reader calls its field, and
// what the history file and the editor hold after the user's keys.
#include <gtest/gtest.h>

#include <numeric>

#include "tests/support/harness.h"

namespace {
const std::string kTwelve = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n";
const std::string kEveryByte = [] {
    std::string bytes(256, '\0');
    std::iota(bytes.begin(), bytes.end(), '\0');
    return bytes;
}();
const std::string kWithNul("a\0b\r\nc\r\n", 8);
const std::wstring kLong = L"C:\\src\\project\\module\\subfolder\\another\\a_file_with_a_long_name.cpp";
// Characters that code page 932 cannot hold, typed after "Zo". Kept out of
// the assertions, whose text is compiled in code page 932.
const std::wstring kOutside = L"Zoë한ë\n";
const std::wstring kOutsideRefused =
    L"この入力は履歴ファイルに保存できません。\n\nZoë한ë\nこの PC で Unicode 対応ではないプログラムが使う文字コード"
    L"（Shift_JIS）で表せない文字があります: ë 한\n\n入力を直してから、もう一度 OK を押してください。";

// Keys end in Enter (confirm: the editor starts), Escape or Alt+F4 (the close
// box's road: nothing may change). They go over the preselected entry. An
// input that the code page cannot hold is told and stays for correction;
// then Escape.
struct Case {
    const char* name;
    std::string settings;  // extra lines of [config]
    std::string before;    // the history file
    size_t count;          // entries listed
    std::string shown;     // preselected in the field
    std::wstring keys;
    std::string after;     // the history file afterwards
    const wchar_t* exeName = L"Wexmoor.exe";
    const wchar_t* folder = L"";
    UINT codePage = 0;  // the ANSI code page the row needs, 0 for any
    const wchar_t* refused = nullptr;  // the box that tells the input cannot be saved
};

const Case kCases[] = {
    // The extended interface opens the list with the down key, on the current
    // entry; the list keeps the file's order though the combo box sorts.
    {"ChosenEntryMovesToTheFront", "", "one\r\ntwo\r\nthree\r\n", 3, "one", L"\x01\x01\x01\n\n",
     "three\r\none\r\ntwo\r\n"},
    {"CloseBoxChangesNothing", "", "keep\r\n", 1, "keep", L"typed\x04", "keep\r\n"},
    {"EmptyInputIsSavedAsABlankFirstLine", "", "old\r\n", 1, "old", L"\x7F\n", "\r\nold\r\n"},
    {"TenEntriesByDefault", "", kTwelve, 10, "1", L"new\n", "new\r\n" + kTwelve.substr(0, kTwelve.find("10"))},
    {"NegativeLengthListsNothingAndSavesOnlyTheInput", "history=-1\r\n", "a\r\nb\r\n", 0, "", L"y\n", "y\r\n"},
    // Every byte value: NUL, 0x1A and a lone CR stay inside their entries, and a
    // line feed alone ends a line as CR LF does.
    {"EveryByteIsKept", "", kEveryByte + "\r\ntail", 3, "", L"new\n",
     "new\r\n" + kEveryByte.substr(0, 10) + "\r\n" + kEveryByte.substr(11) + "\r\ntail\r\n"},
    // The field shows the entry up to its NUL; confirmed, that goes in front and
    // the entry as it was stays behind it.
    {"EntryWithNulConfirmedAsShown", "", kWithNul, 2, "a", L"\n", "a\r\n" + kWithNul},
    // Second bytes of 0x5C (ソ 表 能), and a character code page 932 lacks,
    // which an ANSI path gives as a look-alike (Zoë as Zoe), naming no file or
    // another copy's.
    {"RenamedCopyInAFolderOfAnyName", "history=2\r\n", "one\r\ntwo\r\nthree\r\n", 2, "one", L"new\n",
     "new\r\none\r\n", L"表ソ.exe", L"能力表\\Zoë"},
    // Settings, written in the ANSI code page as the system writes them, that
    // name an editor in a Japanese folder. Run again in a process whose code
    // page is UTF-8, as Windows can be set to use, and so is the program.
    {"JapaneseFoldersInAnyAnsiCodePage", "", "one\r\n", 1, "one", L"new\n", "new\r\none\r\n", L"Wexmoor.exe", L"能力表"},
    // Shift+Delete on an entry highlighted in the open list removes it, for
    // the next OK to save; Escape closes the list.
    {"ShiftDeleteRemovesAnEntryWithTheNextOK", "", "one\r\ntwo\r\nthree\r\n", 3, "one", L"\x01\x01\x03\x1Bnew\n",
     "new\r\none\r\nthree\r\n"},
    {"ShiftDeleteThenCancelChangesNothing", "", "one\r\ntwo\r\n", 2, "one", L"\x01\x03\x1B\x1B", "one\r\ntwo\r\n"},
    // Longer than the field is wide.
    {"ALongTargetIsTakenWhole", "", "", 0, "", kLong + L"\n", Ansi(kLong) + "\r\n"},
    // A character that the ANSI code page cannot hold would reach the editor
    // as a look-alike or '?'. Where the code page is UTF-8, every one fits.
    {"CharactersOutsideTheCodePageAreToldAndKept", "", "old\r\n", 1, "old", kOutside, "old\r\n", L"Wexmoor.exe",
     L"", 932, kOutsideRefused.c_str()},
    {"AnyCharacterIsSavedInUtf8", "", "old\r\n", 1, "old", kOutside, "Zo\xC3\xAB\xED\x95\x9C\xC3\xAB\r\nold\r\n",
     L"Wexmoor.exe", L"", CP_UTF8},
};

class JumpDialog : public ::testing::TestWithParam<Case> {};

}  // namespace

TEST_P(JumpDialog, ShowsTheHistoryAndSavesWhatTheUserConfirms)
{
    const Case& c = GetParam();
    if (c.codePage && GetACP() != c.codePage)
        GTEST_SKIP() << "for code page " << c.codePage;
    StagedProgram program(c.exeName, c.folder);
    program.UseStandinEditor(c.settings);
    WriteBytes(program.HistoryPath(), c.before);
    HWND dialog = program.OpenDialog();
    ASSERT_TRUE(dialog);
    HWND combo = GetDlgItem(dialog, 1000);
    EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(c.count));
    EXPECT_EQ(WindowText(combo), Wide(c.shown));
    EXPECT_TRUE(SendMessageA(combo, CB_GETEXTENDEDUI, 0, 0));
    EXPECT_EQ(ReadAccessible(combo).name, L"ジャンプ先");
    EXPECT_EQ(ReadAccessible(FindWindowExA(combo, nullptr, "Edit", nullptr)).name, L"ジャンプ先");
    TypeText(c.keys);
    if (c.refused) {
        EXPECT_TRUE(Answer(WaitForProcessWindow(program.Process().Id(), L"Wexmoor", c.refused)));
        EXPECT_EQ(WindowText(combo) + L"\n", c.keys);
        FocusForTyping(dialog);
        TypeText(L"\x1B");
    }
    EXPECT_TRUE(program.Process().WaitForExit(30s));
    EXPECT_TRUE(ReadBytes(program.HistoryPath()) == c.after) << "history file differs";
    const bool confirmed = c.keys.back() == '\n' && !c.refused;
    auto record = StandinRecord(program.RecordPath());
    ASSERT_EQ(record.empty(), !confirmed);
    if (confirmed) {
        EXPECT_EQ(record["command_line"], Ansi(Quoted(program.EditorPath())) + " /h /x Wexmoor.imp");
        EXPECT_EQ(record["flags"] + "," + record["show_window"], "1,6");  // STARTF_USESHOWWINDOW, SW_MINIMIZE
        EXPECT_EQ(record["history_first_line"], c.after.substr(0, c.after.find("\r\n")));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, JumpDialog, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The code page the run is meant for: 932, or UTF-8 in the run that asks for
// it (WEXMOOR_ANSI_CODE_PAGE), which must not fall back to 932 unseen.
TEST(TestBed, RunsInTheAnsiCodePageAskedFor)
{
    const char* asked = std::getenv("WEXMOOR_ANSI_CODE_PAGE");
    EXPECT_EQ(GetACP(), asked ? static_cast<UINT>(std::atoi(asked)) : 932u);
}
