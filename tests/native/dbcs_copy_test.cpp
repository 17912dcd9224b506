#include "controls/dbcs_copy.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "controls/cp932_search.h"

namespace {
// The count, and the whole buffer of '#' it was copied into, so that stray
// writes past the terminator show.
using Copied = std::pair<std::size_t, std::string>;

Copied Copy(const char* source, std::size_t maxBytes)
{
    std::string buffer(8, '#');
    const std::size_t count = CopyWithoutSplitting(&buffer[0], source, maxBytes, IsCp932LeadByte);
    return {count, buffer};
}
}  // namespace

TEST(CopyWithoutSplitting, StopsAtTheLimitOrTheEndWhicheverComesFirst)
{
    EXPECT_EQ(Copy("abcdef", 3), Copied(3, std::string("abc\0####", 8)));
    EXPECT_EQ(Copy("ab", 6), Copied(2, std::string("ab\0#####", 8)));
    EXPECT_EQ(Copy("ab", 0), Copied(0, std::string("\0#######", 8)));
}

TEST(CopyWithoutSplitting, ALeadByteWithoutItsSecondBecomesNulAndStillCounts)
{
    // "C:表" is 43 3A 95 5C: the second byte of "表" is a backslash.
    EXPECT_EQ(Copy("C:\x95\x5C", 3), Copied(3, std::string("C:\0\0####", 8)));
    EXPECT_EQ(Copy("C:\x95\x5C", 4), Copied(4, std::string("C:\x95\x5C\0###", 8)));
    EXPECT_EQ(Copy("ab\x81", 6), Copied(3, std::string("ab\0\0####", 8)));
}

TEST(CopyWithoutSplitting, CharacterBoundariesCountFromTheStart)
{
    // "亜亜" is 88 9F 88 9F: each second byte lies in the lead-byte range.
    EXPECT_EQ(Copy("\x88\x9F\x88\x9F", 2), Copied(2, std::string("\x88\x9F\0#####", 8)));
    EXPECT_EQ(Copy("\x88\x9F\x88\x9F", 3), Copied(3, std::string("\x88\x9F\0\0####", 8)));
    // Half-width katakana are single bytes.
    EXPECT_EQ(Copy("\xB1\xB2\xB3", 2), Copied(2, std::string("\xB1\xB2\0#####", 8)));
}
