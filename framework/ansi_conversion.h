#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Text in UTF-16: the system's wide strings on Windows, char16_t elsewhere,
// where these rules are tested natively.
#ifdef _WIN32
using WideText = std::wstring;
#define WIDE_TEXT(text) L##text
#else
using WideText = std::u16string;
#define WIDE_TEXT(text) u##text
#endif
using WideChar = WideText::value_type;

// The system's two conversions between its ANSI code page and UTF-16, with
// the arguments that MultiByteToWideChar and WideCharToMultiByte take: a
// size of 0 asks for the size needed, and 0 comes back on failure.
class AnsiCodePage {
public:
    virtual int ToWide(uint32_t flags, const char* text, int length, WideChar* wide, int size) const = 0;
    virtual int ToAnsi(uint32_t flags, const WideChar* text, int length, char* ansi, int size,
                       const char* defaultChar, int* usedDefaultChar) const = 0;

protected:
    ~AnsiCodePage() = default;
};

// Both conversions are exact or refused: false when the system cannot
// convert the text, or when a character has no exact form on the other side
// (it would come out as a look-alike, '?' or a replacement character). The
// text is converted as far as the system can even then, for showing; a path
// that is stored, compared or started takes only a true.
bool AnsiFromWide(const AnsiCodePage& codePage, const WideText& text, std::string& ansi);
bool WideFromAnsi(const AnsiCodePage& codePage, const std::string& text, WideText& wide);

// The characters of the text that have no exact form in the code page, each
// once, in the order they first come; a surrogate pair is one character.
std::vector<WideText> CharactersOutside(const AnsiCodePage& codePage, const WideText& text);

// The longest start of the text, cut by whole characters, whose exact ANSI
// form takes at most maxBytes. False, and ansi empty, when the text has a
// character without an exact form.
bool AnsiStartWithin(const AnsiCodePage& codePage, WideText text, std::size_t maxBytes, std::string& ansi);
