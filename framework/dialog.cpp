#include "framework/dialog.h"

#include "framework/dialog_template.h"
#include "framework/win_app.h"

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control)
{
    if (!control.m_hWnd)
        control.SubclassWindow(GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC));
}

void DDX_CBString(CDataExchange* pDX, int nIDC, std::wstring& value)
{
    HWND combo = GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
    if (!pDX->m_bSaveAndValidate) {
        SetWindowTextW(combo, value.c_str());
        return;
    }
    value = GetWideWindowText(combo);
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
    HWND hWnd = CreateFromTemplate(owner);
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

void CDialog::AddStyleAtCreation(int nIDC, DWORD dwStyle)
{
    m_addedStyles.emplace_back(nIDC, dwStyle);
}

HWND CDialog::CreateFromTemplate(HWND owner)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const LPARAM self = reinterpret_cast<LPARAM>(this);
    if (m_addedStyles.empty())
        return CreateDialogParamW(instance, MAKEINTRESOURCEW(m_nIDTemplate), owner, DialogProc, self);
    const HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(m_nIDTemplate), reinterpret_cast<LPCWSTR>(RT_DIALOG));
    const auto* bytes = resource ? static_cast<const uint8_t*>(LockResource(LoadResource(instance, resource))) : nullptr;
    if (!bytes)
        return nullptr;
    std::vector<uint8_t> copy(bytes, bytes + SizeofResource(instance, resource));
    for (const auto& [control, style] : m_addedStyles)
        AddControlStyle(copy, control, style);
    return CreateDialogIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(copy.data()), owner, DialogProc,
                                      self);
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
        // Wide throughout: an ANSI GetMessage would hand a typed character on
        // in the code page, losing what it cannot write.
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            // WM_QUIT belongs to an outer loop: hand it on and stop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (PreTranslateInput(&msg) || (m_hWnd && IsDialogMessageW(m_hWnd, &msg)))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
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
    if (message == WM_INITDIALOG)
        return OnInitDialog();
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

LRESULT CDialog::DefWindowProc(UINT, WPARAM, LPARAM)
{
    m_bLeftToDialogManager = true;
    return 0;
}

namespace {
// The messages whose answer a dialog procedure returns itself; every other
// answer goes through DWLP_MSGRESULT.
bool AnswersDirectly(UINT message)
{
    return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_INITDIALOG ||
           message == WM_COMPAREITEM || message == WM_VKEYTOITEM || message == WM_CHARTOITEM ||
           message == WM_QUERYDRAGICON;
}
}  // namespace

// The dialog object is bound through the dialog procedure rather than a
// subclass, which would cost a window-property look-up per message
// (framework/README.md): the dialog manager calls it for every message
// anyway. The object is attached on WM_INITDIALOG; what it leaves to
// DefWindowProc goes back to the dialog manager as FALSE.
INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        reinterpret_cast<CDialog*>(lParam)->Attach(hWnd);
    auto* self = static_cast<CDialog*>(FromHandlePermanent(hWnd));
    if (!self)
        return FALSE;

    // Handlers may send messages to the dialog, so each message keeps its own mark.
    const bool outerMark = self->m_bLeftToDialogManager;
    self->m_bLeftToDialogManager = false;
    const LRESULT result = self->RouteMessage(message, wParam, lParam);
    const bool leftToDialogManager = self->m_bLeftToDialogManager;
    self->m_bLeftToDialogManager = outerMark;

    if (leftToDialogManager)
        return FALSE;
    if (AnswersDirectly(message))
        return static_cast<INT_PTR>(result);
    SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}
