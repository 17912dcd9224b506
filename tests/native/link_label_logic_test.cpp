#include "controls/link_label_logic.h"

#include <gtest/gtest.h>

#include <array>

namespace {
using Box = std::array<int32_t, 4>;

// A borderless control at (10, 20) of 100 × 16 pixels, fitted to a text.
Box Fit(int32_t textWidth, int32_t textHeight, uint32_t style)
{
    const LabelRect window = {10, 20, 110, 36};
    const LabelRect r = FitRectToText(window, window, textWidth, textHeight, style);
    return {r.left, r.top, r.right, r.bottom};
}

// The font shown after a step: Keep leaves the one shown before.
FontChoice After(FontChoice shown, FontChoice sent)
{
    return sent == FontChoice::Keep ? shown : sent;
}
}  // namespace

TEST(LinkTextColour, HoverWinsThenFollowedThenLink)
{
    const LinkColours colours = {0x00EE0000, 0x008B1A55, 0x000000FF};
    EXPECT_EQ(LinkTextColour(false, false, colours), 0x00EE0000u);
    EXPECT_EQ(LinkTextColour(false, true, colours), 0x008B1A55u);
    EXPECT_EQ(LinkTextColour(true, false, colours), 0x000000FFu);
    EXPECT_EQ(LinkTextColour(true, true, colours), 0x000000FFu);
}

TEST(UnderlineMode, FontsOutsideAndDuringAHoverEpisode)
{
    using F = FontChoice;
    struct Case {
        int32_t mode;
        F outside;
        F during;
    };
    for (const Case& c : {Case{-1, F::Plain, F::Underlined}, Case{1, F::Underlined, F::Underlined},
                          Case{0, F::Plain, F::Plain}, Case{2, F::Plain, F::Plain}, Case{-2, F::Plain, F::Plain}}) {
        SCOPED_TRACE(c.mode);
        const F during = After(FontForMode(c.mode), FontAtHoverStart(c.mode));
        EXPECT_EQ(FontForMode(c.mode), c.outside);
        EXPECT_EQ(during, c.during);
        EXPECT_EQ(After(during, FontAtHoverEnd(c.mode)), c.outside);
    }
    // Only mode -1 sends a font when hovering starts; leaving sends the plain
    // one in every mode but 1, mode 0 included.
    EXPECT_EQ(FontAtHoverStart(0), F::Keep);
    EXPECT_EQ(FontAtHoverStart(1), F::Keep);
    EXPECT_EQ(FontAtHoverEnd(0), F::Plain);
}

TEST(FitRectToText, EachAlignmentKeepsItsEdgeOrCentre)
{
    EXPECT_EQ(Fit(150, 13, 0), (Box{10, 20, 160, 33}));
    EXPECT_EQ(Fit(40, 30, 0), (Box{10, 20, 50, 50}));
    EXPECT_EQ(Fit(150, 13, kStyleRight), (Box{-40, 20, 110, 33}));
    EXPECT_EQ(Fit(140, 13, kStyleCenter), (Box{-10, 20, 130, 33}));
    EXPECT_EQ(Fit(60, 13, kStyleCenter), (Box{30, 20, 90, 33}));
    // SS_CENTERIMAGE keeps the vertical centre.
    EXPECT_EQ(Fit(100, 10, kStyleCenterImage), (Box{10, 23, 110, 33}));
}

TEST(FitRectToText, OddDifferencesAreHalvedTowardZero)
{
    // Growing by 3 moves each side by 1, one pixel short; shrinking by 3 moves
    // each side by 1, one pixel over.
    EXPECT_EQ(Fit(103, 13, kStyleCenter), (Box{9, 20, 111, 33}));
    EXPECT_EQ(Fit(97, 13, kStyleCenter), (Box{11, 20, 109, 33}));
    EXPECT_EQ(Fit(100, 21, kStyleCenterImage), (Box{10, 18, 110, 38}));
    EXPECT_EQ(Fit(100, 9, kStyleCenterImage), (Box{10, 23, 110, 33}));
}

TEST(FitRectToText, BordersKeepTheirSize)
{
    // 2 pixels of border left and top, 1 right and bottom.
    const LabelRect r = FitRectToText({10, 20, 113, 39}, {12, 22, 112, 38}, 150, 13, 0);
    EXPECT_EQ((Box{r.left, r.top, r.right, r.bottom}), (Box{10, 20, 163, 36}));
}

TEST(FitRectToText, AlignmentIsReadAsBitTests)
{
    EXPECT_EQ(Fit(60, 13, 0x0B), (Box{30, 20, 90, 33})) << "SS_SIMPLE has the centre bit";
    EXPECT_EQ(Fit(60, 13, kStyleCenter | kStyleRight), (Box{30, 20, 90, 33}));
    EXPECT_EQ(Fit(60, 13, 0x50020180), (Box{10, 20, 70, 33})) << "window styles, SS_NOTIFY, SS_NOPREFIX";
}
