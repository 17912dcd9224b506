// The link label's rules that the version box cannot show: alignments and
// borders it does not have, underline modes it does not set, commands longer
// than the registry hands out, and the texts of failures it cannot provoke.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

#include "controls/browser_command.h"
#include "controls/link_label_logic.h"
#include "controls/open_error_text.h"

TEST(LinkLabel, FittingKeepsTheEdgeOrCentreTheStyleNames)
{
    const LabelRect window = {10, 20, 110, 36};
    const struct {
        const char* name;
        LabelRect client;
        int32_t width, height;
        uint32_t style;
        std::array<int32_t, 4> fitted;
    } rows[] = {
        {"right edge", window, 150, 13, kStyleRight, {-40, 20, 110, 33}},
        {"centre grows, odd half toward zero", window, 103, 13, kStyleCenter, {9, 20, 111, 33}},
        {"centre wins over right", window, 60, 13, kStyleCenter | kStyleRight, {30, 20, 90, 33}},
        {"SS_SIMPLE has the centre bit", window, 60, 13, 0x0B, {30, 20, 90, 33}},
        {"vertical centre", window, 100, 21, kStyleCenterImage, {10, 18, 110, 38}},
        {"borders keep their size", {12, 22, 109, 35}, 150, 13, 0, {10, 20, 163, 36}},
    };
    for (const auto& row : rows) {
        const LabelRect r = FitRectToText(window, row.client, row.width, row.height, row.style);
        EXPECT_EQ((std::array<int32_t, 4>{r.left, r.top, r.right, r.bottom}), row.fitted) << row.name;
    }
}

TEST(LinkLabel, UnderlineModes)
{
    using F = FontChoice;
    const struct {
        int32_t mode;
        F outside, hoverStart, hoverEnd;
    } rows[] = {
        {-1, F::Plain, F::Underlined, F::Plain},
        {1, F::Underlined, F::Keep, F::Keep},
        {0, F::Plain, F::Keep, F::Plain},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(FontForMode(row.mode), row.outside) << row.mode;
        EXPECT_EQ(FontAtHoverStart(row.mode), row.hoverStart) << row.mode;
        EXPECT_EQ(FontAtHoverEnd(row.mode), row.hoverEnd) << row.mode;
    }
}

TEST(LinkLabel, BrowserCommand)
{
    const std::string registered = "\"C:\\" + std::string(247, 'w') + ".exe\" %1";  // 259 bytes, the most read
    const std::string prefix = registered.substr(0, 257) + " ";
    const struct {
        const char* name;
        std::string registered, target;
        std::optional<std::string> command;
    } rows[] = {
        {"no placeholder", "b.exe -new", "x", "b.exe -new x"},
        {"the quoted one first", "b.exe %1 \"%1\"", "x", "b.exe %1  x"},
        {"a lead byte takes the '%' along", "a\x81%1 %1", "x", "a\x81%1  x"},
        {"so does one of the upper range", "a\xE0%1 %1", "x", "a\xE0%1  x"},
        {"519 bytes and the terminator", registered, std::string(519 - prefix.size(), 't'),
         prefix + std::string(519 - prefix.size(), 't')},
        {"520 bytes", registered, std::string(520 - prefix.size(), 't'), std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ComposeBrowserCommand(row.registered, row.target), row.command) << row.name;
}

TEST(LinkLabel, OpenErrorTexts)
{
    const std::pair<int32_t, const char*> rows[] = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {5, "The operating system denied\naccess to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, "A sharing violation occurred. "},
        {27, "The filename association is\nincomplete or invalid."},
        {28, "The DDE transaction could not\nbe completed because the request timed out."},
        {29, "The DDE transaction failed."},
        {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being "
             "processed."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
        {33, "Unknown Error (33) occurred."},
        {INT32_MIN, "Unknown Error (-2147483648) occurred."},
    };
    for (const auto& [code, text] : rows)
        EXPECT_EQ(OpenErrorMessage(code), std::string("Unable to open hyperlink:\n\n") + text) << code;
}
