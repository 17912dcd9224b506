#include "framework/dialog.h"

#include "framework/win_app.h"

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control)
{
    if (!control.m_hWnd)
        control.SubclassWindow(GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC));
}

void DDX_CBString(CDataExchange* pDX, int nIDC, std::string& value)
{
    HWND combo = GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
    if (!pDX->m_bSaveAndValidate) {
        SetWindowTextA(combo, value.c_str());
        return;
    }
    value = GetWindowTextString(combo);
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

INT_PTR CDialog::DoModal()
{
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner && AfxGetApp() && AfxGetApp()->m_pMainWnd != this && AfxGetApp()->m_pMainWnd)
        owner = AfxGetApp()->m_pMainWnd->m_hWnd;
    const bool disableOwner = owner && IsWindowEnabled(owner);
    if (disableOwner)
        EnableWindow(owner, FALSE);

    m_nModalResult = -1;
    m_bInModalLoop = true;
    HWND hWnd = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nIDTemplate),
                                   owner, DialogProc, reinterpret_cast<LPARAM>(this));
    if (hWnd && m_bInModalLoop) {
        ShowWindow(hWnd, SW_SHOWNORMAL);
        RunModalLoop();
    }
    m_bInModalLoop = false;

    // The owner comes back before the dialog goes, so activation returns to it.
    if (disableOwner)
        EnableWindow(owner, TRUE);
    if (hWnd && IsWindow(hWnd))
        ::DestroyWindow(hWnd);
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    m_bInModalLoop = false;
    // Wakes the loop, which may be waiting in GetMessage.
    if (m_hWnd)
        PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

void CDialog::RunModalLoop()
{
    MSG msg;
    while (m_bInModalLoop) {
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
            // WM_QUIT belongs to an outer loop: hand it on and stop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (PreTranslateInput(&msg) || (m_hWnd && IsDialogMessageA(m_hWnd, &msg)))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Offers the message to the objects of its target window and of every parent
// up to this dialog, innermost first.
BOOL CDialog::PreTranslateInput(MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = GetParent(hWnd)) {
        CWnd* wnd = FromHandlePermanent(hWnd);
        if (wnd && wnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == m_hWnd)
            break;
    }
    return FALSE;
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx = {this, bSaveAndValidate};
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // A dialog destroyed without EndDialog must not leave its loop running.
    if (message == WM_NCDESTROY)
        m_bInModalLoop = false;
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDOK:
            OnOK();
            return 0;
        case IDCANCEL:
            OnCancel();
            return 0;
        }
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// The dialog manager's procedure sees only what the object let through. It
// attaches the object on WM_INITDIALOG and otherwise asks for the dialog
// manager's default handling.
INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    CDialog* self = reinterpret_cast<CDialog*>(lParam);
    self->SubclassWindow(hWnd);
    return self->OnInitDialog();
}
