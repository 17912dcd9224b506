#include "controls/folder_picker.h"

#include <shellapi.h>

#include <cstring>

#include "controls/dbcs_text.h"
#include "framework/ansi_text.h"
#include "framework/system_library.h"
#include "framework/win_app.h"

namespace {
// The thread's main window owns the browser; during start-up there is none.
HWND OwnerWindow()
{
    CWnd* mainWnd = AfxGetMainWnd();
    return mainWnd ? mainWnd->m_hWnd : nullptr;
}
}  // namespace

CFolderPicker::CFolderPicker(UINT uFlags, const char* pszTitle, int nRootCsidl) : m_szTitle{}
{
    CFolderPicker::ResetBrowseState();
    CFolderPicker::SetBrowseOptions(uFlags, pszTitle, nRootCsidl);
}

void CFolderPicker::SetBrowseOptions(UINT uFlags, const char* pszTitle, int nRootCsidl)
{
    m_uBrowseFlags = uFlags;
    m_nRootCsidl = nRootCsidl;
    if (pszTitle)
        CopyWithoutSplitting(m_szTitle, pszTitle, sizeof m_szTitle - 1, IsAnsiLeadByte);
}

const char* CFolderPicker::ResultText(int nWhich) const
{
    return nWhich == 1 ? m_szChosenPath : m_szChosenName;
}

int CFolderPicker::GetResult(char* pszBuf, int nMaxBytes, int nWhich) const
{
    const char* text = ResultText(nWhich);
    // A negative size leaves no room even for the terminator.
    if (!*text || nMaxBytes < 0)
        return 0;
    return static_cast<int>(CopyWithoutSplitting(pszBuf, text, nMaxBytes, IsAnsiLeadByte));
}

void CFolderPicker::GetResult(std::string& strOut, int nWhich) const
{
    strOut = ResultText(nWhich);
}

const wchar_t* CFolderPicker::GetResultPathW() const
{
    return m_szChosenPathW;
}

const wchar_t* CFolderPicker::GetResultNameW() const
{
    return m_szChosenNameW;
}

int CFolderPicker::Browse()
{
    ResetBrowseState();
    return RunBrowse();
}

int CFolderPicker::Browse(int nInitialCsidl)
{
    ResetBrowseState();
    m_nInitialCsidl = nInitialCsidl;
    return RunBrowse();
}

int CFolderPicker::Browse(const char* pszInitialPath)
{
    ResetBrowseState();
    if (pszInitialPath && std::strlen(pszInitialPath) < sizeof m_szInitialPath)
        std::strcpy(m_szInitialPath, pszInitialPath);
    return RunBrowse();
}

void CFolderPicker::ResetBrowseState()
{
    m_pidlRoot = nullptr;
    m_pidlInitial = nullptr;
    m_nInitialCsidl = 0;
    std::memset(m_szChosenPath, 0, sizeof m_szChosenPath);
    std::memset(m_szInitialPath, 0, sizeof m_szInitialPath);
    std::memset(m_szChosenName, 0, sizeof m_szChosenName);
    std::memset(m_szChosenPathW, 0, sizeof m_szChosenPathW);
    std::memset(m_szChosenNameW, 0, sizeof m_szChosenNameW);
}

int CFolderPicker::RunBrowse()
{
    if (!CsidlToPidl(m_nRootCsidl, &m_pidlRoot))
        return -1;
    if (!CsidlToPidl(m_nInitialCsidl, &m_pidlInitial)) {
        CoTaskMemFree(m_pidlRoot);
        return -1;
    }

    BROWSEINFOA info = {};
    info.hwndOwner = OwnerWindow();
    info.pidlRoot = m_pidlRoot;
    info.pszDisplayName = m_szChosenName;
    info.lpszTitle = m_szTitle;
    info.ulFlags = m_uBrowseFlags;
    info.lpfn = BrowseCallbackProc;
    info.lParam = reinterpret_cast<LPARAM>(this);

    // The browser's newer styles need COM on this thread. A thread that has it
    // already keeps it; one in the multithreaded apartment is left as it is.
    const HRESULT comInit = CoInitialize(nullptr);
    const auto browse = SystemFunction<decltype(&SHBrowseForFolderA)>("shell32.dll", "SHBrowseForFolderA");
    LPITEMIDLIST pidlChosen = browse ? browse(&info) : nullptr;
    if (SUCCEEDED(comInit))
        CoUninitialize();

    if (!pidlChosen) {
        FreePidls(nullptr);
        return IDCANCEL;
    }
    // The path is taken in UTF-16, and its ANSI form kept only if the code
    // page writes it exactly and it fits: a look-alike would name another
    // folder, or none. An item without a file-system path still counts as
    // chosen, with both paths empty: the shell lets the user choose a
    // network server even when only folders are asked for, and gives no path
    // for one of 260 characters or more.
    const auto getPath = SystemFunction<decltype(&SHGetPathFromIDListW)>("shell32.dll", "SHGetPathFromIDListW");
    if (!getPath || !getPath(pidlChosen, m_szChosenPathW))
        m_szChosenPathW[0] = L'\0';
    const auto getInfo = SystemFunction<decltype(&SHGetFileInfoW)>("shell32.dll", "SHGetFileInfoW");
    SHFILEINFOW item = {};
    if (getInfo && getInfo(reinterpret_cast<const wchar_t*>(pidlChosen), 0, &item, sizeof item,
                           SHGFI_PIDL | SHGFI_DISPLAYNAME))
        lstrcpynW(m_szChosenNameW, item.szDisplayName, MAX_PATH);
    FreePidls(pidlChosen);
    std::string ansi;
    if (AnsiFromWide(m_szChosenPathW, ansi) && ansi.size() < sizeof m_szChosenPath)
        std::strcpy(m_szChosenPath, ansi.c_str());
    return IDOK;
}

BOOL CFolderPicker::CsidlToPidl(int nCsidl, LPITEMIDLIST* ppidl)
{
    // 0 is the desktop: as a root the shell's default anyway, as an initial
    // selection "none".
    if (nCsidl == 0) {
        *ppidl = nullptr;
        return TRUE;
    }
    LPITEMIDLIST pidl = nullptr;
    const auto locate =
        SystemFunction<decltype(&SHGetSpecialFolderLocation)>("shell32.dll", "SHGetSpecialFolderLocation");
    if (!locate || locate(OwnerWindow(), nCsidl, &pidl) != S_OK)
        return FALSE;
    *ppidl = pidl;
    return TRUE;
}

void CFolderPicker::FreePidls(LPITEMIDLIST pidlChosen)
{
    CoTaskMemFree(pidlChosen);
    CoTaskMemFree(m_pidlRoot);
    CoTaskMemFree(m_pidlInitial);
}

BOOL CFolderPicker::OnBrowseInit()
{
    return TRUE;
}

void CFolderPicker::OnBrowseSelChanged(HWND, LPITEMIDLIST)
{
}

void CFolderPicker::OnBrowseValidateFailed(const char*)
{
}

int CALLBACK CFolderPicker::BrowseCallbackProc(HWND hDlg, UINT message, LPARAM lParam,
                                               LPARAM lpData)
{
    CFolderPicker* self = reinterpret_cast<CFolderPicker*>(lpData);
    switch (message) {
    case BFFM_INITIALIZED:
        // A path wins over a special folder, though Browse never sets both.
        if (self->m_szInitialPath[0])
            SendMessageA(hDlg, BFFM_SETSELECTIONA, TRUE,
                         reinterpret_cast<LPARAM>(self->m_szInitialPath));
        else if (self->m_pidlInitial)
            SendMessageA(hDlg, BFFM_SETSELECTIONA, FALSE,
                         reinterpret_cast<LPARAM>(self->m_pidlInitial));
        // The framework lets go of the window again when the shell destroys it.
        self->SubclassWindow(hDlg);
        self->OnBrowseInit();
        break;
    case BFFM_SELCHANGED:
        self->OnBrowseSelChanged(hDlg, reinterpret_cast<LPITEMIDLIST>(lParam));
        break;
    case BFFM_VALIDATEFAILEDA:
        self->OnBrowseValidateFailed(reinterpret_cast<const char*>(lParam));
        break;
    }
    // After a rejected name, 0 lets the browser close.
    return 0;
}
