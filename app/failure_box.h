#pragma once
#include <windows.h>

#include <string>

// What the program could not do for the user.
enum class Failure {
    HistoryNotSaved,   // so the editor was not started
    EditorNotStarted,  // after the history was saved
    SettingsNotSaved,  // the editor's location, answered in the folder prompt
};

// The message box that tells it, in the style of the program's other failure
// box (the application's name as caption, an exclamation mark): what failed,
// the file's full path, the system's reason for the error and what the user
// can do about it, which depends on the cause. Returns when the user has
// closed it.
void ShowFailure(Failure failure, const std::wstring& path, DWORD error);

// Why a folder chosen in the prompt cannot be stored in the settings.
enum class FolderRefusal {
    NotInCodePage,  // a character the ANSI code page cannot write
    TooLong,        // with the editor's file name, longer than the settings hold
};

void ShowFolderRefused(const std::wstring& folder, FolderRefusal why);

// The system's own words for an error, in its language.
std::wstring SystemReason(DWORD error);
