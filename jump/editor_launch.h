#pragma once
#include <windows.h>

#include <string>

// Starts a program from its command line with its first window minimised and
// does not wait for it. 0 when the process was created, else the error.
DWORD StartMinimised(const std::string& commandLine);

// Starts the editor with the macro that reads the jump target from the history
// file, which must be complete before this is called. 0 or the error.
DWORD LaunchEditor();
