#include "framework/tool_tip_ctrl.h"

#include "framework/common_controls.h"

namespace {
// The record size every comctl32 version accepts, the older one that ships
// without a manifest included.
TOOLINFOA ToolInfo(HWND hWnd, UINT_PTR nIDTool, const char* lpszText)
{
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = hWnd;
    info.uId = nIDTool;
    info.lpszText = const_cast<char*>(lpszText);
    return info;
}
}  // namespace

BOOL CToolTipCtrl::Create(HWND hParentWnd, DWORD dwStyle)
{
    DestroyWindow();
    InitCommonControlClasses(ICC_TAB_CLASSES);
    m_hWnd = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hParentWnd, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    return m_hWnd != nullptr;
}

// The tooltip may have gone with its owner already; IsWindow tells.
void CToolTipCtrl::DestroyWindow()
{
    if (m_hWnd && IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

BOOL CToolTipCtrl::AddTool(HWND hWnd, const char* lpszText, const RECT& rcTool, UINT_PTR nIDTool)
{
    TOOLINFOA info = ToolInfo(hWnd, nIDTool, lpszText);
    info.rect = rcTool;
    return static_cast<BOOL>(SendMessageA(m_hWnd, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
}

void CToolTipCtrl::UpdateTipText(const char* lpszText, HWND hWnd, UINT_PTR nIDTool)
{
    TOOLINFOA info = ToolInfo(hWnd, nIDTool, lpszText);
    SendMessageA(m_hWnd, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::RelayEvent(MSG* pMsg)
{
    SendMessageA(m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
}
