#pragma once
#include <cstdint>

// A save replaces the history file in one step: a temporary file beside it,
// moved over it. Where a step fails, the file may be written in place instead
// only for failures that writing in place gets around; any other failure
// (a full disk, a quota) ends the save with the old file untouched, since a
// write that failed part way would leave it part new and part old.
enum class SaveStep {
    MakingTheTemporaryFile,
    MovingItOverTheOldFile,
};

// error is a Windows error code (GetLastError).
bool MayWriteInPlace(SaveStep failedStep, uint32_t error);
