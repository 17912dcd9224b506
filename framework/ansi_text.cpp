#include "framework/ansi_text.h"

#include <windows.h>

// No flags and no default character: for code page 65001 Windows refuses
// WC_NO_BEST_FIT_CHARS and the used-default-character flag, and fails the
// call. Exactness is checked instead by converting back.
namespace {
bool ConvertToWide(const std::string& text, std::wstring& wide)
{
    wide.clear();
    const int length = static_cast<int>(text.size());
    const int size = length ? MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0) : 0;
    wide.resize(size);
    return size == 0 ? length == 0 : MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), size) == size;
}

bool ConvertToAnsi(const std::wstring& text, std::string& ansi)
{
    ansi.clear();
    const int length = static_cast<int>(text.size());
    const int size = length ? WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr) : 0;
    ansi.resize(size);
    return size == 0 ? length == 0
                     : WideCharToMultiByte(CP_ACP, 0, text.data(), length, ansi.data(), size, nullptr, nullptr) == size;
}
}  // namespace

bool AnsiFromWide(const std::wstring& text, std::string& ansi)
{
    std::wstring back;
    return ConvertToAnsi(text, ansi) && ConvertToWide(ansi, back) && back == text;
}

bool WideFromAnsi(const std::string& text, std::wstring& wide)
{
    std::string back;
    return ConvertToWide(text, wide) && ConvertToAnsi(wide, back) && back == text;
}

bool IsAnsiLeadByte(unsigned char byte)
{
    return IsDBCSLeadByte(byte) != FALSE;
}
