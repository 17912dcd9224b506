#pragma once
#include <windows.h>

#include <string>

class CWnd;

// The application object. Exactly one exists, as a static object of a class
// derived from this one; the entry point finds it and calls InitInstance.
class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Returning FALSE ends the process; this framework has no message loop of
    // its own, so an application runs its user interface from here.
    virtual BOOL InitInstance() = 0;

    // The executable's file name without its extension.
    const std::wstring& AppName() const { return m_strAppName; }

    CWnd* m_pMainWnd = nullptr;

private:
    std::wstring m_strAppName;
};

// The one application object, or nullptr when there is none (as in unit tests).
CWinApp* AfxGetApp();
// The application's name, or the executable's when there is no application object.
const wchar_t* AfxGetAppName();
// The application's main window, or nullptr: everything runs on one thread, so
// this is also the current thread's main window.
CWnd* AfxGetMainWnd();

// The executable's full path as GetModuleFileNameW gives it into a MAX_PATH buffer.
std::wstring ModulePath();
