#include "app/single_instance.h"

const char kInstanceName[] = "Wexmoor - Halvergrim";

BOOL IsAnotherInstanceRunning(const char* name)
{
    HANDLE mutex = CreateMutexA(nullptr, TRUE, name);
    if (!mutex)
        return TRUE;
    return GetLastError() == ERROR_ALREADY_EXISTS;
}

void ActivateRunningInstance(const char* name)
{
    const UINT activateMessage = RegisterWindowMessageA(name);
    DWORD recipients = BSM_APPLICATIONS;
    BroadcastSystemMessageA(BSF_QUERY, &recipients, activateMessage, 0, 0);
}

void BringToForeground(HWND hwnd)
{
    if (IsIconic(hwnd))
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const DWORD windowThread = GetWindowThreadProcessId(hwnd, nullptr);
    AttachThreadInput(windowThread, foregroundThread, TRUE);
    // A window disabled by a modal box of its own would take the activation
    // and leave the keyboard dead: the box comes forward instead, with it.
    SetForegroundWindow(GetLastActivePopup(hwnd));
    AttachThreadInput(windowThread, foregroundThread, FALSE);
}
