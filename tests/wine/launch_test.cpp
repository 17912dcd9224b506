#include "jump/editor_launch.h"

#include <gtest/gtest.h>

#include "jump/editor_command.h"
#include "tests/support/test_files.h"
#include "tests/support/test_processes.h"

#ifndef _WIN64
static_assert(sizeof(STARTUPINFOA) == 68, "the start-up record the editor expects");
#endif

namespace {
class Launch : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetEnvironmentVariableA("WEXMOOR_STANDIN_RECORD", record.c_str());
        SetEnvironmentVariableA("WEXMOOR_HISTORY", history.c_str());
    }
    void TearDown() override
    {
        SetEnvironmentVariableA("WEXMOOR_STANDIN_RECORD", nullptr);
        SetEnvironmentVariableA("WEXMOOR_HISTORY", nullptr);
    }

    TempFolder folder;
    std::string record = folder / "record.txt";
    std::string history = folder / "Wexmoor.log";
};
}  // namespace

TEST_F(Launch, TheEditorStartsMinimisedWithTheExactCommandLine)
{
    // An unquoted path would start the decoy at the shorter path instead.
    CreateDirectoryA((folder / "Hide maru").c_str(), nullptr);
    const std::string editor = folder / "Hide maru\\Hidemaru.exe";
    CopyFileOrFail(BuildTreePath("tools/standin_editor/standin_editor.exe"), editor);
    CopyFileOrFail(BuildTreePath("tools/standin_editor/standin_editor.exe"), folder / "Hide.exe");
    WriteBytes(history, "jump\x95\x5C\r\nold\r\n");

    ASSERT_TRUE(StartMinimised(EditorCommandLine(editor)));
    auto received = WaitForStandinRecord(record);
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received["command_line"], "\"" + editor + "\" /h /x Wexmoor.imp");
    EXPECT_EQ(received["flags"], std::to_string(STARTF_USESHOWWINDOW));
    EXPECT_EQ(received["show_window"], std::to_string(SW_MINIMIZE));
    EXPECT_EQ(FromHex(received["history_first_line"]), "jump\x95\x5C");
}

TEST_F(Launch, AMissingEditorIsReportedToTheCallerOnly)
{
    EXPECT_FALSE(StartMinimised(EditorCommandLine(folder / "nowhere\\Hidemaru.exe")));
}
