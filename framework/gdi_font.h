#pragma once
#include <windows.h>

// A font the object created itself and deletes with it.
class CFont {
public:
    CFont() = default;
    ~CFont() { DeleteObject(); }
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    // Replaces a font made earlier.
    BOOL CreateFontIndirect(const LOGFONTA& logFont);
    void DeleteObject();

    operator HFONT() const { return m_hFont; }

private:
    HFONT m_hFont = nullptr;
};
