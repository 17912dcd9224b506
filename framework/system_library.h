#pragma once
#include <windows.h>

// Where the program's DLLs come from. Windows looks for a DLL outside its list
// of known system DLLs in the program's own folder first, and users unzip the
// program into folders such as Downloads, where any file of that name may lie.

// Restricts the search of every later DLL load, the system's own loads on the
// program's behalf included, to the system folder, and loads from there the
// DLLs that system DLLs load late. The entry point calls it before anything
// else runs. Where the system cannot restrict the search (Windows 7 without
// its 2011 loader update), LoadSystemLibrary takes full paths instead, for
// every DLL but the common controls.
void RestrictDllSearchToSystem();

// A DLL that the program loads itself on first use, and keeps: from the
// system folder, or for the common controls from the assembly the manifest
// names, on either path. nullptr when it cannot be loaded.
HMODULE LoadSystemLibrary(const char* name);

// One of its functions, typed as declared:
// SystemFunction<decltype(&ShellExecuteA)>("shell32.dll", "ShellExecuteA").
// nullptr when it cannot be had.
template <typename Function>
Function SystemFunction(const char* library, const char* name)
{
    const HMODULE module = LoadSystemLibrary(library);
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}
