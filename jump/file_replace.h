#pragma once
#include <string>

// Replaces the file at path with bytes.
//
// Normally in one step: the new contents go to "<path>.tmp" beside it (a file
// of that name left by an earlier save is removed first), are flushed, and are
// then moved over the old file, keeping what the user set on it (attributes;
// on Windows, security settings). A crash or a failed write then leaves either
// the complete old file or the complete new one.
//
// The file is written in place instead (opened, written, cut to length and
// flushed) when no temporary file can be made beside it, and on Windows when
// the old file stays busy (held open by another program) for longer than a
// short wait. That is not one step: a crash meanwhile can leave the file part
// new and part old, or cut short, and a write that fails part way returns
// false after the file has changed.
//
// Returns false when the file could not be written; unless an in-place write
// failed part way, the old file is then as it was.
bool ReplaceFileContents(const std::string& path, const std::string& bytes);

std::string TemporaryPathFor(const std::string& path);
