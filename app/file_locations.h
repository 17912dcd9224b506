#pragma once
#include <string>

// Both files live beside the executable and are named after it: the last four
// bytes of the module path (normally ".exe") are dropped whatever they are.
std::string SettingsPathFor(const std::string& modulePath);
std::string HistoryPathFor(const std::string& modulePath);
