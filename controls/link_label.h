#pragma once
#include <windows.h>

#include <string>

#include "framework/gdi_font.h"
#include "controls/link_label_logic.h"
#include "framework/tool_tip_ctrl.h"
#include "framework/controls.h"

// A dialog's static text turned into a hyperlink: link, visited and hover
// colours (the system's where those would be hard to read), an underline
// while the pointer is over it, a hand cursor, a tooltip naming the target, a
// size that fits the text, and a click that opens the target. Tab reaches it,
// and Enter or Space opens it as a click does; screen readers learn it is a
// link. The control makes no window of its own; everything is set up when
// the dialog attaches its static control (DDX_Control).
class CLinkLabel : public CStatic {
public:
    CLinkLabel();
    ~CLinkLabel() override;

    // Once attached, the control is resized to its text, which does not
    // change, and the tooltip shows the new target.
    void SetTarget(std::string strTarget);
    void SetFollowed(BOOL bFollowed);
    // -1: underlined during a hover episode only; 1: always; others: never.
    void SetUnderlineMode(int nMode);

    BOOL DestroyWindow() override;
    // Lets the tooltip see the mouse messages meant for the control.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    HBRUSH CtlColor(HDC hDC);
    BOOL OnSetCursor();
    void OnMouseMove();
    void OnTimer();
    void OnStnClicked();
    BOOL OnEraseBkgnd(HDC hDC);
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);

    void FitToText();
    void LoadHandCursor();
    void SelectFont(FontChoice choice);
    int OpenTarget(const char* lpszTarget, int nShowCmd);
    static LONG QueryRegDefault(HKEY hKey, const char* lpszSubKey, std::string& strValue);
    void ShowOpenError(int nError);

    COLORREF m_crLink;
    COLORREF m_crVisited;
    COLORREF m_crHover;
    BOOL m_bHover;
    BOOL m_bFollowed;
    int m_nUnderlineMode;
    BOOL m_bAutoSize;
    std::string m_strTarget;
    CFont m_fontUnderlined;
    CFont m_fontPlain;
    HCURSOR m_hHandCursor;
    CToolTipCtrl m_wndTip;
    // Not a timer of its own: the identifier the hover timer runs under.
    UINT m_nHoverTimer;
};
