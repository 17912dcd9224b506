#include "framework/message_box.h"

#include "framework/win_app.h"

int AfxMessageBox(const std::wstring& text, UINT type)
{
    return MessageBoxW(GetActiveWindow(), text.c_str(), AfxGetAppName(), type);
}
