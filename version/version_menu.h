#pragma once
#include <windows.h>

// Adds a separator and the version box's entry to the window's system menu.
// Without a system menu or the entry's text, the window gets no entry.
void AppendVersionMenuItem(HWND hWnd);

// Whether a WM_SYSCOMMAND code asks for the version box. The system uses the
// low four bits of a command for itself, so they are not compared.
bool IsVersionCommand(UINT nID);
