// A plain program that does what the program does with a history: it reads the
// settings and the history file beside it (named after it, .ini and .log) with
// plain file calls, and shows the jump dialog's template with the entries
// inserted one by one at their positions, the newest selected in the field.
// The history's growth is measured against it.
#include <windows.h>
#include <stdlib.h>
#include <string.h>

#include "res/resource.h"

static char g_iniPath[MAX_PATH];
static char g_historyPath[MAX_PATH];

// The whole file, NUL-terminated; NULL when it cannot be read.
static char* ReadWholeFile(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return NULL;
    DWORD size = GetFileSize(file, NULL);
    DWORD got = 0;
    char* bytes = malloc(size + 1);
    if (bytes && ReadFile(file, bytes, size, &got, NULL))
        bytes[got] = '\0';
    else if (bytes)
        bytes[0] = '\0';
    CloseHandle(file);
    return bytes;
}

static void FillHistory(HWND combo)
{
    char editor[MAX_PATH];
    GetPrivateProfileStringA("config", "hidemaru", "", editor, MAX_PATH, g_iniPath);
    const int max = (int)GetPrivateProfileIntA("config", "history", 10, g_iniPath);
    char* bytes = ReadWholeFile(g_historyPath);
    if (!bytes)
        return;
    int count = 0;
    for (char* line = bytes; *line && count < max;) {
        char* end = strchr(line, '\n');
        char* next = end ? end + 1 : line + strlen(line);
        if (end) {
            if (end > line && end[-1] == '\r')
                --end;
            *end = '\0';
        }
        if (*line) {
            if (count == 0) {
                SetWindowTextA(combo, line);
                SendMessageA(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
            }
            SendMessageA(combo, CB_INSERTSTRING, count++, (LPARAM)line);
        }
        line = next;
    }
    free(bytes);
}

static INT_PTR CALLBACK PlainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    if (message == WM_INITDIALOG) {
        FillHistory(GetDlgItem(dialog, IDC_INPUT));
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)previous;
    (void)commandLine;
    (void)show;
    const DWORD length = GetModuleFileNameA(NULL, g_iniPath, MAX_PATH);
    if (length < 4 || length >= MAX_PATH)
        return 1;
    strcpy(g_iniPath + length - 4, ".ini");
    strcpy(g_historyPath, g_iniPath);
    strcpy(g_historyPath + length - 4, ".log");
    return (int)DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_JUMP), NULL, PlainDialogProc, 0);
}
