#include "app/editor_location.h"

std::string EditorPathInFolder(const std::string& folder)
{
    return folder + "\\Hidemaru.exe";
}

bool SettingsCanHold(const std::string& editorPath)
{
    return editorPath.size() <= kEditorPathMaxBytes;
}
