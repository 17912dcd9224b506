// The leanest program that shows what the program shows at start-up: the jump
// dialog's template with the program's icon and manifest. Its own entry
// point, no C run-time start-up, and nothing imported but kernel32 and user32.
// Start-up is measured against it.
#include <windows.h>

#include "res/resource.h"

static INT_PTR CALLBACK LeanDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    if (message == WM_INITDIALOG)
        SendMessageA(dialog, WM_SETICON, ICON_BIG,
                     (LPARAM)LoadIconA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_MAINFRAME_ICON)));
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
