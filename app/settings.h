#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "jump/file_path.h"

// The settings file is an INI file with one section, "config". It is only ever
// read and written through the profile functions, and never created by the
// program until the editor's location is first stored. The editor's path is
// ANSI: it is stored so and started so (CreateProcessA).

// As EditorPathFromSetting gives it (app/editor_location.h).
std::string ReadEditorPath(const FilePath& iniPath);
// 0 when stored, else the system's error code: ERROR_FILE_READ_ONLY for a
// read-only settings file, ERROR_ACCESS_DENIED for a folder in its place.
DWORD WriteEditorPath(const FilePath& iniPath, const std::string& editorPath);
int32_t ReadHistoryLength(const FilePath& iniPath);
