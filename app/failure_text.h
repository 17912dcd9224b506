#pragma once
#include <cstdint>

#include "framework/ansi_conversion.h"

// What the program could not do for the user.
enum class Failure {
    HistoryNotSaved,   // so the editor was not started
    EditorNotStarted,  // after the history was saved
    SettingsNotSaved,  // the editor's location, answered in the folder prompt
};

// What the user can do about a failed write depends on its cause.
enum class Cause { ReadOnly, NoWriteAccess, FolderInPlace, InUse, DiskFull, Other };

// error is a Windows error code; folderInPlace tells that a folder stands
// where the file should be, which Windows reports as access denied.
Cause CauseOf(uint32_t error, bool folderInPlace);

// The box's first line, and the advice that ends it.
const WideChar* WhatFailed(Failure failure);
const WideChar* AdviceFor(Failure failure, Cause cause);

// An ANSI code page (the one Windows gives programs that are not Unicode) by
// the name its users know it by.
WideText CodePageName(uint32_t codePage);
