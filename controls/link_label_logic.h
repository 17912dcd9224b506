#pragma once
#include <cstdint>

// The link label's decisions that need no window: text colour, which font a
// hover transition selects, and the size that fits the text.

// COLORREF values, 0x00BBGGRR.
struct LinkColours {
    uint32_t link;
    uint32_t visited;
    uint32_t hover;
};

// A hover episode shows the hover colour whatever the followed state.
uint32_t LinkTextColour(bool hover, bool followed, const LinkColours& colours);

// How far two colours stand apart in brightness, as the Web's accessibility
// guidelines measure it: from 1 (the same) to 21 (black on white).
double ContrastRatio(uint32_t a, uint32_t b);

// The system's colours for links and for text.
struct SystemTextColours {
    uint32_t link;
    uint32_t text;
};

// The colours the label shows on its background. Each wanted colour stays
// where it stands out from the background at least 3:1; otherwise, and all
// of them in high-contrast mode, the system's own take their place: its link
// colour for a link not followed and under the pointer (its text colour
// where even that does not stand out), its text colour for a followed link.
// The underline still tells the pointer's presence.
LinkColours ReadableLinkColours(const LinkColours& wanted, uint32_t background, const SystemTextColours& system,
                                bool highContrast);

// Underline modes: -1 underlines during a hover episode only, 1 always, any
// other value never. Keep means no WM_SETFONT is sent at all.
enum class FontChoice { Keep, Plain, Underlined };
FontChoice FontForMode(int32_t mode);
FontChoice FontAtHoverStart(int32_t mode);
FontChoice FontAtHoverEnd(int32_t mode);

// The style bits the sizing looks at, as bit tests: any style whose lowest bit
// is set (SS_SIMPLE, 0x0B, among them) counts as centred.
constexpr uint32_t kStyleCenter = 0x0001;       // SS_CENTER
constexpr uint32_t kStyleRight = 0x0002;        // SS_RIGHT
constexpr uint32_t kStyleCenterImage = 0x0200;  // SS_CENTERIMAGE

struct LabelRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// The window rectangle that holds a text of the given extent. window and client
// are in the same coordinates; only the client's size is used, so the borders
// keep their width. The control keeps its left edge, its right edge when
// right-aligned, its horizontal centre when centred, and its top edge or, with
// SS_CENTERIMAGE, its vertical centre. Halves are truncated toward zero, so a
// centred control whose difference is odd ends a pixel larger than the wanted
// size when it shrinks and a pixel smaller when it grows.
LabelRect FitRectToText(LabelRect window, LabelRect client, int32_t textWidth, int32_t textHeight,
                        uint32_t style);
