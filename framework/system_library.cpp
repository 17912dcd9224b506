#include "framework/system_library.h"

#include <string>

namespace {
bool g_searchRestricted = false;
}  // namespace

void RestrictDllSearchToSystem()
{
    // Looked up, not imported: a system without it would refuse to start the program.
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto restrict = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    g_searchRestricted = restrict && restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // A system DLL's delayed imports, loaded at their first call, are looked
    // for in the program's folder first where the search is not restricted,
    // and under Wine whatever the restriction: the common controls import the
    // theme library so, and that the alpha-blending library. Loaded from the
    // system now, they are found loaded then.
    for (const char* late : {"uxtheme.dll", "msimg32.dll"})
        LoadSystemLibrary(late);
}

HMODULE LoadSystemLibrary(const char* name)
{
    // Restricted, the bare name finds the system's DLL. The common controls go
    // by bare name either way: the manifest's redirection to their version 6
    // assembly comes before any search, so a comctl32.dll beside the program
    // is not used, while a full path would bypass the assembly for version 5.
    if (g_searchRestricted || lstrcmpiA(name, "comctl32.dll") == 0)
        return LoadLibraryA(name);
    // Otherwise the full path, and the DLL's own imports looked for beside it
    // in the system folder rather than beside the program.
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const std::string path = std::string(folder, length) + "\\" + name;
    return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
