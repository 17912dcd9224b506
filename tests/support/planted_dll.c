// Stands in for a DLL dropped beside the program under a system DLL's name:
// whoever loads it leaves "<its path>.ran" beside it. It exports nothing.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    char mark[MAX_PATH + 4];
    const DWORD length = GetModuleFileNameA(self, mark, MAX_PATH);
    if (reason == DLL_PROCESS_ATTACH && length > 0 && length < MAX_PATH) {
        lstrcpyA(mark + length, ".ran");
        CloseHandle(CreateFileA(mark, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    }
    return TRUE;
}
