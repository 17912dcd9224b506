#include "jump/editor_command.h"

#include <gtest/gtest.h>

TEST(EditorCommandLine, QuotesThePathAndNamesTheMacro)
{
    EXPECT_EQ(EditorCommandLine("C:\\Program Files\\Hidemaru\\Hidemaru.exe"),
              "\"C:\\Program Files\\Hidemaru\\Hidemaru.exe\" /h /x Wexmoor.imp");
}

TEST(EditorCommandLine, ThePathIsNotEscaped)
{
    EXPECT_EQ(EditorCommandLine("C:\\a\"b.exe"), "\"C:\\a\"b.exe\" /h /x Wexmoor.imp");
    EXPECT_EQ(EditorCommandLine(""), "\"\" /h /x Wexmoor.imp");
}
