#pragma once
#include <cstdint>
#include <string>

// The settings file is an INI file with one section, "config". It is only ever
// read and written through the profile functions, and never created by the
// program until the editor's location is first stored.
std::string ReadEditorPath(const std::string& iniPath);
void WriteEditorPath(const std::string& iniPath, const std::string& editorPath);
int32_t ReadHistoryLength(const std::string& iniPath);
