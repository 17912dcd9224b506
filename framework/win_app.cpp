#include "framework/win_app.h"

namespace {
CWinApp* g_app = nullptr;

// Walks the path character by character, so that the second byte of a
// double-byte character (0x5C in many of them) is never taken for a separator.
std::string FileTitle(const std::string& path)
{
    const char* name = path.c_str();
    const char* dot = nullptr;
    for (const char* p = path.c_str(); *p; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/' || *p == ':') {
            name = p + 1;
            dot = nullptr;
        } else if (*p == '.') {
            dot = p;
        }
    }
    return dot ? std::string(name, dot) : std::string(name);
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

std::string ModulePath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

const char* AfxGetAppName()
{
    static const std::string moduleTitle = FileTitle(ModulePath());
    return g_app ? g_app->AppName().c_str() : moduleTitle.c_str();
}

CWnd* AfxGetMainWnd()
{
    return g_app ? g_app->m_pMainWnd : nullptr;
}
