// The link label's rules that the version box cannot show: alignments and
// borders it does not have, underline modes it does not set, colour schemes
// other than the test bed's, commands longer than the registry hands out, and
// the texts of failures it cannot provoke.
#include <gtest/gtest.h>

#include <tuple>

#include "controls/browser_command.h"
#include "controls/link_label_logic.h"
#include "controls/open_error_text.h"
#include "tests/support/cp932_lead_byte.h"

TEST(LinkLabel, FittingAndUnderlining)
{
    using Box = std::tuple<int32_t, int32_t, int32_t, int32_t>;
    const LabelRect window = {10, 20, 110, 36};
    // name, client rectangle, text width and height, style, fitted window
    const std::tuple<const char*, LabelRect, int32_t, int32_t, uint32_t, Box> rows[] = {
        {"right edge", window, 150, 13, kStyleRight, {-40, 20, 110, 33}},
        {"centre grows, odd half toward zero", window, 103, 13, kStyleCenter, {9, 20, 111, 33}},
        {"vertical centre", window, 100, 21, kStyleCenterImage, {10, 18, 110, 38}},
        {"borders keep their size", {12, 22, 109, 35}, 150, 13, 0, {10, 20, 163, 36}},
    };
    for (const auto& [name, client, width, height, style, fitted] : rows) {
        const LabelRect r = FitRectToText(window, client, width, height, style);
        EXPECT_EQ(Box(r.left, r.top, r.right, r.bottom), fitted) << name;
    }
    using F = FontChoice;  // modes the box does not use: outside a hover, when one starts, when it ends
    for (const auto& [mode, fonts] : {std::pair(1, std::tuple(F::Underlined, F::Keep, F::Keep)),
                                      std::pair(0, std::tuple(F::Plain, F::Keep, F::Plain))})
        EXPECT_EQ(std::tuple(FontForMode(mode), FontAtHoverStart(mode), FontAtHoverEnd(mode)), fonts) << mode;
}

// COLORREF values, 0x00BBGGRR.
TEST(LinkLabel, ColoursStayReadable)
{
    EXPECT_NEAR(ContrastRatio(0x000000, 0xFFFFFF), 21.0, 0.01);
    EXPECT_NEAR(ContrastRatio(0x0000FF, 0xF0F0F0), 3.51, 0.01) << "red on the usual face";
    const LinkColours wanted = {0xEE0000, 0x8B1A55, 0x0000FF};
    const SystemTextColours system = {0xFFCC66, 0xFFFFFF};
    using C = std::tuple<uint32_t, uint32_t, uint32_t>;
    // name, background, system colours, high contrast, colours shown
    const std::tuple<const char*, uint32_t, SystemTextColours, bool, C> rows[] = {
        {"the usual face keeps them all", 0xF0F0F0, system, false, {0xEE0000, 0x8B1A55, 0x0000FF}},
        {"black: blue and purple give way, red stands", 0x000000, system, false, {0xFFCC66, 0xFFFFFF, 0x0000FF}},
        {"a system link colour that does not stand out either", 0x000000, {0x800000, 0xFFFFFF}, false,
         {0xFFFFFF, 0xFFFFFF, 0x0000FF}},
        {"high contrast takes the system's", 0xF0F0F0, {0x800000, 0x000000}, true, {0x800000, 0x000000, 0x800000}},
    };
    for (const auto& [name, background, colours, highContrast, shown] : rows) {
        const LinkColours r = ReadableLinkColours(wanted, background, colours, highContrast);
        EXPECT_EQ(C(r.link, r.visited, r.hover), shown) << name;
    }
}

TEST(LinkLabel, FallbackCommandAndErrorTexts)
{
    const std::tuple<const char*, std::string, std::string, std::optional<std::string>> rows[] = {
        {"no placeholder", "b.exe -new", "x", "b.exe -new x"},
        {"a lead byte takes the '%' along", "a\x81%1 %1", "x", "a\x81%1  x"},
        {"519 bytes and the terminator", "b.exe %1", std::string(512, 't'), "b.exe  " + std::string(512, 't')},
        {"520 bytes", "b.exe %1", std::string(513, 't'), std::nullopt},
    };
    for (const auto& [name, command, target, composed] : rows)
        EXPECT_EQ(ComposeBrowserCommand(command, target, IsCp932LeadByte), composed) << name;

    // The shapes of the texts: one of two lines, one that ends in a space,
    // one of three lines, and the unknown code in signed decimal.
    const std::pair<int32_t, const char*> texts[] = {
        {0, "The operating system is out\nof memory or resources."},
        {26, "A sharing violation occurred. "},
        {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
        {INT32_MIN, "Unknown Error (-2147483648) occurred."},
    };
    for (const auto& [code, text] : texts)
        EXPECT_EQ(OpenErrorMessage(code), std::string("Unable to open hyperlink:\n\n") + text) << code;
}
