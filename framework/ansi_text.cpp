#include "framework/ansi_text.h"

#include <windows.h>

namespace {
class SystemCodePage : public AnsiCodePage {
public:
    int ToWide(uint32_t flags, const char* text, int length, wchar_t* wide, int size) const override
    {
        return MultiByteToWideChar(CP_ACP, flags, text, length, wide, size);
    }
    int ToAnsi(uint32_t flags, const wchar_t* text, int length, char* ansi, int size, const char* defaultChar,
               int* usedDefaultChar) const override
    {
        BOOL used = FALSE;
        const int result = WideCharToMultiByte(CP_ACP, flags, text, length, ansi, size, defaultChar,
                                               usedDefaultChar ? &used : nullptr);
        if (usedDefaultChar)
            *usedDefaultChar = used;
        return result;
    }
};
}  // namespace

const AnsiCodePage& SystemAnsiCodePage()
{
    static const SystemCodePage codePage;
    return codePage;
}

bool AnsiFromWide(const std::wstring& text, std::string& ansi)
{
    return AnsiFromWide(SystemAnsiCodePage(), text, ansi);
}

bool WideFromAnsi(const std::string& text, std::wstring& wide)
{
    return WideFromAnsi(SystemAnsiCodePage(), text, wide);
}

std::vector<std::wstring> CharactersOutsideAnsi(const std::wstring& text)
{
    return CharactersOutside(SystemAnsiCodePage(), text);
}

bool IsAnsiLeadByte(unsigned char byte)
{
    return IsDBCSLeadByte(byte) != FALSE;
}
