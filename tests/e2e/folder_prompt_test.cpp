#include <shlobj.h>

#include <gtest/gtest.h>

#include "tests/e2e/program_driver.h"

namespace {
std::string DesktopFolder()
{
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, path);
    return path;
}
}  // namespace

TEST(FolderPrompt, CancellingEndsTheProgramWithNothingWritten)
{
    StagedProgram program;
    program.WriteSettings("[config]\r\nhidemaru=\r\n");
    program.Start();
    HWND browser = WaitForFolderPrompt(program.Process().Id());
    ASSERT_TRUE(browser);
    EXPECT_EQ(GetWindow(browser, GW_OWNER), nullptr);
    SaveScreenshot(browser, "folder-prompt");
    FocusForTyping(browser);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(program.Process().WaitForExit());
    EXPECT_EQ(ReadBytes(program.IniPath()), "[config]\r\nhidemaru=\r\n");
    EXPECT_FALSE(FileExists(program.HistoryPath()));
}

TEST(FolderPrompt, AChoiceIsStoredWithTheEditorsFileNameAndTheDialogOpens)
{
    StagedProgram program;
    // A folder instead of a file also counts as no editor.
    program.WriteSettings("[config]\r\nhidemaru=" + program.Folder().Path() + "\r\n");
    program.Start();
    HWND browser = WaitForFolderPrompt(program.Process().Id());
    ASSERT_TRUE(browser);
    FocusForTyping(browser);
    PressKey(VK_RETURN);  // the browser starts on the desktop folder
    HWND dialog = WaitForProcessWindow(program.Process().Id(), "Wexmoor");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(ReadBytes(program.IniPath()),
              "[config]\r\nhidemaru=" + DesktopFolder() + "\\Hidemaru.exe\r\n");
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(program.Process().WaitForExit());
}

TEST(FolderPrompt, NoSettingsFileAndNoEditorAtTheDefaultPlacePrompts)
{
    StagedProgram program;
    program.Start();
    HWND browser = WaitForFolderPrompt(program.Process().Id());
    ASSERT_TRUE(browser);
    PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(program.Process().WaitForExit());
    EXPECT_FALSE(FileExists(program.IniPath()));
}
