#include "controls/link_label_logic.h"

uint32_t LinkTextColour(bool hover, bool followed, const LinkColours& colours)
{
    if (hover)
        return colours.hover;
    return followed ? colours.visited : colours.link;
}

FontChoice FontForMode(int32_t mode)
{
    return mode == 1 ? FontChoice::Underlined : FontChoice::Plain;
}

FontChoice FontAtHoverStart(int32_t mode)
{
    return mode == -1 ? FontChoice::Underlined : FontChoice::Keep;
}

// Mode 0 and the unknown modes have the plain font already; sending it again
// is harmless and keeps the leave step the same for all of them.
FontChoice FontAtHoverEnd(int32_t mode)
{
    return mode == 1 ? FontChoice::Keep : FontChoice::Plain;
}

LabelRect FitRectToText(LabelRect window, LabelRect client, int32_t textWidth, int32_t textHeight,
                        uint32_t style)
{
    const int32_t width = textWidth + (window.right - window.left) - (client.right - client.left);
    const int32_t height = textHeight + (window.bottom - window.top) - (client.bottom - client.top);

    if (style & kStyleCenterImage) {
        const int32_t half = (window.bottom - window.top - height) / 2;
        window.top += half;
        window.bottom -= half;
    } else {
        window.bottom = window.top + height;
    }

    if (style & kStyleCenter) {
        const int32_t half = (window.right - window.left - width) / 2;
        window.left += half;
        window.right -= half;
    } else if (style & kStyleRight) {
        window.left = window.right - width;
    } else {
        window.right = window.left + width;
    }
    return window;
}
