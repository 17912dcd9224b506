#include "app/file_locations.h"

#include <gtest/gtest.h>

TEST(FileLocations, BothFilesSitBesideTheExecutableUnderItsName)
{
    EXPECT_EQ(SettingsPathFor("D:\\tools\\Wexmoor.exe"), "D:\\tools\\Wexmoor.ini");
    EXPECT_EQ(HistoryPathFor("D:\\tools\\Wexmoor.exe"), "D:\\tools\\Wexmoor.log");
    EXPECT_EQ(HistoryPathFor("C:\\a b\\Other.exe"), "C:\\a b\\Other.log");
}

TEST(FileLocations, TheLastFourBytesGoWhateverTheyAre)
{
    EXPECT_EQ(SettingsPathFor("C:\\x\\prog.com"), "C:\\x\\prog.ini");
    EXPECT_EQ(SettingsPathFor("C:\\x\\prog"), "C:\\x\\.ini");
    // The second byte of a Shift-JIS character may be 0x5C; nothing here looks for separators.
    EXPECT_EQ(HistoryPathFor("C:\\\x95\x5C\\\x95\x5C.exe"), "C:\\\x95\x5C\\\x95\x5C.log");
}

TEST(FileLocations, APathOfFourBytesOrLessLeavesOnlyTheExtension)
{
    EXPECT_EQ(SettingsPathFor(".exe"), ".ini");
    EXPECT_EQ(HistoryPathFor(""), ".log");
}
