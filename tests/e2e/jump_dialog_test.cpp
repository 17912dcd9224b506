#include <shlobj.h>

#include <gtest/gtest.h>

#include "tests/e2e/program_driver.h"

namespace {
const char kCaption[] = "Wexmoor";

class JumpDialog : public ::testing::Test {
protected:
    // Starts the program and waits for its dialog, ready for typing.
    HWND Open()
    {
        program.Start();
        HWND dialog = WaitForProcessWindow(program.Process().Id(), kCaption);
        if (dialog)
            FocusForTyping(dialog);
        return dialog;
    }
    HWND Combo(HWND dialog) const { return GetDlgItem(dialog, 1000); }
    HWND ComboEdit(HWND dialog) const { return FindWindowExA(Combo(dialog), nullptr, "Edit", nullptr); }

    void ExpectClosedWithoutLaunch(const std::string& history)
    {
        EXPECT_TRUE(program.Process().WaitForExit());
        EXPECT_EQ(ReadBytes(program.HistoryPath()), history);
        EXPECT_FALSE(FileExists(program.RecordPath()));
    }
    std::map<std::string, std::string> WaitForEditor()
    {
        EXPECT_TRUE(program.Process().WaitForExit());
        auto record = WaitForStandinRecord(program.RecordPath());
        EXPECT_FALSE(record.empty()) << "the editor did not start";
        return record;
    }

    StagedProgram program;
};
}  // namespace

TEST_F(JumpDialog, ShowsTheHistoryInFileOrderWithTheNewestPreselected)
{
    program.UseStandinEditor();
    WriteBytes(program.HistoryPath(), "zeta\r\n\r\nalpha\r\nmiddle\r\n");
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(WindowText(Combo(dialog)), "zeta");
    EXPECT_EQ(ComboListItems(Combo(dialog)), (std::vector<std::string>{"zeta", "alpha", "middle"}));
    EXPECT_TRUE(SendMessageA(Combo(dialog), CB_GETEXTENDEDUI, 0, 0));
    DWORD start = 1, end = 0;
    SendMessageA(Combo(dialog), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 4u);
    SaveScreenshot(dialog, "jump-dialog");
    PressKey(VK_ESCAPE);
    ExpectClosedWithoutLaunch("zeta\r\n\r\nalpha\r\nmiddle\r\n");
}

TEST_F(JumpDialog, TypingATargetAndEnterSavesTheHistoryThenStartsTheEditor)
{
    program.UseStandinEditor();
    WriteBytes(program.HistoryPath(), "old\r\nolder\r\n");
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    TypeText("Main.cpp:42");  // replaces the selected newest entry
    PressKey(VK_RETURN);
    auto record = WaitForEditor();
    EXPECT_EQ(ReadBytes(program.HistoryPath()), "Main.cpp:42\r\nold\r\nolder\r\n");
    EXPECT_EQ(record["command_line"], Quoted(program.EditorPath()) + " /h /x Wexmoor.imp");
    EXPECT_EQ(record["flags"], std::to_string(STARTF_USESHOWWINDOW));
    EXPECT_EQ(record["show_window"], std::to_string(SW_MINIMIZE));
    EXPECT_EQ(FromHex(record["history_first_line"]), "Main.cpp:42");
}

TEST_F(JumpDialog, ChoosingFromTheListMovesTheEntryToTheFront)
{
    program.UseStandinEditor();
    WriteBytes(program.HistoryPath(), "one\r\ntwo\r\nthree\r\n");
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    PressKey(VK_DOWN);  // extended UI: opens the list on the current entry
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(Combo(dialog), CB_GETDROPPEDSTATE, 0, 0) != 0; }));
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);  // closes the list with "three" chosen
    ASSERT_TRUE(WaitUntil([&] { return WindowText(Combo(dialog)) == "three"; }));
    PressKey(VK_RETURN);
    auto record = WaitForEditor();
    EXPECT_EQ(ReadBytes(program.HistoryPath()), "three\r\none\r\ntwo\r\n");
    EXPECT_EQ(FromHex(record["history_first_line"]), "three");
}

TEST_F(JumpDialog, EscapeCancelAndTheCloseBoxChangeNothing)
{
    program.UseStandinEditor();
    const std::string history = "keep\r\nthis\r\n";
    WriteBytes(program.HistoryPath(), history);
    for (int way = 0; way < 3; ++way) {
        HWND dialog = Open();
        ASSERT_TRUE(dialog);
        TypeText("typed");
        if (way == 0)
            PressKey(VK_ESCAPE);
        else if (way == 1)
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        else
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        ExpectClosedWithoutLaunch(history);
    }
}

TEST_F(JumpDialog, AnEmptyInputIsSavedAndLaunchedAndSkippedNextTime)
{
    program.UseStandinEditor();
    WriteBytes(program.HistoryPath(), "old\r\n");
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    PressKey(VK_DELETE);  // clears the selected text
    PressKey(VK_RETURN);
    auto record = WaitForEditor();
    EXPECT_EQ(ReadBytes(program.HistoryPath()), "\r\nold\r\n");
    EXPECT_EQ(record["history_state"], "present");
    EXPECT_EQ(record["history_first_line"], "");

    DeleteFileA(program.RecordPath().c_str());
    dialog = Open();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(WindowText(Combo(dialog)), "old");
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(program.Process().WaitForExit());
}

TEST_F(JumpDialog, HistoryLengthZeroAndNegative)
{
    WriteBytes(program.HistoryPath(), "a\r\nb\r\n");
    program.UseStandinEditor("history=0\r\n");
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(WindowText(Combo(dialog)), "");
    EXPECT_TRUE(ComboListItems(Combo(dialog)).empty());
    TypeText("x");
    PressKey(VK_RETURN);
    WaitForEditor();
    EXPECT_EQ(ReadBytes(program.HistoryPath()), "");

    DeleteFileA(program.RecordPath().c_str());
    WriteBytes(program.HistoryPath(), "a\r\nb\r\n");
    program.UseStandinEditor("history=-1\r\n");
    dialog = Open();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(ComboListItems(Combo(dialog)).empty());
    TypeText("y");
    PressKey(VK_RETURN);
    WaitForEditor();
    EXPECT_EQ(ReadBytes(program.HistoryPath()), "y\r\n");
}

TEST(RenamedCopy, KeepsItsOwnSettingsAndHistory)
{
    StagedProgram program("Other.exe");
    program.UseStandinEditor();
    program.Start();
    HWND dialog = WaitForProcessWindow(program.Process().Id(), kCaption);
    ASSERT_TRUE(dialog);
    FocusForTyping(dialog);
    TypeText("other");
    PressKey(VK_RETURN);
    EXPECT_TRUE(program.Process().WaitForExit());
    EXPECT_EQ(ReadBytes(program.Folder() / "Other.log"), "other\r\n");
    EXPECT_FALSE(FileExists(program.Folder() / "Wexmoor.log"));
    EXPECT_FALSE(WaitForStandinRecord(program.RecordPath()).empty());
}
