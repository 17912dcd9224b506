#pragma once
#include <windows.h>

#include <string>

// Whether something exists at the path, a folder when wantDirectory is TRUE and
// a file otherwise. The path is a search pattern: wildcards match too, and
// only the first match is judged.
BOOL PathExists(const std::string& path, BOOL wantDirectory);
