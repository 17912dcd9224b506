#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/ansi_conversion.h"

// The settings hold the editor's path in at most this many bytes: it has
// always been read back into a buffer of MAX_PATH bytes, its terminator
// included, and a longer value is cut there.
const std::size_t kEditorPathMaxBytes = 259;

// The editor's path as the settings give it, in the ANSI code page: cut to
// what the settings hold by whole characters, so that none is split, however
// many bytes it takes (one to four in UTF-8); empty when a character has no
// exact form there, so that it is asked for again.
std::string EditorPathFromSetting(const AnsiCodePage& codePage, const WideText& value);

// The editor's path for the folder chosen in the prompt: the editor's file
// name is appended whatever the folder ends in, so a drive root ("D:\")
// gives "D:\\Hidemaru.exe".
std::string EditorPathInFolder(const std::string& folder);

// Whether the settings can hold the path without cutting it; a cut path would
// name no editor, and the prompt would come back at every start.
bool SettingsCanHold(const std::string& editorPath);

// Why the settings file cannot be written, judged from its attributes
// (GetFileAttributes) before trying, as a Windows error code; 0 when they
// leave it to the writing. A read-only file is told as such, so that the
// user learns to clear the attribute; a folder in the file's place, read-only
// or not, as what Windows says of writing it.
uint32_t SettingsRefusal(uint32_t attributes);
