// The exact conversions against code pages as Windows documents them, so
// that what Wine accepts and Windows refuses still fails here.
#include <gtest/gtest.h>

#include <codecvt>
#include <locale>
#include <tuple>

#include "app/editor_location.h"
#include "framework/ansi_conversion.h"

namespace {
// The size needed, or the text copied when it fits; 0 when it does not.
template <class Text>
int Give(const Text& text, typename Text::value_type* out, int size)
{
    if (size && size < static_cast<int>(text.size()))
        return 0;
    std::copy_n(text.begin(), size ? text.size() : 0, out);
    return static_cast<int>(text.size());
}

// Code page 65001: Windows fails the call for any flag but the one for
// invalid characters, and for a default character or the flag for its use.
// What has no exact form comes out as U+FFFD.
struct Utf8CodePage : AnsiCodePage {
    using Converter = std::wstring_convert<std::codecvt_utf8_utf16<char16_t>, char16_t>;
    int ToWide(uint32_t flags, const char* text, int length, WideChar* wide, int size) const override
    {
        Converter converter("\xEF\xBF\xBD", u"\uFFFD");
        return flags & ~0x8u ? 0 : Give(converter.from_bytes(text, text + length), wide, size);
    }
    int ToAnsi(uint32_t flags, const WideChar* text, int length, char* ansi, int size, const char* defaultChar,
               int* usedDefaultChar) const override
    {
        Converter converter("\xEF\xBF\xBD", u"\uFFFD");
        const bool refused = (flags & ~0x80u) || defaultChar || usedDefaultChar;
        return refused ? 0 : Give(converter.to_bytes(text, text + length), ansi, size);
    }
};

}  // namespace

TEST(AnsiConversion, ExactOrRefused)
{
    const Utf8CodePage utf8;
    std::string ansi;
    WideText wide;
    EXPECT_TRUE(AnsiFromWide(utf8, u"秀丸 😀", ansi)) << "no flag that Windows refuses for UTF-8";
    EXPECT_EQ(ansi, "\xE7\xA7\x80\xE4\xB8\xB8 \xF0\x9F\x98\x80");
    EXPECT_FALSE(WideFromAnsi(utf8, "a\xE7\xA7", wide)) << "a character cut short";
    EXPECT_FALSE(AnsiFromWide(utf8, u"a\xD800", ansi)) << "a lone surrogate";
    EXPECT_EQ(CharactersOutside(utf8, u"a\xDC00" u"😀\xD800" u"b\xDC00"), (std::vector<WideText>{u"\xDC00", u"\xD800"}))
        << "each once, a pair as one";

    // The settings hold the editor's path in 259 bytes: cut by whole characters.
    const std::string fill(257, 'a');
    const std::pair<WideText, std::string> cuts[] = {
        {WideText(fill.begin(), fill.end()) + u"秀", fill},
        {WideText(fill.begin(), fill.end()) + u"\xD800", ""},
        {WideText(fill.begin(), fill.end()) + u"a😀", fill + "a"},
        {WideText(fill.begin(), fill.end()) + u"é😀", fill + "\xC3\xA9"},
    };
    for (const auto& [setting, path] : cuts)
        EXPECT_EQ(EditorPathFromSetting(utf8, setting), path) << path.size();
}
