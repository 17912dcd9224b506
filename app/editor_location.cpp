#include "app/editor_location.h"

std::string EditorPathFromSetting(const AnsiCodePage& codePage, const WideText& value)
{
    std::string path;
    AnsiStartWithin(codePage, value, kEditorPathMaxBytes, path);
    return path;
}

std::string EditorPathInFolder(const std::string& folder)
{
    return folder + "\\Hidemaru.exe";
}

bool SettingsCanHold(const std::string& editorPath)
{
    return editorPath.size() <= kEditorPathMaxBytes;
}

uint32_t SettingsRefusal(uint32_t attributes)
{
    // The Windows values, spelled out so that the rule is tested without windows.h.
    const uint32_t kNoFile = 0xFFFFFFFF, kReadOnly = 0x1, kDirectory = 0x10;
    const uint32_t kAccessDenied = 5, kFileReadOnly = 6009;
    if (attributes == kNoFile)
        return 0;
    if (attributes & kDirectory)
        return kAccessDenied;
    return attributes & kReadOnly ? kFileReadOnly : 0;
}
