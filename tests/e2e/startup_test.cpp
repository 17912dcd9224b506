// Start-up of the real executable: the folder prompt for a missing editor, the
// hand-off to a running instance, and the manifest it starts with.
#include <gtest/gtest.h>

#include "tests/support/harness.h"

namespace {
// The settings file (nullptr: none) and the keys that answer the folder prompt
// ("": no prompt may come). Unless the prompt is cancelled, the dialog opens.
struct PromptCase {
    const char* name;
    const char* settings;
    const char* answer;
};

// The browser starts on the desktop folder, and an editor waits there.
const PromptCase kPromptCases[] = {
    {"NoSettingsFileAndCancelled", nullptr, "\x1B"},
    // The editor's name is added to the folder chosen, and that editor starts.
    {"FolderAsEditorAndAnswered", "[config]\r\nhidemaru=C:\\windows\r\n", "\n"},
    // A file matching a pattern counts as the editor (starting a pattern then
    // fails silently).
    {"WildcardMatchingAFile", "[config]\r\nhidemaru=C:\\windows\\notepad.ex?\r\n", ""},
};

class FolderPrompt : public ::testing::TestWithParam<PromptCase> {};
}  // namespace

TEST_P(FolderPrompt, AsksForTheEditorsFolderOnlyWhenTheEditorIsMissing)
{
    const PromptCase& c = GetParam();
    StagedProgram program;
    char desktop[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop);
    const std::string desktopEditor = std::string(desktop) + "\\Hidemaru.exe";
    CopyFileA(program.EditorPath().c_str(), desktopEditor.c_str(), FALSE);
    std::string settings = c.settings ? c.settings : "";
    if (c.settings)
        WriteBytes(program.IniPath(), settings);
    WriteBytes(program.HistoryPath(), "old\r\n");
    program.Start();
    const bool opens = *c.answer != '\x1B';
    if (*c.answer) {
        HWND browser = WaitForProcessWindow(program.Process().Id(), nullptr);
        ASSERT_TRUE(browser);
        EXPECT_EQ(GetWindow(browser, GW_OWNER), nullptr);
        // A second start meanwhile ends at once, and the prompt stays.
        EXPECT_TRUE(program.StartAnother()->WaitForExit());
        EXPECT_TRUE(IsWindowVisible(browser));
        FocusForTyping(browser);
        TypeText(c.answer);
    }
    if (opens) {
        ASSERT_TRUE(WaitForProcessWindow(program.Process().Id(), "Wexmoor"));
        TypeText("new\n");
    }
    EXPECT_TRUE(program.Process().WaitForExit());
    const bool answered = *c.answer == '\n';
    if (answered)
        settings = "[config]\r\nhidemaru=" + desktopEditor + "\r\n";
    EXPECT_EQ(ReadBytes(program.IniPath()), settings);
    EXPECT_EQ(ReadBytes(program.HistoryPath()), opens ? "new\r\nold\r\n" : "old\r\n");
    EXPECT_EQ(StandinRecord(program.RecordPath())["command_line"],
              answered ? Quoted(desktopEditor) + " /h /x Wexmoor.imp" : "");
    DeleteFileA(desktopEditor.c_str());
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
        HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                     nullptr, nullptr);
        FocusForTyping(other);
        HWND box = nullptr;
        if (situation == "with its version box") {
            // The user's last window, which has to keep the keyboard.
            PostMessageA(dialog, WM_SYSCOMMAND, 0x0010, 0);
            ASSERT_TRUE(box = WaitForProcessWindow(program.Process().Id(), "バージョン情報"));
            FocusForTyping(box);
        }
        const bool minimised = situation == "minimised";
        if (minimised)
            PostMessageA(dialog, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(WaitUntil([&] { return IsIconic(dialog) == minimised; }));
        StagedProgram copy("Other.exe");
        copy.UseStandinEditor();
        copy.Start();
        EXPECT_TRUE(copy.Process().WaitForExit());
        EXPECT_EQ(copy.Process().ExitCode(), 0u);
        if (box)
            TypeText("\x1B");
        // With no window manager the foreground window may read as none, so "in
        // front" is judged by the dialog being its thread's active window.
        GUITHREADINFO thread = {sizeof thread};
        EXPECT_TRUE(WaitUntil([&] {
            return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread) && thread.hwndActive == dialog &&
                   !IsIconic(dialog) && GetForegroundWindow() != other && !IsWindow(box);
        })) << situation;
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
    std::vector<StartedProcess*> running;
    ASSERT_TRUE(WaitUntil([&] {
        running.clear();
        for (auto& start : starts)
            if (!start->WaitForExit(0ms))
                running.push_back(start.get());
        return running.size() == 1;
    }, 60s));
    for (auto& start : starts)
        EXPECT_TRUE(start.get() == running.front() || start->ExitCode() == 0);
    HWND dialog = WaitForProcessWindow(running.front()->Id(), "Wexmoor");
    EXPECT_EQ(ProcessWindows(running.front()->Id()), std::vector<HWND>{dialog});
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(running.front()->WaitForExit());
}

// Laid out once for the screen's DPI, and with the common controls' current look.
TEST(Manifest, AsksForSystemDpiAwarenessAndCommonControlsSix)
{
    HMODULE exe = LoadLibraryExA(BuildTreePath("Wexmoor.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = FindResourceA(exe, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    const std::string text(static_cast<const char*>(LockResource(LoadResource(exe, found))),
                           SizeofResource(exe, found));
    for (const char* wanted : {"WindowsSettings\">system</dpiAwareness>", "WindowsSettings\">true</dpiAware>",
                               "\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""})
        EXPECT_NE(text.find(wanted), std::string::npos) << wanted;
}
