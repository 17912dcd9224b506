// The leanest program that shows the jump dialog's template with the program's
// manifest: its own entry point, no C run-time start-up, and nothing imported
// but kernel32 and user32. Start-up is measured against it.
#include <windows.h>

#include "res/resource.h"

static INT_PTR CALLBACK LeanDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    // TRUE from WM_INITDIALOG: the focus goes to the first tab stop, as in the program.
    return message == WM_INITDIALOG;
}

// The linker's default entry point for a GUI program, so no option names it.
void WinMainCRTStartup(void)
{
    ExitProcess((UINT)DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_JUMP), NULL,
                                      LeanDialogProc, 0));
}
