#include "framework/dialog_template.h"

#include <cstddef>

// The layout is Windows' (DLGTEMPLATEEX and DLGITEMTEMPLATEEX): little-endian
// fields, strings in UTF-16, each item starting on a four-byte boundary.
namespace {
class Reader {
public:
    explicit Reader(const std::vector<uint8_t>& bytes) : m_bytes(bytes) {}

    bool Fits(size_t count) const { return m_at + count <= m_bytes.size(); }
    size_t At() const { return m_at; }
    void Skip(size_t count) { m_at += count; }
    void AlignToFour() { m_at = (m_at + 3) & ~size_t{3}; }
    uint32_t Word(size_t at) const { return m_bytes[at] | m_bytes[at + 1] << 8; }
    uint32_t DoubleWord(size_t at) const { return Word(at) | Word(at + 2) << 16; }

    // A field that holds nothing (0), an ordinal (0xFFFF and a number) or a
    // string up to its terminator.
    bool SkipNameOrOrdinal()
    {
        if (!Fits(2))
            return false;
        if (Word(m_at) == 0xFFFF) {
            m_at += 4;
            return Fits(0);
        }
        return SkipString();
    }
    bool SkipString()
    {
        for (; Fits(2); m_at += 2)
            if (Word(m_at) == 0) {
                m_at += 2;
                return true;
            }
        return false;
    }

private:
    const std::vector<uint8_t>& m_bytes;
    size_t m_at = 0;
};

const uint32_t kSetFont = 0x40;      // DS_SETFONT, also in DS_SHELLFONT
const size_t kHeaderSize = 26;       // up to the menu
const size_t kItemFixedSize = 24;    // up to the window class
const size_t kFontFixedSize = 6;     // point size, weight, italic, character set
}  // namespace

bool AddControlStyle(std::vector<uint8_t>& dialogTemplate, uint32_t controlId, uint32_t style)
{
    Reader reader(dialogTemplate);
    if (!reader.Fits(kHeaderSize) || reader.Word(0) != 1 || reader.Word(2) != 0xFFFF)
        return false;
    const uint32_t items = reader.Word(16);
    const bool hasFont = reader.DoubleWord(12) & kSetFont;
    reader.Skip(kHeaderSize);
    if (!reader.SkipNameOrOrdinal() || !reader.SkipNameOrOrdinal() || !reader.SkipString())
        return false;
    if (hasFont) {
        reader.Skip(kFontFixedSize);
        if (!reader.SkipString())
            return false;
    }
    for (uint32_t item = 0; item < items; ++item) {
        reader.AlignToFour();
        const size_t start = reader.At();
        if (!reader.Fits(kItemFixedSize))
            return false;
        if (reader.DoubleWord(start + 20) == controlId) {
            const uint32_t styled = reader.DoubleWord(start + 8) | style;
            for (size_t byte = 0; byte < 4; ++byte)
                dialogTemplate[start + 8 + byte] = static_cast<uint8_t>(styled >> (8 * byte));
            return true;
        }
        reader.Skip(kItemFixedSize);
        if (!reader.SkipNameOrOrdinal() || !reader.SkipNameOrOrdinal() || !reader.Fits(2))
            return false;
        reader.Skip(2 + reader.Word(reader.At()));  // the creation data and its size
    }
    return false;
}
