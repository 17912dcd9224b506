#include "framework/win_app.h"

namespace {
CWinApp* g_app = nullptr;

std::wstring FileTitle(const std::wstring& path)
{
    const size_t name = path.find_last_of(L"\\/:") + 1;  // 0 when there is no separator
    const size_t dot = path.find_last_of(L'.');
    return path.substr(name, dot != std::wstring::npos && dot >= name ? dot - name : std::wstring::npos);
}
}  // namespace

CWinApp::CWinApp() : m_strAppName(FileTitle(ModulePath()))
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    g_app = nullptr;
}

CWinApp* AfxGetApp()
{
    return g_app;
}

std::wstring ModulePath()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

const wchar_t* AfxGetAppName()
{
    static const std::wstring moduleTitle = FileTitle(ModulePath());
    return g_app ? g_app->AppName().c_str() : moduleTitle.c_str();
}

CWnd* AfxGetMainWnd()
{
    return g_app ? g_app->m_pMainWnd : nullptr;
}
