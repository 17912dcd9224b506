#pragma once
#include <cstdint>
#include <string>

// The whole message shown when a link cannot be opened; nError is a failure
// code of ShellExecute or WinExec, shown in signed decimal when it is unknown.
std::string OpenErrorMessage(int32_t nError);
