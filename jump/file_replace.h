#pragma once
#include <cstdint>
#include <string>

#include "jump/file_path.h"

// Replaces the file at path with bytes.
//
// Normally in one step: the new contents go to "<path>.tmp" beside it (a file
// of that name left by an earlier save is removed first), are flushed, and are
// then moved over the old file, keeping what the user set on it (attributes;
// on Windows, security settings). A crash or a failed write then leaves either
// the complete old file or the complete new one.
//
// The file is written in place instead (opened, on Windows grown to its new
// length first, written, cut to length and flushed) only where MayWriteInPlace
// allows it: when the folder refuses the temporary file, and on Windows when
// the old file stays busy (held open by another program) for longer than a
// short wait. That is not one step: a crash meanwhile can leave the file part
// new and part old.
//
// Returns 0 when the file holds the bytes, else the system's error code
// (GetLastError on Windows, errno elsewhere); the old file is then as it was,
// unless an in-place write failed part way.
uint32_t ReplaceFileContents(const FilePath& path, const std::string& bytes);

FilePath TemporaryPathFor(const FilePath& path);
