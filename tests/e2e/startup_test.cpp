// Start-up of the real executable: the folder prompt for a missing editor, and
// the hand-off to a running instance.
#include <gtest/gtest.h>

#include "tests/support/harness.h"

namespace {
// The editor's path in the settings file (nullptr: no settings file) and the
// keys that answer the folder prompt ("": no prompt may come). Unless the
// prompt is cancelled, the dialog opens and "new" is confirmed. What cannot
// be done is told in a message box that names the file: the settings file
// (a folder stands in its place) once the prompt is answered, or the editor
// once the history is saved.
enum class Reported { Nothing, SettingsFile, Editor };

struct PromptCase {
    const char* name;
    const char* editor;
    const char* answer;
    Reported reported = Reported::Nothing;
};

// The browser starts on the desktop folder, and an editor waits there.
const PromptCase kPromptCases[] = {
    {"NoSettingsFileAndCancelled", nullptr, "\x1B"},
    // The editor's name is added to the folder chosen, and that editor starts.
    {"FolderAsEditorAndAnswered", "C:\\windows", "\n"},
    // An answer that cannot be stored is still used.
    {"SettingsThatCannotBeWritten", nullptr, "\n", Reported::SettingsFile},
    // A file matching a pattern counts as the editor, and cannot be started.
    {"WildcardMatchingAFile", "C:\\windows\\notepad.ex?", "", Reported::Editor},
};

class FolderPrompt : public ::testing::TestWithParam<PromptCase> {};
}  // namespace

TEST_P(FolderPrompt, AsksForTheEditorsFolderOnlyWhenTheEditorIsMissing)
{
    const PromptCase& c = GetParam();
    // In a folder whose name code page 932 cannot write.
    StagedProgram program(L"Wexmoor.exe", L"한글");
    wchar_t desktop[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop);
    const std::wstring desktopEditor = std::wstring(desktop) + L"\\Hidemaru.exe";
    CopyFileW(program.EditorPath().c_str(), desktopEditor.c_str(), FALSE);
    const ScopeExit removeDesktopEditor{[&] { DeleteFileW(desktopEditor.c_str()); }};
    std::string settings = c.editor ? "[config]\r\nhidemaru=" + std::string(c.editor) + "\r\n" : "";
    if (c.editor)
        WriteBytes(program.IniPath(), settings);
    if (c.reported == Reported::SettingsFile)
        CreateDirectoryW(program.IniPath().c_str(), nullptr);
    WriteBytes(program.HistoryPath(), "old\r\n");
    const DWORD pid = program.Start().Id();
    const bool opens = *c.answer != '\x1B';
    if (*c.answer) {
        HWND browser = WaitForProcessWindow(pid, nullptr, "秀丸エディタの場所を指定してください。");
        ASSERT_TRUE(browser);
        EXPECT_EQ(GetWindow(browser, GW_OWNER), nullptr);
        // A second start meanwhile ends at once, and the prompt stays.
        EXPECT_TRUE(program.StartAnother()->WaitForExit());
        EXPECT_TRUE(IsWindowVisible(browser));
        FocusForTyping(browser);
        TypeText(c.answer);
    }
    EXPECT_TRUE(c.reported != Reported::SettingsFile || Answer(WaitForFailureBox(pid, program.IniPath(), ERROR_ACCESS_DENIED)));
    if (opens) {
        ASSERT_TRUE(WaitForProcessWindow(pid, "Wexmoor"));
        TypeText("new\n");
    }
    EXPECT_TRUE(c.reported != Reported::Editor || Answer(WaitForFailureBox(pid, Wide(c.editor), ERROR_FILE_NOT_FOUND)));
    EXPECT_TRUE(program.Process().WaitForExit());
    const bool answered = *c.answer == '\n';
    if (answered && c.reported == Reported::Nothing)
        settings = "[config]\r\nhidemaru=" + Ansi(desktopEditor) + "\r\n";
    EXPECT_EQ(ReadBytes(program.IniPath()), settings);
    EXPECT_EQ(ReadBytes(program.HistoryPath()), opens ? "new\r\nold\r\n" : "old\r\n");
    EXPECT_EQ(StandinRecord(program.RecordPath())["command_line"],
              answered ? Ansi(Quoted(desktopEditor)) + " /h /x Wexmoor.imp" : "");
}

INSTANTIATE_TEST_SUITE_P(Rows, FolderPrompt, ::testing::ValuesIn(kPromptCases),
                         [](const auto& info) { return std::string(info.param.name); });

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
        HWND box = nullptr;
        // The user's last window, which has to come forward and take the keyboard.
        if (situation == "with its version box") {
            PostMessageA(dialog, WM_SYSCOMMAND, 0x0010, 0);
            ASSERT_TRUE(box = WaitForProcessWindow(program.Process().Id(), "バージョン情報"));
        }
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

TEST(SingleInstance, TwentyStartsAtOnceLeaveOneDialogAndTheOthersExitCleanly)
{
    StagedProgram program;
    program.UseStandinEditor();
    std::vector<std::unique_ptr<StartedProcess>> starts;
    for (int i = 0; i < 20; ++i)
        starts.push_back(program.StartAnother());
    StartedProcess* running = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        int left = 0;
        for (auto& start : starts)
            left += start->ExitCode() == STILL_ACTIVE && (running = start.get());
        return left == 1;
    }, 60s));
    for (auto& start : starts)
        EXPECT_TRUE(start.get() == running || start->ExitCode() == 0);
    HWND dialog = WaitForProcessWindow(running->Id(), "Wexmoor");
    EXPECT_EQ(ProcessWindows(running->Id()), std::vector<HWND>{dialog});
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(running->WaitForExit());
}
