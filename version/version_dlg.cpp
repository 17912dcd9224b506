#include "version/version_dlg.h"

#include <string>

#include "framework/win_app.h"
#include "res/resource.h"
#include "version/version_info.h"

// No parent: the framework makes the main window, the jump dialog, the owner.
CVersionDlg::CVersionDlg() : CDialog(IDD_VERSION)
{
}

void CVersionDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_HOMEPAGE_LINK, m_linkHome);
}

BOOL CVersionDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_linkHome.SetTarget(WEXMOOR_HOMEPAGE);

    // The name follows the executable's file name, so a renamed copy shows its own.
    if (HWND version = GetDlgItem(m_hWnd, IDC_VERSION_TEXT)) {
        const std::wstring text = AfxGetAppName() + std::wstring(L" Version " WEXMOOR_VERSION_TEXT);
        SetWindowTextW(version, text.c_str());
    }
    if (HWND copyright = GetDlgItem(m_hWnd, IDC_COPYRIGHT_TEXT))
        SetWindowTextA(copyright, WEXMOOR_COPYRIGHT);
    return TRUE;
}
