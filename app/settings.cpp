#include "app/settings.h"

#include <windows.h>

namespace {
const char kSection[] = "config";
const char kEditorKey[] = "hidemaru";
const char kHistoryKey[] = "history";
const char kDefaultEditorPath[] = "C:\\Program Files\\Hidemaru\\Hidemaru.exe";
const int kDefaultHistoryLength = 10;
}  // namespace

std::string ReadEditorPath(const std::string& iniPath)
{
    // A longer value is cut to 259 bytes by the buffer.
    char path[MAX_PATH] = {};
    GetPrivateProfileStringA(kSection, kEditorKey, kDefaultEditorPath, path, MAX_PATH,
                             iniPath.c_str());
    return path;
}

void WriteEditorPath(const std::string& iniPath, const std::string& editorPath)
{
    WritePrivateProfileStringA(kSection, kEditorKey, editorPath.c_str(), iniPath.c_str());
}

int32_t ReadHistoryLength(const std::string& iniPath)
{
    return static_cast<int32_t>(
        GetPrivateProfileIntA(kSection, kHistoryKey, kDefaultHistoryLength, iniPath.c_str()));
}
