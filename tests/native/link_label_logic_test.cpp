#include "controls/link_label_logic.h"

#include <gtest/gtest.h>

// Found by argument-dependent lookup, so they stand beside LabelRect.
static bool operator==(const LabelRect& a, const LabelRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

static std::ostream& operator<<(std::ostream& out, const LabelRect& r)
{
    return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace {
const LinkColours kColours = {0x00EE0000, 0x008B1A55, 0x000000FF};

// The font a label shows: SetUnderlineMode sets it, the hover steps change it
// only when they send one.
FontChoice Apply(FontChoice shown, FontChoice sent)
{
    return sent == FontChoice::Keep ? shown : sent;
}

// A borderless control at (10, 20) of 100 × 16 pixels.
const LabelRect kWindow = {10, 20, 110, 36};
const LabelRect kClient = kWindow;
}  // namespace

TEST(LinkTextColour, HoverWinsThenFollowedThenLink)
{
    EXPECT_EQ(LinkTextColour(false, false, kColours), 0x00EE0000u);
    EXPECT_EQ(LinkTextColour(false, true, kColours), 0x008B1A55u);
    EXPECT_EQ(LinkTextColour(true, false, kColours), 0x000000FFu);
    EXPECT_EQ(LinkTextColour(true, true, kColours), 0x000000FFu);
}

TEST(UnderlineMode, FontsOutsideAndDuringAHoverEpisode)
{
    struct Case {
        int32_t mode;
        FontChoice outside;
        FontChoice during;
    };
    const Case cases[] = {
        {-1, FontChoice::Plain, FontChoice::Underlined},
        {1, FontChoice::Underlined, FontChoice::Underlined},
        {0, FontChoice::Plain, FontChoice::Plain},
        {2, FontChoice::Plain, FontChoice::Plain},
        {-2, FontChoice::Plain, FontChoice::Plain},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        const FontChoice before = FontForMode(c.mode);
        const FontChoice during = Apply(before, FontAtHoverStart(c.mode));
        const FontChoice after = Apply(during, FontAtHoverEnd(c.mode));
        EXPECT_EQ(before, c.outside);
        EXPECT_EQ(during, c.during);
        EXPECT_EQ(after, c.outside);
    }
}

TEST(UnderlineMode, OnlyTheDefaultModeSendsAFontWhenHoverStarts)
{
    EXPECT_EQ(FontAtHoverStart(-1), FontChoice::Underlined);
    EXPECT_EQ(FontAtHoverStart(0), FontChoice::Keep);
    EXPECT_EQ(FontAtHoverStart(1), FontChoice::Keep);
    // Leaving sends the plain font in every mode but 1, mode 0 included.
    EXPECT_EQ(FontAtHoverEnd(0), FontChoice::Plain);
    EXPECT_EQ(FontAtHoverEnd(-1), FontChoice::Plain);
    EXPECT_EQ(FontAtHoverEnd(1), FontChoice::Keep);
}

TEST(FitRectToText, LeftAlignedKeepsItsTopLeftCorner)
{
    EXPECT_EQ(FitRectToText(kWindow, kClient, 150, 13, 0), (LabelRect{10, 20, 160, 33}));
    EXPECT_EQ(FitRectToText(kWindow, kClient, 40, 30, 0), (LabelRect{10, 20, 50, 50}));
}

TEST(FitRectToText, BordersKeepTheirSize)
{
    // A 2-pixel border left and top, 1 pixel right and bottom; the client
    // rectangle is given in the same coordinates as the window.
    const LabelRect window = {10, 20, 113, 39};
    const LabelRect client = {12, 22, 112, 38};
    EXPECT_EQ(FitRectToText(window, client, 150, 13, 0), (LabelRect{10, 20, 163, 36}));
}

TEST(FitRectToText, RightAlignedKeepsItsRightEdge)
{
    EXPECT_EQ(FitRectToText(kWindow, kClient, 150, 13, kStyleRight), (LabelRect{-40, 20, 110, 33}));
    EXPECT_EQ(FitRectToText(kWindow, kClient, 30, 13, kStyleRight), (LabelRect{80, 20, 110, 33}));
}

TEST(FitRectToText, CentredGrowsAndShrinksOnBothSides)
{
    EXPECT_EQ(FitRectToText(kWindow, kClient, 140, 13, kStyleCenter), (LabelRect{-10, 20, 130, 33}));
    EXPECT_EQ(FitRectToText(kWindow, kClient, 60, 13, kStyleCenter), (LabelRect{30, 20, 90, 33}));
}

TEST(FitRectToText, OddDifferencesAreHalvedTowardZero)
{
    // Growing by 3 moves each side by 1: one pixel smaller than wanted.
    const LabelRect grown = FitRectToText(kWindow, kClient, 103, 13, kStyleCenter);
    EXPECT_EQ(grown, (LabelRect{9, 20, 111, 33}));
    // Shrinking by 3 moves each side by 1: one pixel larger than wanted.
    const LabelRect shrunk = FitRectToText(kWindow, kClient, 97, 13, kStyleCenter);
    EXPECT_EQ(shrunk, (LabelRect{11, 20, 109, 33}));
}

TEST(FitRectToText, CentreImageKeepsTheVerticalCentre)
{
    // 16 high: shrinking to 9 moves each edge by 3 (one pixel larger), growing
    // to 21 by -2 (one pixel smaller).
    EXPECT_EQ(FitRectToText(kWindow, kClient, 100, 9, kStyleCenterImage), (LabelRect{10, 23, 110, 33}));
    EXPECT_EQ(FitRectToText(kWindow, kClient, 100, 21, kStyleCenterImage), (LabelRect{10, 18, 110, 38}));
}

TEST(FitRectToText, AlignmentIsReadAsBitTests)
{
    const uint32_t simple = 0x0B;  // SS_SIMPLE has the centre bit set
    EXPECT_EQ(FitRectToText(kWindow, kClient, 60, 13, simple), (LabelRect{30, 20, 90, 33}));
    EXPECT_EQ(FitRectToText(kWindow, kClient, 60, 13, kStyleCenter | kStyleRight),
              (LabelRect{30, 20, 90, 33}));
    // Window styles, SS_NOTIFY and SS_NOPREFIX do not matter.
    EXPECT_EQ(FitRectToText(kWindow, kClient, 60, 13, 0x50020180), (LabelRect{10, 20, 70, 33}));
}
