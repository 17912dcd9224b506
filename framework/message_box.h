#pragma once
#include <windows.h>

// A message box owned by the active window of this thread, captioned with the
// application's name. Returns the button the user chose.
int AfxMessageBox(const char* text, UINT type = MB_OK);
