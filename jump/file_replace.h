#pragma once
#include <string>

// Replaces the file at path with bytes so that a crash or a failed write leaves
// either the complete old file or the complete new one. The new contents go to
// "<path>.tmp" beside it first and are then moved over the old file in one step;
// only when that temporary file cannot be created is the file written in place.
// Returns false, leaving the old file as it was, when nothing could be written.
bool ReplaceFileContents(const std::string& path, const std::string& bytes);

std::string TemporaryPathFor(const std::string& path);
