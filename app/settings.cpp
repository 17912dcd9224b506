#include "app/settings.h"

#include "app/editor_location.h"
#include "framework/ansi_text.h"

namespace {
const wchar_t kSection[] = L"config";
const wchar_t kEditorKey[] = L"hidemaru";
const wchar_t kHistoryKey[] = L"history";
const wchar_t kDefaultEditorPath[] = L"C:\\Program Files\\Hidemaru\\Hidemaru.exe";
const int kDefaultHistoryLength = 10;
}  // namespace

std::string ReadEditorPath(const FilePath& iniPath)
{
    wchar_t value[MAX_PATH] = {};
    GetPrivateProfileStringW(kSection, kEditorKey, kDefaultEditorPath, value, MAX_PATH, iniPath.c_str());
    return EditorPathFromSetting(SystemAnsiCodePage(), value);
}

DWORD WriteEditorPath(const FilePath& iniPath, const std::string& editorPath)
{
    std::wstring wide;
    if (!WideFromAnsi(editorPath, wide))
        return ERROR_NO_UNICODE_TRANSLATION;
    if (const DWORD refusal = SettingsRefusal(GetFileAttributesW(iniPath.c_str())))
        return refusal;
    if (WritePrivateProfileStringW(kSection, kEditorKey, wide.c_str(), iniPath.c_str()))
        return 0;
    // Not every system says why a profile could not be written.
    const DWORD error = GetLastError();
    return error ? error : ERROR_WRITE_FAULT;
}

int32_t ReadHistoryLength(const FilePath& iniPath)
{
    return static_cast<int32_t>(GetPrivateProfileIntW(kSection, kHistoryKey, kDefaultHistoryLength, iniPath.c_str()));
}
