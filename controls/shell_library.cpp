#include "controls/shell_library.h"

#include <string>

FARPROC ShellProcAddress(const char* name)
{
    // By its full path in the system folder: a bare name would be looked for
    // in the program's own folder first, where any file of that name could lie.
    static const HMODULE shell = [] {
        char folder[MAX_PATH];
        const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
        return length && length < MAX_PATH ? LoadLibraryA((std::string(folder, length) + "\\shell32.dll").c_str())
                                           : nullptr;
    }();
    return shell ? GetProcAddress(shell, name) : nullptr;
}
