#include <gtest/gtest.h>

#include "tests/e2e/program_driver.h"

namespace {
const char kCaption[] = "Wexmoor";

// With no window manager the foreground window may read as none, so "in front"
// is judged by the dialog being its thread's active window while the window
// that was in front before has lost that place.
bool IsActiveInItsThread(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndActive == window;
}

// A window of the test's own that takes the foreground away from the dialog.
class ForegroundThief {
public:
    ForegroundThief()
    {
        m_window = CreateWindowExA(0, "STATIC", "thief", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
        SetForegroundWindow(m_window);
        WaitUntil([&] { return GetForegroundWindow() == m_window; }, std::chrono::seconds(2));
    }
    ~ForegroundThief() { DestroyWindow(m_window); }
    HWND Window() const { return m_window; }

private:
    HWND m_window;
};

class SingleInstance : public ::testing::Test {
protected:
    HWND OpenFirst()
    {
        program.UseStandinEditor();
        program.Start();
        return WaitForProcessWindow(program.Process().Id(), kCaption);
    }
    void CloseFirst(HWND dialog)
    {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(program.Process().WaitForExit());
    }
    StagedProgram program;
};
}  // namespace

TEST_F(SingleInstance, ASecondStartBringsTheDialogForwardAndEnds)
{
    HWND dialog = OpenFirst();
    ASSERT_TRUE(dialog);
    ForegroundThief thief;
    ASSERT_EQ(GetForegroundWindow(), thief.Window());

    // The broadcast visits the test's own window too, so the test keeps
    // handling messages while it waits.
    auto second = program.StartAnother();
    EXPECT_TRUE(WaitUntil([&] { return second->WaitForExit(std::chrono::milliseconds(0)); },
                          std::chrono::seconds(5)));
    EXPECT_TRUE(WaitUntil([&] { return IsActiveInItsThread(dialog) && GetForegroundWindow() != thief.Window(); }));
    EXPECT_EQ(ProcessWindows(second->Id()).size(), 0u);
    CloseFirst(dialog);
}

TEST_F(SingleInstance, AMinimisedDialogIsRestored)
{
    HWND dialog = OpenFirst();
    ASSERT_TRUE(dialog);
    PostMessageA(dialog, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(dialog) != FALSE; }));

    auto second = program.StartAnother();
    EXPECT_TRUE(second->WaitForExit(std::chrono::seconds(5)));
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(dialog) && IsActiveInItsThread(dialog); }));
    CloseFirst(dialog);
}

TEST_F(SingleInstance, ASecondStartDuringTheFolderPromptEndsAndThePromptStays)
{
    program.WriteSettings("[config]\r\nhidemaru=\r\n");
    program.Start();
    std::vector<HWND> prompt;
    ASSERT_TRUE(WaitUntil([&] { return !(prompt = ProcessWindows(program.Process().Id())).empty(); }));

    auto second = program.StartAnother();
    EXPECT_TRUE(second->WaitForExit(std::chrono::seconds(5)));
    EXPECT_TRUE(IsWindowVisible(prompt.front()));
    EXPECT_FALSE(program.Process().WaitForExit(std::chrono::milliseconds(0)));
    PostMessageA(prompt.front(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(program.Process().WaitForExit());
}

TEST_F(SingleInstance, TwentyStartsAtOnceLeaveExactlyOneDialogAndTheOthersExitCleanly)
{
    program.UseStandinEditor();
    std::vector<std::unique_ptr<StartedProcess>> starts;
    for (int i = 0; i < 20; ++i)
        starts.push_back(program.StartAnother());

    // All but one end by themselves; the one left shows the only dialog.
    std::vector<StartedProcess*> running;
    ASSERT_TRUE(WaitUntil([&] {
        running.clear();
        for (auto& start : starts)
            if (!start->WaitForExit(std::chrono::milliseconds(0)))
                running.push_back(start.get());
        return running.size() == 1;
    }, std::chrono::seconds(60)));
    HWND dialog = WaitForProcessWindow(running.front()->Id(), kCaption);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(ProcessWindows(running.front()->Id()), std::vector<HWND>{dialog});
    for (auto& start : starts) {
        if (start.get() != running.front()) {
            EXPECT_EQ(start->ExitCode(), 0u);
        }
    }
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(running.front()->WaitForExit());
    EXPECT_EQ(running.front()->ExitCode(), 0u);
}

TEST_F(SingleInstance, ACopyUnderAnotherNameIsTheSameInstance)
{
    HWND dialog = OpenFirst();
    ASSERT_TRUE(dialog);
    StagedProgram copy("Other.exe");
    copy.UseStandinEditor();
    copy.Start();
    EXPECT_TRUE(copy.Process().WaitForExit(std::chrono::seconds(5)));
    EXPECT_FALSE(FileExists(copy.HistoryPath()));
    CloseFirst(dialog);
}
