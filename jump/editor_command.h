#pragma once
#include <string>

// The editor learns the jump target from the history file, not from its command
// line: the line only names the macro. The path goes in verbatim between quotes.
std::string EditorCommandLine(const std::string& editorPath);
