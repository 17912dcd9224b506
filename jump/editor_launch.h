#pragma once
#include <string>

// Starts a program from its command line with its first window minimised and
// does not wait for it. Returns whether the process was created.
bool StartMinimised(const std::string& commandLine);

// Starts the editor with the macro that reads the jump target from the history
// file, which must be complete before this is called. Failures are silent.
void LaunchEditor();
