#pragma once
#include <windows.h>

// Names both the mutex that marks a running instance and the window message by
// which a second start asks the first to come forward. Fixed, so that copies of
// the program under other names are still one instance.
extern const char kInstanceName[];

// Not only a question: creates the instance mutex, owned and never closed, so
// that it marks this process as the running instance for as long as it lives.
// TRUE when it existed already, or could not be created at all.
BOOL IsAnotherInstanceRunning(const char* name);

// Asks the running instance, through a broadcast of the activation message,
// to bring its dialog to the foreground.
void ActivateRunningInstance(const char* name);

// Restores the window without activating it if it is minimised, then makes it
// the foreground window even though another thread owns the foreground; when
// a box of its own is open (the version box), the box.
void BringToForeground(HWND hwnd);
