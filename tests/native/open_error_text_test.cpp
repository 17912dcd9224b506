#include "controls/open_error_text.h"

#include <gtest/gtest.h>

namespace {
const std::string kPrefix = "Unable to open hyperlink:\n\n";
}

TEST(OpenErrorMessage, EveryKnownCodeHasItsText)
{
    const std::pair<int32_t, const char*> table[] = {
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
    };
    for (const auto& [code, text] : table)
        EXPECT_EQ(OpenErrorMessage(code), kPrefix + text) << code;
}

TEST(OpenErrorMessage, OtherCodesAreShownInSignedDecimal)
{
    EXPECT_EQ(OpenErrorMessage(1), kPrefix + "Unknown Error (1) occurred.");
    EXPECT_EQ(OpenErrorMessage(33), kPrefix + "Unknown Error (33) occurred.");
    EXPECT_EQ(OpenErrorMessage(-5), kPrefix + "Unknown Error (-5) occurred.");
    EXPECT_EQ(OpenErrorMessage(INT32_MIN), kPrefix + "Unknown Error (-2147483648) occurred.");
}
