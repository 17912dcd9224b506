#pragma once
#include "jump/file_path.h"

// Both files live beside the executable and are named after it: the last four
// characters of the module path (normally ".exe") are dropped whatever they are.
FilePath SettingsPathFor(const FilePath& modulePath);
FilePath HistoryPathFor(const FilePath& modulePath);
