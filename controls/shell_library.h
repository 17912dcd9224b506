#pragma once
#include <windows.h>

// shell32 is loaded the first time one of its functions is needed: only the
// folder prompt and a click on a link need it, and loading it (with shcore and
// shlwapi, which it pulls in) at every start would be a measurable part of the
// start-up. nullptr when the function cannot be had.
FARPROC ShellProcAddress(const char* name);

// The same as the function's own type:
// ShellFunction<decltype(&ShellExecuteA)>("ShellExecuteA").
template <typename Function>
Function ShellFunction(const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(ShellProcAddress(name)));
}
