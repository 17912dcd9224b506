#pragma once
#include <string>

// Replaces the file at path with bytes so that a crash or a failed write leaves
// either the complete old file or the complete new one. The new contents go to
// "<path>.tmp" beside it first and are then moved over the old file in one step,
// keeping what the user set on it (attributes; on Windows, security settings).
// The file is written in place only when that temporary file cannot be created,
// or when the old file stays busy (held open by another program) for longer
// than a short wait. Returns false, leaving the old file as it was, when
// nothing could be written.
bool ReplaceFileContents(const std::string& path, const std::string& bytes);

std::string TemporaryPathFor(const std::string& path);
