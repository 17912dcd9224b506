#include "controls/open_error_text.h"

#include <cstdio>

namespace {
const char* KnownErrorText(int32_t nError)
{
    switch (nError) {
    case 0: return "The operating system is out\nof memory or resources.";
    case 2: return "The specified file was not found.";
    case 3: return "The specified path was not found.";
    case 5: return "The operating system denied\naccess to the specified file.";
    case 8: return "There was not enough memory to complete the operation.";
    case 11: return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case 26: return "A sharing violation occurred. ";
    case 27: return "The filename association is\nincomplete or invalid.";
    case 28: return "The DDE transaction could not\nbe completed because the request timed out.";
    case 29: return "The DDE transaction failed.";
    case 30:
        return "The DDE transaction could not\nbe completed because other DDE transactions\n"
               "were being processed.";
    case 31: return "There is no application associated\nwith the given filename extension.";
    case 32: return "The specified dynamic-link library was not found.";
    default: return nullptr;
    }
}
}  // namespace

std::string OpenErrorMessage(int32_t nError)
{
    std::string message = "Unable to open hyperlink:\n\n";
    if (const char* known = KnownErrorText(nError)) {
        message += known;
    } else {
        char unknown[48];
        std::snprintf(unknown, sizeof unknown, "Unknown Error (%d) occurred.", static_cast<int>(nError));
        message += unknown;
    }
    return message;
}
