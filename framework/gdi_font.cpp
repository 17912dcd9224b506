#include "framework/gdi_font.h"

BOOL CFont::CreateFontIndirect(const LOGFONTA& logFont)
{
    DeleteObject();
    // Qualified: windows.h makes this member's own name CreateFontIndirectA too.
    m_hFont = ::CreateFontIndirectA(&logFont);
    return m_hFont != nullptr;
}

void CFont::DeleteObject()
{
    if (m_hFont)
        ::DeleteObject(m_hFont);
    m_hFont = nullptr;
}
