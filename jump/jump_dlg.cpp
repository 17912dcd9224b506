#include "jump/jump_dlg.h"

#include "app/failure_box.h"
#include "app/jump_app.h"
#include "app/settings.h"
#include "app/single_instance.h"
#include "framework/ansi_text.h"
#include "jump/editor_launch.h"
#include "res/resource.h"
#include "version/version_dlg.h"
#include "version/version_menu.h"

namespace {
// What screen readers call the jump target's field, which has no label.
const wchar_t kInputName[] = L"ジャンプ先";

bool IsShiftDelete(const MSG& msg)
{
    return msg.message == WM_KEYDOWN && msg.wParam == VK_DELETE && GetKeyState(VK_SHIFT) < 0;
}
}  // namespace

CJumpDlg::CJumpDlg(CWnd* pParent) : CDialog(IDD_JUMP, pParent), m_comboInput(kInputName)
{
    // Without it the field takes only what fits its width: the rest of a
    // longer path, typed or pasted, would be dropped, and the shorter one
    // saved and jumped to.
    AddStyleAtCreation(IDC_INPUT, CBS_AUTOHSCROLL);
    m_hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME_ICON));
    m_uActivateMsg = RegisterWindowMessageA(kInstanceName);
    m_nHistoryMax = ReadHistoryLength(JumpApp().m_strIniPath);
}

void CJumpDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_INPUT, m_comboInput);
    DDX_CBString(pDX, IDC_INPUT, m_strInput);
}

BOOL CJumpDlg::OnInitDialog()
{
    LoadHistory(JumpApp().m_strHistoryPath, m_nHistoryMax, m_history);
    FillHistoryList(GetDlgItem(m_hWnd, IDC_INPUT));
    // The newest entry is preselected in the edit field, as the code page shows it.
    if (!m_history.empty())
        WideFromAnsi(m_history.front(), m_strInput);
    CDialog::OnInitDialog();
    if (!m_history.empty())
        SendMessageA(m_comboInput.m_hWnd, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    AppendVersionMenuItem(m_hWnd);
    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(m_comboInput.m_hWnd, CB_SETEXTENDEDUI, TRUE, 0);
    return TRUE;
}

// The list is filled before data exchange attaches the combo box to its
// object, so the insertions go straight to the combo box rather than through
// the subclass and its per-message look-up (framework/README.md). Entries are
// inserted at explicit positions, so the list keeps the history's order
// although the combo box is sorted.
void CJumpDlg::FillHistoryList(HWND combo)
{
    // Room for all entries at once rather than growing the list entry by entry.
    size_t bytes = 0;
    for (const std::string& entry : m_history)
        bytes += entry.size() + 1;
    SendMessageA(combo, CB_INITSTORAGE, m_history.size(), bytes);
    for (size_t i = 0; i < m_history.size(); ++i)
        SendMessageA(combo, CB_INSERTSTRING, i, reinterpret_cast<LPARAM>(m_history[i].c_str()));
}

// The editor reads the target from the history file, so the file is complete
// before the editor starts. Without it the editor would jump to the previous
// target: it is not started then, and the dialog stays open with the input
// for another try. The list changes only once saved.
void CJumpDlg::OnOK()
{
    UpdateData(TRUE);
    // Stored in the ANSI code page, the input would reach the editor as a
    // look-alike or '?': it is told, and stays in the field to be corrected.
    std::string input;
    if (!AnsiFromWide(m_strInput, input)) {
        ShowInputRefused(m_strInput);
        SetFocus(m_comboInput.m_hWnd);
        return;
    }
    HistoryList history = m_history;
    RememberInput(history, input, m_nHistoryMax);
    if (const uint32_t error = SaveHistory(JumpApp().m_strHistoryPath, history)) {
        ShowFailure(Failure::HistoryNotSaved, JumpApp().m_strHistoryPath, error);
        return;
    }
    m_history = std::move(history);
    if (const DWORD error = LaunchEditor()) {
        // The path came from an exact conversion, so it goes back whole.
        std::wstring editorPath;
        WideFromAnsi(JumpApp().m_strEditorPath, editorPath);
        ShowFailure(Failure::EditorNotStarted, editorPath, error);
    }
    CDialog::OnOK();
    DestroyWindow();
}

// Shift+Delete means cut in the edit field; with the list open, it removes
// the entry highlighted there, as address bars do. The field keeps its text.
BOOL CJumpDlg::PreTranslateMessage(MSG* pMsg)
{
    if (IsShiftDelete(*pMsg) && RemoveHighlightedEntry())
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

// The list shows the history in its order, so an entry's position is the same in both.
bool CJumpDlg::RemoveHighlightedEntry()
{
    HWND combo = m_comboInput.m_hWnd;
    if (!SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0))
        return false;
    const LRESULT highlighted = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (highlighted < 0 || static_cast<size_t>(highlighted) >= m_history.size())
        return false;
    SendMessageW(combo, CB_DELETESTRING, highlighted, 0);
    m_history.erase(m_history.begin() + highlighted);
    return true;
}

LRESULT CJumpDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        if (IsIconic(m_hWnd)) {
            OnPaint();
            return 0;
        }
        break;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(OnQueryDragIcon());
    case WM_SYSCOMMAND:
        OnSysCommand(static_cast<UINT>(wParam), lParam);
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

LRESULT CJumpDlg::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == m_uActivateMsg) {
        BringToForeground(m_hWnd);
        // Refusing ends the broadcast here: no other application needs it.
        return BROADCAST_QUERY_DENY;
    }
    return CDialog::DefWindowProc(message, wParam, lParam);
}

// Minimised, the dialog shows its icon centred in what is left of it.
void CJumpDlg::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    RECT client;
    GetClientRect(m_hWnd, &client);
    const int x = (client.right - client.left - cxIcon + 1) / 2;
    const int y = (client.bottom - client.top - cyIcon + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
    EndPaint(m_hWnd, &paint);
}

HCURSOR CJumpDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

void CJumpDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    if (IsVersionCommand(nID)) {
        CVersionDlg box;
        box.DoModal();
        return;
    }
    CDialog::WindowProc(WM_SYSCOMMAND, nID, lParam);
}
