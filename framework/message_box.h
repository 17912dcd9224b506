#pragma once
#include <windows.h>

#include <string>

// A message box owned by the active window of this thread, captioned with the
// application's name. Returns the button the user chose.
int AfxMessageBox(const std::wstring& text, UINT type = MB_OK);
