// The exact conversions against code pages as Windows documents them, so
// that what Wine accepts and Windows refuses still fails here.
#include <gtest/gtest.h>

#include <tuple>

#include "framework/ansi_conversion.h"

namespace {
// The size needed, or the text copied when it fits; 0 when it does not.
template <class Text>
int Give(const Text& text, typename Text::value_type* out, int size)
{
    if (size && size < static_cast<int>(text.size()))
        return 0;
    if (size)
        std::copy(text.begin(), text.end(), out);
    return static_cast<int>(text.size());
}

// Code page 65001: Windows fails the call for any flag but the one for
// invalid characters, and for a default character or the flag for its use.
// What has no exact form becomes U+FFFD.
struct Utf8CodePage : AnsiCodePage {
    int ToWide(uint32_t flags, const char* text, int length, WideChar* wide, int size) const override
    {
        std::u16string out;
        for (int at = 0; at < length && !(flags & ~0x8u);) {
            const auto lead = static_cast<unsigned char>(text[at++]);
            const int more = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
            char32_t c = more < 0 ? 0xFFFD : lead & (0xFF >> (more + 1 + (more > 0)));
            for (int i = 0; i < more; ++i)
                c = at < length && (text[at] & 0xC0) == 0x80 ? (c << 6) | (text[at++] & 0x3F) : 0xFFFD;
            if (c > 0xFFFF)
                out += {static_cast<char16_t>(0xD7C0 + (c >> 10)), static_cast<char16_t>(0xDC00 | (c & 0x3FF))};
            else
                out += static_cast<char16_t>(c);
        }
        return flags & ~0x8u ? 0 : Give(out, wide, size);
    }
    int ToAnsi(uint32_t flags, const WideChar* text, int length, char* ansi, int size, const char* defaultChar,
               int* usedDefaultChar) const override
    {
        if ((flags & ~0x80u) || defaultChar || usedDefaultChar)
            return 0;
        std::string out;
        for (int at = 0; at < length; ++at) {
            char32_t c = text[at];
            const bool pair = (c & 0xFC00) == 0xD800 && at + 1 < length && (text[at + 1] & 0xFC00) == 0xDC00;
            if (pair)
                c = 0x10000 + ((c - 0xD800) << 10) + (text[++at] - 0xDC00);
            else if ((c & 0xF800) == 0xD800)
                c = 0xFFFD;
            const int more = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
            out += static_cast<char>(more ? ((0xFF << (7 - more)) & 0xFF) | (c >> (6 * more)) : c);
            for (int i = more - 1; i >= 0; --i)
                out += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
        }
        return Give(out, ansi, size);
    }
};

// A single-byte code page such as 1252: without flags, Windows writes a
// look-alike for a character it lacks where it knows one, else '?'.
struct LatinCodePage : AnsiCodePage {
    int ToWide(uint32_t, const char* text, int length, WideChar* wide, int size) const override
    {
        std::u16string out;
        for (int at = 0; at < length; ++at)
            out += static_cast<unsigned char>(text[at]);
        return Give(out, wide, size);
    }
    int ToAnsi(uint32_t, const WideChar* text, int length, char* ansi, int size, const char*, int*) const override
    {
        std::string out;
        for (int at = 0; at < length; ++at)
            out += static_cast<char>(text[at] <= 0xFF ? text[at] : text[at] == u'ē' ? 'e' : '?');
        return Give(out, ansi, size);
    }
};
}  // namespace

TEST(AnsiConversion, ExactOrRefused)
{
    const Utf8CodePage utf8;
    const LatinCodePage latin;
    std::string ansi;
    WideText wide;
    EXPECT_TRUE(AnsiFromWide(utf8, u"秀丸 😀", ansi)) << "no flag that Windows refuses for UTF-8";
    EXPECT_EQ(ansi, "\xE7\xA7\x80\xE4\xB8\xB8 \xF0\x9F\x98\x80");
    EXPECT_FALSE(WideFromAnsi(utf8, "a\xE7\xA7", wide)) << "a character cut short";
    EXPECT_FALSE(AnsiFromWide(utf8, u"a\xD800", ansi)) << "a lone surrogate";
    EXPECT_TRUE(AnsiFromWide(latin, u"Zoë", ansi));
    EXPECT_FALSE(AnsiFromWide(latin, u"Zoē", ansi)) << "a look-alike";
    EXPECT_EQ(CharactersOutside(latin, u"aē한ëē😀"), (std::vector<WideText>{u"ē", u"한", u"😀"}));

    // The settings hold at most so many bytes: cut by whole characters.
    const std::tuple<WideText, size_t, bool, std::string> cuts[] = {
        {u"ab秀", 4, true, "ab"},
        {u"ab秀", 5, true, "ab\xE7\xA7\x80"},
        {u"ab😀", 5, true, "ab"},
        {u"ab😀", 6, true, "ab\xF0\x9F\x98\x80"},
        {u"a\xD800", 1, false, ""},
    };
    for (const auto& [text, maxBytes, exact, start] : cuts) {
        EXPECT_EQ(AnsiStartWithin(utf8, text, maxBytes, ansi), exact) << maxBytes;
        EXPECT_EQ(ansi, start) << maxBytes;
    }
}
