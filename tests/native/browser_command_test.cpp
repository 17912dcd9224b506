#include "controls/browser_command.h"

#include <gtest/gtest.h>

#include "controls/cp932_search.h"

TEST(FindCp932, FindsOnlyAtCharacterBoundaries)
{
    EXPECT_EQ(FindCp932("abc %1", "%1"), 4u);
    EXPECT_EQ(FindCp932("abc", "%1"), std::string::npos);
    EXPECT_EQ(FindCp932("", "%1"), std::string::npos);
    // "表" is 0x95 0x5C: the search steps over it as one character.
    EXPECT_EQ(FindCp932("\x95\x5C\\x", "\\"), 2u);
    // A lead byte takes the next byte with it even when that is no valid
    // second byte, so the '%' after it is not the start of a placeholder.
    EXPECT_EQ(FindCp932("a\x81%1", "%1"), std::string::npos);
    EXPECT_EQ(FindCp932("a\xE0%1 %1", "%1"), 5u);
    // A lead byte at the very end is not read past.
    EXPECT_EQ(FindCp932("abc\x81", "%1"), std::string::npos);
    EXPECT_EQ(FindCp932("abc\x81", "c\x81"), 2u);
}

TEST(ComposeBrowserCommand, QuotedPlaceholderIsCutAtItsOpeningQuote)
{
    // The blank before the quote stays, the appended one makes a second, and
    // the argument after the placeholder is lost.
    EXPECT_EQ(ComposeBrowserCommand("\"C:\\Web\\browser.exe\" -nohome \"%1\" -new",
                                    "https://example.org/"),
              "\"C:\\Web\\browser.exe\" -nohome  https://example.org/");
}

TEST(ComposeBrowserCommand, BarePlaceholderIsCutAtThePercentSign)
{
    EXPECT_EQ(ComposeBrowserCommand("C:\\Web\\browser.exe %1,0", "a b.html"),
              "C:\\Web\\browser.exe  a b.html");
    EXPECT_EQ(ComposeBrowserCommand("\"C:\\Web\\browser.exe\" \"-url=%1\"", "x"),
              "\"C:\\Web\\browser.exe\" \"-url= x");
}

TEST(ComposeBrowserCommand, TheQuotedPlaceholderIsLookedForFirst)
{
    EXPECT_EQ(ComposeBrowserCommand("b.exe %1 \"%1\"", "x"), "b.exe %1  x");
}

TEST(ComposeBrowserCommand, NoPlaceholderKeepsTheWholeCommand)
{
    EXPECT_EQ(ComposeBrowserCommand("C:\\Web\\browser.exe -new", "x"), "C:\\Web\\browser.exe -new x");
    EXPECT_EQ(ComposeBrowserCommand("", ""), " ");
}

TEST(ComposeBrowserCommand, ResultMustLeaveRoomForTheTerminator)
{
    // 259 bytes, the longest value the registry read accepts.
    const std::string registered = "\"C:\\" + std::string(247, 'w') + ".exe\" %1";
    ASSERT_EQ(registered.size(), 259u);
    const std::string prefix = registered.substr(0, 257) + " ";

    const std::string fits(519 - prefix.size(), 't');
    EXPECT_EQ(ComposeBrowserCommand(registered, fits), prefix + fits);
    EXPECT_EQ(ComposeBrowserCommand(registered, fits + "t"), std::nullopt);
    EXPECT_EQ(ComposeBrowserCommand(registered, std::string(5000, 't')), std::nullopt);
    EXPECT_EQ(ComposeBrowserCommand(std::string(600, 'c'), "x"), std::nullopt);
}
