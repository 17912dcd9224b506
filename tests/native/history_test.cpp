#include "jump/history.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "jump/file_replace.h"

namespace fs = std::filesystem;

namespace {
class HistoryFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("wexmoor-history-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / "Wexmoor.log").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    void Write(const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::string Read() const
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    HistoryList Load(int32_t max)
    {
        HistoryList history;
        LoadHistory(path, max, history);
        return history;
    }

    fs::path dir;
    std::string path;
};

HistoryList Numbered(int count)
{
    HistoryList list;
    for (int i = 1; i <= count; ++i)
        list.push_back("tag" + std::to_string(i));
    return list;
}
}  // namespace

TEST_F(HistoryFile, MissingOrEmptyFileLoadsNothing)
{
    EXPECT_TRUE(Load(10).empty());
    Write("");
    EXPECT_TRUE(Load(10).empty());
}

TEST_F(HistoryFile, LineEndsAreCrLfOrLfAndBlankLinesDoNotCount)
{
    Write("a\r\n\r\n\nb\nc\r\rd\r\n\r\ne");
    EXPECT_EQ(Load(10), (HistoryList{"a", "b", "c\r\rd", "e"}));
    EXPECT_EQ(Load(2), (HistoryList{"a", "b"}));
}

TEST_F(HistoryFile, BytesAreKeptAsTheyAreIncludingCtrlZAndShiftJis)
{
    const std::string sjis = "\x95\x5C\x8E\xA6";  // two characters whose bytes include 0x5C
    Write(std::string("x\x1Ay\r\n", 5) + sjis + "\r\n" + std::string("n\0l", 3) + "\r\n");
    EXPECT_EQ(Load(10), (HistoryList{std::string("x\x1Ay"), sjis, std::string("n\0l", 3)}));
}

TEST_F(HistoryFile, DuplicatesAreLoadedAndTheLimitCutsALongFile)
{
    Write(FormatHistory(Numbered(15)) + "tag1\r\n");
    EXPECT_EQ(Load(10), Numbered(10));
    Write("same\r\nsame\r\n");
    EXPECT_EQ(Load(10), (HistoryList{"same", "same"}));
}

TEST_F(HistoryFile, ZeroOrNegativeLengthLoadsNothing)
{
    Write("a\r\nb\r\n");
    EXPECT_TRUE(Load(0).empty());
    EXPECT_TRUE(Load(-1).empty());
    EXPECT_TRUE(Load(INT32_MIN).empty());
}

TEST(RememberInput, MovesAnExistingEntryToTheFrontWithoutTrimming)
{
    HistoryList history{"a", "b", "c", "d"};
    RememberInput(history, "c", 4);
    EXPECT_EQ(history, (HistoryList{"c", "a", "b", "d"}));
}

TEST(RememberInput, ComparesBytesExactly)
{
    HistoryList history{"Main", "main2"};
    RememberInput(history, "main", 10);
    EXPECT_EQ(history, (HistoryList{"main", "Main", "main2"}));
    RememberInput(history, "main2", 10);
    EXPECT_EQ(history, (HistoryList{"main2", "main", "Main"}));
}

TEST(RememberInput, TrimsOneEntryAtTheLimit)
{
    HistoryList history = Numbered(10);
    RememberInput(history, "new", 10);
    ASSERT_EQ(history.size(), 10u);
    EXPECT_EQ(history.front(), "new");
    EXPECT_EQ(history.back(), "tag9");
}

TEST(RememberInput, LengthZeroKeepsNothingAndNegativeNeverTrims)
{
    HistoryList none;
    RememberInput(none, "x", 0);
    EXPECT_TRUE(none.empty());

    HistoryList many = Numbered(12);
    RememberInput(many, "x", -1);
    EXPECT_EQ(many.size(), 13u);
    EXPECT_EQ(many.front(), "x");
}

TEST(RememberInput, EmptyInputGoesToTheFrontLikeAnyOther)
{
    HistoryList history{"a"};
    RememberInput(history, "", 10);
    EXPECT_EQ(history, (HistoryList{"", "a"}));
}

TEST_F(HistoryFile, SaveWritesEveryEntryWithCrLfAndNoTemporaryFileRemains)
{
    ASSERT_TRUE(SaveHistory(path, {"new", "", "\x95\x5C"}));
    EXPECT_EQ(Read(), "new\r\n\r\n\x95\x5C\r\n");
    EXPECT_FALSE(fs::exists(TemporaryPathFor(path)));
    ASSERT_TRUE(SaveHistory(path, {}));
    EXPECT_EQ(Read(), "");
}

TEST_F(HistoryFile, EmptyFirstLineIsSkippedOnTheNextStart)
{
    HistoryList history{"a", "b"};
    RememberInput(history, "", 10);
    ASSERT_TRUE(SaveHistory(path, history));
    EXPECT_EQ(Load(10), (HistoryList{"a", "b"}));
}

TEST_F(HistoryFile, FifteenLinesWithLengthTenKeepTenAfterTheNextOk)
{
    Write(FormatHistory(Numbered(15)));
    HistoryList history = Load(10);
    RememberInput(history, "tag3", 10);
    ASSERT_TRUE(SaveHistory(path, history));
    HistoryList expected = Numbered(10);
    expected.erase(expected.begin() + 2);
    expected.insert(expected.begin(), "tag3");
    EXPECT_EQ(Read(), FormatHistory(expected));
}

TEST_F(HistoryFile, LengthZeroAndNegativeAfterOk)
{
    Write("a\r\nb\r\n");
    for (int32_t max : {0, -1}) {
        HistoryList history = Load(max);
        RememberInput(history, "x", max);
        ASSERT_TRUE(SaveHistory(path, history));
        EXPECT_EQ(Read(), max == 0 ? "" : "x\r\n") << "length " << max;
    }
}

TEST_F(HistoryFile, ATargetThatCannotBeReplacedIsReportedAndLeavesNoTemporaryFile)
{
    fs::create_directory(path);  // a folder where the file should be
    EXPECT_FALSE(SaveHistory(path, {"new"}));
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_FALSE(fs::exists(TemporaryPathFor(path)));
}
