#pragma once
#include <cstdint>
#include <string>

#include "jump/file_path.h"

// Replaces the file at path with bytes.
//
// Normally in one step: the new contents go to a temporary file beside it
// (TemporaryPathFor; a file of that name left by an earlier save is removed
// first), are flushed, and are then moved over the old file, keeping what
// the user set on it (attributes; on Windows, security settings). A crash or
// a failed write then leaves either the complete old file or the complete
// new one.
//
// The file is written in place instead (WriteInPlace) only where
// MayWriteInPlace allows it: when the folder refuses the temporary file, and
// on Windows when a temporary file left by an earlier save is held by
// another program, or the old file stays busy (held open by another program)
// for longer than a short wait. A failed write in place leaves the old file
// unchanged (but for a failed flush at the very end: WriteInPlace), while a
// crash meanwhile can leave it part new and part old.
//
// Returns 0 when the file holds the bytes, else the system's error code
// (GetLastError on Windows, errno elsewhere); on Windows ERROR_FILE_READ_ONLY
// for a read-only file, which is left alone. The old file is then as it was.
uint32_t ReplaceFileContents(const FilePath& path, const std::string& bytes);

// The path with its last four characters (the history file's ".log") made
// ".tmp": never longer than the file's own, so that a file whose path is
// just within Windows' limit of 259 characters can still be replaced in one
// step. A path that ends in ".tmp" itself gets "~tmp" instead.
FilePath TemporaryPathFor(const FilePath& path);
