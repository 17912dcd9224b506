// The leanest program of the jump dialog's kind with the C and C++ run-time:
// it shows the same dialog template, with the same icon and manifest, and does
// nothing else. The start-up benchmark measures the program against it.
#include <windows.h>

#include "res/resource.h"

namespace {
INT_PTR CALLBACK BareDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        SendMessageA(dialog, WM_SETICON, ICON_BIG,
                     reinterpret_cast<LPARAM>(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME_ICON))));
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    // TRUE from WM_INITDIALOG: the focus goes to the first tab stop, as in the program.
    return message == WM_INITDIALOG;
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return static_cast<int>(
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_JUMP), nullptr, BareDialogProc, 0));
}
