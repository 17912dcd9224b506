#include "framework/ansi_text.h"

#include <windows.h>

std::wstring WideFromAnsi(const std::string& text)
{
    const int length = static_cast<int>(text.size());
    std::wstring wide(MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

bool AnsiFromWide(const std::wstring& text, std::string& ansi)
{
    const int length = static_cast<int>(text.size());
    BOOL lossy = FALSE;
    ansi.assign(WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr, &lossy),
                '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, ansi.data(), static_cast<int>(ansi.size()),
                        nullptr, &lossy);
    return !lossy;
}

bool IsAnsiLeadByte(unsigned char byte)
{
    return IsDBCSLeadByte(byte) != FALSE;
}
