#include "controls/link_label_logic.h"

#include <algorithm>
#include <cmath>

uint32_t LinkTextColour(bool hover, bool followed, const LinkColours& colours)
{
    if (hover)
        return colours.hover;
    return followed ? colours.visited : colours.link;
}

namespace {
// Relative luminance of a COLORREF (0x00BBGGRR), in sRGB.
double Luminance(uint32_t colour)
{
    double sum = 0;
    const double weights[] = {0.2126, 0.7152, 0.0722};  // red, green, blue
    for (int channel = 0; channel < 3; ++channel) {
        const double c = ((colour >> (8 * channel)) & 0xFF) / 255.0;
        sum += weights[channel] * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return sum;
}

const double kReadableContrast = 3.0;
}  // namespace

double ContrastRatio(uint32_t a, uint32_t b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

LinkColours ReadableLinkColours(const LinkColours& wanted, uint32_t background, const SystemTextColours& system,
                                bool highContrast)
{
    const auto readable = [&](uint32_t colour) { return ContrastRatio(colour, background) >= kReadableContrast; };
    const uint32_t systemLink = readable(system.link) ? system.link : system.text;
    const auto shown = [&](uint32_t colour, uint32_t fallback) {
        return !highContrast && readable(colour) ? colour : fallback;
    };
    return {shown(wanted.link, systemLink), shown(wanted.visited, system.text), shown(wanted.hover, systemLink)};
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
