#pragma once
#include <windows.h>
#include <commctrl.h>

#include "framework/system_library.h"

// The common controls' DLL is loaded on first use (system_library.h).

// One of its functions, typed as declared, or nullptr.
template <typename Function>
Function CommonControlsFunction(const char* name)
{
    return SystemFunction<Function>("comctl32.dll", name);
}

// Registers the window classes of the common controls named by the ICC_ flags.
inline void InitCommonControlClasses(DWORD classes)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, classes};
    if (const auto init = CommonControlsFunction<decltype(&InitCommonControlsEx)>("InitCommonControlsEx"))
        init(&controls);
}
