#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "tests/e2e/program_driver.h"

namespace {
// A setting of the executable's manifest as the side-by-side loader reads it;
// empty when the manifest cannot be read or lacks the setting.
std::wstring ManifestSetting(const std::string& exePath, const wchar_t* nameSpace, const wchar_t* name)
{
    ACTCTXA request = {};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = exePath.c_str();
    request.lpResourceName = MAKEINTRESOURCEA(1);
    HANDLE context = CreateActCtxA(&request);
    if (context == INVALID_HANDLE_VALUE)
        return L"";
    wchar_t value[64] = {};
    SIZE_T length = 0;
    if (!QueryActCtxSettingsW(0, context, nameSpace, name, value, 64, &length))
        value[0] = L'\0';
    ReleaseActCtx(context);
    return value;
}

std::string Lowercase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The full paths of the modules the process has loaded, in lower case.
std::vector<std::string> LoadedModules(DWORD processId)
{
    std::vector<std::string> paths;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    HMODULE modules[512];
    DWORD bytes = 0;
    if (process && EnumProcessModules(process, modules, sizeof modules, &bytes)) {
        for (DWORD i = 0; i < bytes / sizeof(HMODULE); ++i) {
            char path[MAX_PATH] = {};
            GetModuleFileNameExA(process, modules[i], path, MAX_PATH);
            paths.push_back(Lowercase(path));
        }
    }
    if (process)
        CloseHandle(process);
    return paths;
}
}  // namespace

// Laid out once for the screen's DPI, not stretched by the system. (Wine
// reports every window as per-monitor aware, so the running program cannot
// show it; the manifest is read the way the loader reads it.)
TEST(Manifest, DeclaresSystemDpiAwareness)
{
    const std::string exe = BuildTreePath("Wexmoor.exe");
    EXPECT_EQ(ManifestSetting(exe, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
              L"system");
    // Windows before 10 1607 know only the older setting.
    EXPECT_EQ(ManifestSetting(exe, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"),
              L"true");
}

// The window subclassing the framework relies on, and the current look, come
// with version 6 of the common controls, from the side-by-side store.
TEST(Manifest, TheRunningProgramUsesCommonControlsSix)
{
    StagedProgram program;
    program.UseStandinEditor();
    program.Start();
    HWND dialog = WaitForProcessWindow(program.Process().Id(), "Wexmoor");
    ASSERT_TRUE(dialog);

    const std::vector<std::string> modules = LoadedModules(program.Process().Id());
    const auto commonControls = std::find_if(modules.begin(), modules.end(), [](const std::string& path) {
        return path.size() > 12 && path.compare(path.size() - 12, 12, "comctl32.dll") == 0;
    });
    ASSERT_NE(commonControls, modules.end());
    EXPECT_NE(commonControls->find("\\winsxs\\"), std::string::npos) << *commonControls;
    EXPECT_NE(commonControls->find("microsoft.windows.common-controls_6595b64144ccf1df_6."), std::string::npos)
        << *commonControls;

    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(program.Process().WaitForExit());
}
