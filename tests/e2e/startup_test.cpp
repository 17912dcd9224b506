// Start-up of the real executable: the folder prompt for a missing editor, one
// test per way through it, and the hand-off to a running instance.
#include <gtest/gtest.h>

#include "tests/support/harness.h"

namespace {
const wchar_t kPromptTitle[] = L"秀丸エディタの場所を指定してください。";
const wchar_t kChooseAgain[] = L"\n\n秀丸エディタのあるフォルダーを選び直してください。";

// The program in a folder whose name code page 932 cannot write, with an old
// history. The folder browser starts on the desktop, where an editor waits.
struct Prompted {
    StagedProgram program{L"Wexmoor.exe", L"한글"};
    DesktopEditor desktopEditor{program.EditorPath()};
    DWORD pid = 0;

    // settings: the settings file's bytes, nullptr for none.
    explicit Prompted(const char* settings)
    {
        if (settings)
            WriteBytes(program.IniPath(), settings);
        WriteBytes(program.HistoryPath(), "old\r\n");
    }
    void Start() { pid = program.Start().Id(); }
    HWND Browser() const { return WaitForProcessWindow(pid, nullptr, kPromptTitle); }
    void Confirm(const std::wstring& input) const { TypeInto(WaitForProcessWindow(pid, L"Wexmoor"), input); }
    std::string DesktopCommandLine() const { return Ansi(Quoted(desktopEditor.path)) + " /h /x Wexmoor.imp"; }

    // What the program left once it has ended.
    void ExpectLeft(const std::string& settings, const std::string& history, const std::string& commandLine)
    {
        EXPECT_TRUE(program.Process().WaitForExit());
        EXPECT_EQ(ReadBytes(program.IniPath()), settings);
        EXPECT_EQ(ReadBytes(program.HistoryPath()), history);
        EXPECT_EQ(StandinRecord(program.RecordPath())["command_line"], commandLine);
    }
};
}  // namespace

TEST(FolderPrompt, CancelledWritesNothingAndASecondStartMeanwhileEnds)
{
    Prompted prompted(nullptr);
    prompted.Start();
    HWND browser = prompted.Browser();
    ASSERT_TRUE(browser);
    EXPECT_EQ(GetWindow(browser, GW_OWNER), nullptr);
    EXPECT_TRUE(prompted.program.StartAnother()->WaitForExit());
    EXPECT_TRUE(IsWindowVisible(browser));
    TypeInto(browser, L"\x1B");
    prompted.ExpectLeft("", "old\r\n", "");
}

// The editor's name is added to the folder chosen, and that editor starts.
TEST(FolderPrompt, AFolderNamedAsTheEditorIsAskedForAndTheAnswerStored)
{
    Prompted prompted("[config]\r\nhidemaru=C:\\windows\r\n");
    prompted.Start();
    TypeInto(prompted.Browser(), L"\n");
    prompted.Confirm(L"new\n");
    prompted.ExpectLeft("[config]\r\nhidemaru=" + Ansi(prompted.desktopEditor.path) + "\r\n", "new\r\nold\r\n",
                        prompted.DesktopCommandLine());
}

// An answer that cannot be stored is told and used for this start.
TEST(FolderPrompt, SettingsWithAFolderInTheirPlaceAreToldSo)
{
    Prompted prompted(nullptr);
    CreateDirectoryW(prompted.program.IniPath().c_str(), nullptr);
    prompted.Start();
    TypeInto(prompted.Browser(), L"\n");
    EXPECT_TRUE(Answer(WaitForFailureBox(prompted.pid, prompted.program.IniPath(), ERROR_ACCESS_DENIED,
                                         L"次回までに、設定ファイルと同じ名前のフォルダーの名前を変えるか")));
    prompted.Confirm(L"new\n");
    prompted.ExpectLeft("", "new\r\nold\r\n", prompted.DesktopCommandLine());
}

TEST(FolderPrompt, AReadOnlySettingsFileIsToldAsSuch)
{
    const std::string settings = "[config]\r\nhidemaru=C:\\missing\\Hidemaru.exe\r\n";
    Prompted prompted(settings.c_str());
    const std::wstring ini = prompted.program.IniPath();
    SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY);
    const ScopeExit writable{[&] { SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL); }};
    prompted.Start();
    TypeInto(prompted.Browser(), L"\n");
    EXPECT_TRUE(Answer(WaitForFailureBox(prompted.pid, ini, ERROR_FILE_READ_ONLY,
                                         L"次回までに、設定ファイルのプロパティで「読み取り専用」のチェックを外して")));
    prompted.Confirm(L"new\n");
    prompted.ExpectLeft(settings, "new\r\nold\r\n", prompted.DesktopCommandLine());
}

// A file matching a pattern counts as the editor, and cannot be started.
TEST(FolderPrompt, AWildcardMatchingAFileIsTakenAsTheEditorWithoutAsking)
{
    const std::string settings = "[config]\r\nhidemaru=C:\\windows\\notepad.ex?\r\n";
    Prompted prompted(settings.c_str());
    prompted.Start();
    prompted.Confirm(L"new\n");
    EXPECT_TRUE(Answer(WaitForFailureBox(prompted.pid, L"C:\\windows\\notepad.ex?", ERROR_FILE_NOT_FOUND,
                                         L"秀丸エディタがこの場所にあるか確かめてください。")));
    prompted.ExpectLeft(settings, "new\r\nold\r\n", "");
}

// Each choice that cannot be stored is told, with what was chosen, and the
// browser comes again: an item with no path (a network server, which the
// browser lets the user choose; here a virtual folder, chosen as the OK
// button would), a folder that code page 932 cannot write, and one too long
// for the settings once the editor's name is added.
TEST(FolderPrompt, ChoicesThatCannotBeStoredAreToldAndAskedAgain)
{
    Prompted prompted(nullptr);
    const std::wstring computer = L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
    SHFILEINFOW computerItem = {};
    ASSERT_TRUE(SHGetFileInfoW(computer.c_str(), 0, &computerItem, sizeof computerItem, SHGFI_DISPLAYNAME));
    const std::wstring root = prompted.program.Folder().Root();
    const std::wstring tooLong = root + L"\\" + std::wstring(100, L'a') + L"\\" + std::wstring(148 - root.size(), L'b');
    SHCreateDirectoryExW(nullptr, tooLong.c_str(), nullptr);
    const std::wstring kNotStored = L"選んだフォルダーは設定ファイルに保存できません。\n\n";
    const struct {
        std::wstring choice, box;
    } choices[] = {
        {computer, L"選んだ項目は、フォルダーとして使えません。\n\n" + std::wstring(computerItem.szDisplayName) +
                       L"\nWindows がこの項目のパスを返しませんでした。ファイル システム上のフォルダーでないか、"
                       L"パスが長すぎます（260 文字以上）。" + kChooseAgain},
        {prompted.program.Folder().Path(),
         kNotStored + prompted.program.Folder().Path() + L"\nこのパスには、この PC で Unicode 対応ではないプログラムが"
                                                         L"使う文字コード（Shift_JIS）で表せない文字があります: 한 글" + kChooseAgain},
        {tooLong, kNotStored + tooLong + L"\nこのパスは長すぎます。" },
    };
    prompted.Start();
    for (const auto& choice : choices) {
        HWND browser = prompted.Browser();
        ASSERT_TRUE(browser);
        SelectInBrowser(prompted.program.Process().Handle(), browser, choice.choice);
        PostMessageW(browser, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(Answer(WaitForProcessWindow(prompted.pid, nullptr, choice.box))) << Ansi(choice.box);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(browser); }));
    }
    TypeInto(prompted.Browser(), L"\x1B");
    prompted.ExpectLeft("", "old\r\n", "");
}

// A second start, here of a copy under another name, ends at once and brings
// the running dialog to the front, from behind another window, minimised, or
// with its version box, which then takes the keyboard.
TEST(SingleInstance, ASecondStartBringsTheDialogForwardAndEnds)
{
    StagedProgram program;
    program.UseStandinEditor();
    HWND dialog = program.OpenDialog();
    ASSERT_TRUE(dialog);
    for (const std::string situation : {"behind another window", "minimised", "with its version box"}) {
        const bool withBox = situation == "with its version box";
        // The user's last window, which has to come forward and take the keyboard.
        if (withBox)
            PostMessageA(dialog, WM_SYSCOMMAND, 0x0010, 0);
        HWND box = withBox ? WaitForProcessWindow(program.Process().Id(), L"バージョン情報") : nullptr;
        ASSERT_EQ(box != nullptr, withBox);
        HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                     nullptr, nullptr);
        FocusForTyping(other);
        const bool minimised = situation == "minimised";
        if (minimised)
            PostMessageA(dialog, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(WaitUntil([&] { return IsIconic(dialog) == minimised; }));
        StagedProgram copy(L"Other.exe");
        copy.UseStandinEditor();
        copy.Start();
        EXPECT_TRUE(copy.Process().WaitForExit());
        EXPECT_EQ(copy.Process().ExitCode(), 0u);
        // With no window manager the foreground window may read as none, and
        // the keyboard then reaches no window, so "in front" is judged by the
        // dialog, or its box, being its thread's active window.
        GUITHREADINFO thread = {sizeof thread};
        EXPECT_TRUE(WaitUntil([&] {
            return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread) &&
                   thread.hwndActive == (box ? box : dialog) && !IsIconic(dialog) && GetForegroundWindow() != other;
        })) << situation;
        PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
        DestroyWindow(other);
    }
    // The dialog refuses the activation request, so a broadcast goes no further.
    const UINT activate = RegisterWindowMessageA("Wexmoor - Halvergrim");
    EXPECT_EQ(SendMessageA(dialog, activate, 0, 0), BROADCAST_QUERY_DENY);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(program.Process().WaitForExit());
}
