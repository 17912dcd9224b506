#pragma once
#include <string>
#include <utility>
#include <vector>

#include "framework/wnd.h"

class CDialog;

// One direction of data exchange between a dialog's controls and its members.
struct CDataExchange {
    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;  // TRUE: controls to members
};

// Attaches the control once; later exchanges leave it attached.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control);
// A combo box's edit text, in UTF-16 as the user typed it.
void DDX_CBString(CDataExchange* pDX, int nIDC, std::wstring& value);

// A modal dialog from a dialog template resource of the executable. The
// dialog and its controls are Unicode windows, so that they take whatever
// the user types or pastes, also characters outside the ANSI code page
// (which an ANSI window would turn into a look-alike or '?' before the
// program sees them).
class CDialog : public CWnd {
public:
    CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Runs the dialog in the framework's own modal loop and returns the code
    // given to EndDialog (-1 when the dialog cannot be created). The owner is
    // the parent, or the application's main window when there is none, and is
    // disabled while the dialog is open.
    INT_PTR DoModal();
    void EndDialog(int nResult);

    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

protected:
    // Adds a style to a control of the template before the dialog is made: for
    // a style that a control takes only when it is created. Extended
    // templates (DIALOGEX) only.
    void AddStyleAtCreation(int nIDC, DWORD dwStyle);

    virtual void DoDataExchange(CDataExchange*) {}
    // The default sends the members to the controls and returns TRUE, so the
    // dialog manager focuses the first tab stop.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Leaves the message to the dialog manager: the dialog procedure answers
    // it FALSE, so whatever the calling handler returns is dropped, and the
    // dialog manager's default processing runs once the handler has returned,
    // not here.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND CreateFromTemplate(HWND owner);
    void RunModalLoop();
    BOOL PreTranslateInput(MSG* pMsg);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    std::vector<std::pair<int, DWORD>> m_addedStyles;
    bool m_bInModalLoop = false;
    bool m_bLeftToDialogManager = false;
    int m_nModalResult = -1;
};
