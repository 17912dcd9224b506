#pragma once
#include <windows.h>

#include <string>

#include "app/failure_text.h"

// The message box that tells a failure, in the style of the program's other
// failure box (the application's name as caption, an exclamation mark): what
// failed, the file's full path, the system's reason for the error and what
// the user can do about it, which depends on the cause. Returns when the
// user has closed it.
void ShowFailure(Failure failure, const std::wstring& path, DWORD error);

// Why a folder chosen in the prompt cannot be used.
enum class FolderRefusal {
    NoFileSystemPath,  // the shell gave no path for the item: a virtual folder, or a path too long
    NotInCodePage,     // a character the ANSI code page cannot write
    TooLong,           // with the editor's file name, longer than the settings hold
};

// shown is the folder's path, or the item's display name when it has none.
void ShowFolderRefused(const std::wstring& shown, FolderRefusal why);

// A jump target with characters that the history file, in the ANSI code
// page, cannot hold.
void ShowInputRefused(const std::wstring& input);
