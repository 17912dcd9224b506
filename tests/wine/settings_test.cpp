#include "app/settings.h"

#include <gtest/gtest.h>

#include "tests/support/test_files.h"

namespace {
const char kDefaultEditor[] = "C:\\Program Files\\Hidemaru\\Hidemaru.exe";
}

TEST(Settings, NoFileGivesTheDefaultsAndReadingCreatesNothing)
{
    TempFolder folder;
    const std::string ini = folder / "Wexmoor.ini";
    EXPECT_EQ(ReadEditorPath(ini), kDefaultEditor);
    EXPECT_EQ(ReadHistoryLength(ini), 10);
    EXPECT_FALSE(FileExists(ini));
}

TEST(Settings, EditorPathValues)
{
    TempFolder folder;
    const std::string ini = folder / "Wexmoor.ini";
    WriteBytes(ini, "[config]\r\nhidemaru=\r\n");
    EXPECT_EQ(ReadEditorPath(ini), "");

    WriteBytes(ini, "[config]\r\nhidemaru=" + std::string(300, 'x') + "\r\n");
    EXPECT_EQ(ReadEditorPath(ini), std::string(259, 'x'));

    WriteBytes(ini, "[other]\r\nhidemaru=C:\\x.exe\r\n");
    EXPECT_EQ(ReadEditorPath(ini), kDefaultEditor);
}

TEST(Settings, WritingTheEditorPathCreatesTheFileAndReadsBack)
{
    TempFolder folder;
    const std::string ini = folder / "Wexmoor.ini";
    const std::string path = "D:\\\x95\x5C\\\\Hidemaru.exe";  // Shift-JIS, doubled separator kept
    WriteEditorPath(ini, path);
    EXPECT_EQ(ReadEditorPath(ini), path);
}

TEST(Settings, HistoryLengthIsSigned)
{
    TempFolder folder;
    const std::string ini = folder / "Wexmoor.ini";
    WriteBytes(ini, "[config]\r\nhistory=-3\r\n");
    EXPECT_EQ(ReadHistoryLength(ini), -3);
    WriteBytes(ini, "[config]\r\nhistory=25\r\n");
    EXPECT_EQ(ReadHistoryLength(ini), 25);
    WriteBytes(ini, "[config]\r\nhistory=abc\r\n");
    EXPECT_EQ(ReadHistoryLength(ini), 0);
}
