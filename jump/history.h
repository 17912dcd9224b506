#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "jump/file_path.h"

// The input history: newest entry first, one entry per line of the history
// file, every line ending in CR LF. Entries are the bytes the user typed.
using HistoryList = std::vector<std::string>;

// Appends up to nHistoryMax non-empty lines of the file to history; blank lines
// are skipped and do not count. A missing or unreadable file adds nothing.
void LoadHistory(const FilePath& path, int32_t nHistoryMax, HistoryList& history);
// The same from bytes in memory, whose last line may lack its line end.
void LoadHistory(const char* bytes, size_t size, int32_t nHistoryMax, HistoryList& history);

// Moves text to the front (dropping an equal entry) and trims one entry when the
// list outgrows nHistoryMax read as unsigned, so a negative length never trims.
void RememberInput(HistoryList& history, const std::string& text, int32_t nHistoryMax);

// The file's exact bytes for a list.
std::string FormatHistory(const HistoryList& history);

// Replaces the file with the list, as ReplaceFileContents does (which says
// when that is one step): 0 when saved, else the system's error code.
uint32_t SaveHistory(const FilePath& path, const HistoryList& history);
