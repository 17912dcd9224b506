#include "controls/shell_library.h"

FARPROC ShellProcAddress(const char* name)
{
    static const HMODULE shell = LoadLibraryA("shell32.dll");
    return shell ? GetProcAddress(shell, name) : nullptr;
}
