#include "jump/file_replace.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/test_files.h"

namespace {
class Replace : public ::testing::Test {
protected:
    TempFolder folder;
    std::string path = folder / "Wexmoor.log";
    std::string temporary = TemporaryPathFor(path);
};
}  // namespace

TEST_F(Replace, NewContentsReplaceTheOldAndNoTemporaryFileRemains)
{
    WriteBytes(path, "old\r\n");
    ASSERT_TRUE(ReplaceFileContents(path, std::string("new\x1A\r\n", 6)));
    EXPECT_EQ(ReadBytes(path), std::string("new\x1A\r\n", 6));
    EXPECT_FALSE(FileExists(temporary));
}

TEST_F(Replace, AReadOnlyFileIsLeftIntact)
{
    WriteBytes(path, "old\r\n");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(ReplaceFileContents(path, "new\r\n"));
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    EXPECT_FALSE(FileExists(temporary));
}

TEST_F(Replace, ALockedFileIsLeftIntact)
{
    WriteBytes(path, "old\r\n");
    HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(ReplaceFileContents(path, "new\r\n"));
    CloseHandle(lock);
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    EXPECT_FALSE(FileExists(temporary));
}

TEST_F(Replace, WithoutATemporaryFileTheFileIsWrittenInPlace)
{
    WriteBytes(path, "old\r\nolder\r\n");
    CreateDirectoryA(temporary.c_str(), nullptr);  // the temporary name is taken
    ASSERT_TRUE(ReplaceFileContents(path, "new\r\n"));
    EXPECT_EQ(ReadBytes(path), "new\r\n");
}

TEST_F(Replace, AStaleTemporaryFileFromAnInterruptedSaveIsReused)
{
    WriteBytes(temporary, "half a fi");
    ASSERT_TRUE(ReplaceFileContents(path, "new\r\n"));
    EXPECT_EQ(ReadBytes(path), "new\r\n");
    EXPECT_FALSE(FileExists(temporary));
}
