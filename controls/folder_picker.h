#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "framework/wnd.h"

// The shell's modal folder browser, holding on to the chosen folder's path and
// display name. While the browser is open the object is attached to its
// window, so a derived class can react through the OnBrowse notifications and
// address the browser through the object. Every step of a browse is virtual.
class CFolderPicker : public CWnd {
public:
    // Arguments as for SetBrowseOptions; a NULL title leaves the title empty.
    CFolderPicker(UINT uFlags, const char* pszTitle, int nRootCsidl);

    // A NULL title keeps the current one, and one longer than 255 bytes is cut
    // at a character boundary. nRootCsidl 0 means no root.
    virtual void SetBrowseOptions(UINT uFlags, const char* pszTitle, int nRootCsidl);

    // nWhich 1 gives the chosen path, any other value the display name; both
    // are empty before a browse and after a cancelled one. The path is also
    // empty when the ANSI code page cannot write it exactly, or it takes
    // MAX_PATH bytes or more there; GetResultPathW has it still.
    // The buffer form copies at most nMaxBytes bytes without splitting a
    // double-byte character and terminates at the returned count, so pszBuf
    // holds nMaxBytes + 1 bytes. An empty text, or a negative nMaxBytes,
    // writes nothing and returns 0.
    virtual int GetResult(char* pszBuf, int nMaxBytes, int nWhich) const;
    virtual void GetResult(std::string& strOut, int nWhich) const;
    // The chosen folder's path as the system gives it, in UTF-16; empty
    // when the system gives none for the chosen item.
    const wchar_t* GetResultPathW() const;
    // The chosen item's display name, in UTF-16.
    const wchar_t* GetResultNameW() const;

    // IDOK when a folder was chosen, IDCANCEL when the browser was closed
    // without one, -1 when the root or the initial special folder does not
    // resolve (no browser is shown then). An initial path of MAX_PATH bytes or
    // more cannot name a folder and selects nothing.
    virtual int Browse();
    virtual int Browse(int nInitialCsidl);
    virtual int Browse(const char* pszInitialPath);

protected:
    virtual void ResetBrowseState();
    virtual int RunBrowse();
    virtual BOOL CsidlToPidl(int nCsidl, LPITEMIDLIST* ppidl);
    // Releases the chosen item list and the two the browse obtained.
    virtual void FreePidls(LPITEMIDLIST pidlChosen);

    // Called once the browser has its initial selection and the object is
    // attached to it. The result is not used.
    virtual BOOL OnBrowseInit();
    // The initial selection is made before the object is attached, so for it
    // m_hWnd is still NULL: hDlg is the browser in every call.
    virtual void OnBrowseSelChanged(HWND hDlg, LPITEMIDLIST pidlItem);
    // A typed name the shell rejected; the browser closes afterwards.
    virtual void OnBrowseValidateFailed(const char* pszName);

    static int CALLBACK BrowseCallbackProc(HWND hDlg, UINT message, LPARAM lParam,
                                           LPARAM lpData);

    LPITEMIDLIST m_pidlRoot;
    LPITEMIDLIST m_pidlInitial;
    int m_nRootCsidl;
    int m_nInitialCsidl;
    char m_szInitialPath[MAX_PATH];
    char m_szChosenPath[MAX_PATH];
    // The shell writes the display name here during the browse.
    char m_szChosenName[MAX_PATH];
    UINT m_uBrowseFlags;
    char m_szTitle[256];
    wchar_t m_szChosenPathW[MAX_PATH];
    wchar_t m_szChosenNameW[MAX_PATH];

private:
    const char* ResultText(int nWhich) const;
};
