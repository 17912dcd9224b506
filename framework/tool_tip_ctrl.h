#pragma once
#include <windows.h>

// A tooltip window that the object creates and destroys. Tools are areas of
// other windows; the tooltip learns of the mouse only through RelayEvent.
class CToolTipCtrl {
public:
    CToolTipCtrl() = default;
    ~CToolTipCtrl() { DestroyWindow(); }
    CToolTipCtrl(const CToolTipCtrl&) = delete;
    CToolTipCtrl& operator=(const CToolTipCtrl&) = delete;

    // The tooltip is a pop-up: its owner becomes the top-level window above
    // hParentWnd. Replaces a tooltip made earlier.
    BOOL Create(HWND hParentWnd, DWORD dwStyle = 0);
    void DestroyWindow();

    BOOL AddTool(HWND hWnd, const char* lpszText, const RECT& rcTool, UINT_PTR nIDTool);
    void UpdateTipText(const char* lpszText, HWND hWnd, UINT_PTR nIDTool);
    void RelayEvent(MSG* pMsg);

    HWND m_hWnd = nullptr;
};
