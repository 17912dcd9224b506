#include "version/version_menu.h"

#include "res/resource.h"

void AppendVersionMenuItem(HWND hWnd)
{
    HMENU menu = GetSystemMenu(hWnd, FALSE);
    if (!menu)
        return;
    char text[256];
    if (LoadStringA(GetModuleHandleA(nullptr), IDS_VERSION_MENU, text, sizeof text) <= 0)
        return;
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_VERSION, text);
}

bool IsVersionCommand(UINT nID)
{
    return (nID & 0xFFF0) == IDM_VERSION;
}
