#include "app/settings.h"

#include "app/editor_location.h"
#include "framework/ansi_text.h"

namespace {
const wchar_t kSection[] = L"config";
const wchar_t kEditorKey[] = L"hidemaru";
const wchar_t kHistoryKey[] = L"history";
const wchar_t kDefaultEditorPath[] = L"C:\\Program Files\\Hidemaru\\Hidemaru.exe";
const int kDefaultHistoryLength = 10;

// A surrogate pair is one character.
void DropLastCharacter(std::wstring& text)
{
    const bool pair = text.size() >= 2 && IS_LOW_SURROGATE(text.back()) && IS_HIGH_SURROGATE(text[text.size() - 2]);
    text.resize(text.size() - (pair ? 2 : 1));
}
}  // namespace

std::string ReadEditorPath(const FilePath& iniPath)
{
    wchar_t value[MAX_PATH] = {};
    GetPrivateProfileStringW(kSection, kEditorKey, kDefaultEditorPath, value, MAX_PATH, iniPath.c_str());
    // Cut by whole characters of UTF-16, so that none of the code page's is
    // split, however many bytes it takes there (one to four in UTF-8).
    std::wstring wide = value;
    std::string path;
    bool exact = AnsiFromWide(wide, path);
    while (exact && path.size() > kEditorPathMaxBytes) {
        DropLastCharacter(wide);
        exact = AnsiFromWide(wide, path);
    }
    return exact ? path : std::string();
}

DWORD WriteEditorPath(const FilePath& iniPath, const std::string& editorPath)
{
    std::wstring wide;
    if (!WideFromAnsi(editorPath, wide))
        return ERROR_NO_UNICODE_TRANSLATION;
    // Told as such, so that the user is told to clear the attribute.
    const DWORD attributes = GetFileAttributesW(iniPath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return ERROR_FILE_READ_ONLY;
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
