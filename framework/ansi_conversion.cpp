#include "framework/ansi_conversion.h"

#include <algorithm>

// No flags and no default character: for code page 65001 (UTF-8) Windows
// refuses WC_NO_BEST_FIT_CHARS and the used-default-character argument and
// fails the call. Exactness is checked instead by converting back.
namespace {
bool ConvertToWide(const AnsiCodePage& codePage, const std::string& text, WideText& wide)
{
    wide.clear();
    const int length = static_cast<int>(text.size());
    const int size = length ? codePage.ToWide(0, text.data(), length, nullptr, 0) : 0;
    wide.resize(size);
    return size == 0 ? length == 0 : codePage.ToWide(0, text.data(), length, wide.data(), size) == size;
}

bool ConvertToAnsi(const AnsiCodePage& codePage, const WideText& text, std::string& ansi)
{
    ansi.clear();
    const int length = static_cast<int>(text.size());
    const int size = length ? codePage.ToAnsi(0, text.data(), length, nullptr, 0, nullptr, nullptr) : 0;
    ansi.resize(size);
    return size == 0 ? length == 0
                     : codePage.ToAnsi(0, text.data(), length, ansi.data(), size, nullptr, nullptr) == size;
}

bool IsHighSurrogate(WideChar c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(WideChar c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// How many code units the character at the position takes.
std::size_t CharacterLength(const WideText& text, std::size_t at)
{
    return at + 1 < text.size() && IsHighSurrogate(text[at]) && IsLowSurrogate(text[at + 1]) ? 2 : 1;
}

void DropLastCharacter(WideText& text)
{
    const std::size_t size = text.size();
    const bool pair = size >= 2 && IsLowSurrogate(text[size - 1]) && IsHighSurrogate(text[size - 2]);
    text.resize(size - (pair ? 2 : 1));
}
}  // namespace

bool AnsiFromWide(const AnsiCodePage& codePage, const WideText& text, std::string& ansi)
{
    WideText back;
    return ConvertToAnsi(codePage, text, ansi) && ConvertToWide(codePage, ansi, back) && back == text;
}

bool WideFromAnsi(const AnsiCodePage& codePage, const std::string& text, WideText& wide)
{
    std::string back;
    return ConvertToWide(codePage, text, wide) && ConvertToAnsi(codePage, wide, back) && back == text;
}

std::vector<WideText> CharactersOutside(const AnsiCodePage& codePage, const WideText& text)
{
    std::vector<WideText> outside;
    std::string ansi;
    for (std::size_t at = 0; at < text.size();) {
        const WideText character = text.substr(at, CharacterLength(text, at));
        at += character.size();
        if (!AnsiFromWide(codePage, character, ansi) &&
            std::find(outside.begin(), outside.end(), character) == outside.end())
            outside.push_back(character);
    }
    return outside;
}

bool AnsiStartWithin(const AnsiCodePage& codePage, WideText text, std::size_t maxBytes, std::string& ansi)
{
    bool exact = AnsiFromWide(codePage, text, ansi);
    while (exact && ansi.size() > maxBytes) {
        DropLastCharacter(text);
        exact = AnsiFromWide(codePage, text, ansi);
    }
    if (!exact)
        ansi.clear();
    return exact;
}
