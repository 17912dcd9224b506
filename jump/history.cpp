#include "jump/history.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "jump/file_replace.h"

void LoadHistory(const FilePath& path, int32_t nHistoryMax, HistoryList& history)
{
    // Binary mode: a text-mode reader on Windows would stop at a 0x1A byte.
    std::FILE* file = OpenForReading(path);
    if (!file)
        return;
    // Large pieces, split into lines only up to the last line feed of each; a
    // line not yet ended waits for the next piece. Reading stops once the list
    // is full, so a huge file with a short history costs no more than its start.
    std::vector<char> piece(1 << 16);
    std::string unended;
    size_t size;
    while (static_cast<int32_t>(history.size()) < nHistoryMax &&
           (size = std::fread(piece.data(), 1, piece.size(), file)) > 0) {
        const size_t lastFeed = std::string_view(piece.data(), size).rfind('\n');
        if (lastFeed == std::string_view::npos) {
            unended.append(piece.data(), size);
            continue;
        }
        unended.append(piece.data(), lastFeed + 1);
        LoadHistory(unended.data(), unended.size(), nHistoryMax, history);
        unended.assign(piece.data() + lastFeed + 1, size - lastFeed - 1);
    }
    std::fclose(file);
    LoadHistory(unended.data(), unended.size(), nHistoryMax, history);
}

void LoadHistory(const char* bytes, size_t size, int32_t nHistoryMax, HistoryList& history)
{
    const char* const end = bytes + size;
    for (const char* line = bytes; line < end && static_cast<int32_t>(history.size()) < nHistoryMax;) {
        const char* feed = static_cast<const char*>(std::memchr(line, '\n', end - line));
        const char* lineEnd = feed ? feed : end;
        // A line ends in LF or CR LF; a CR not followed by LF belongs to the entry.
        if (feed && lineEnd > line && lineEnd[-1] == '\r')
            --lineEnd;
        if (lineEnd > line)
            history.emplace_back(line, lineEnd);
        line = feed ? feed + 1 : end;
    }
}

void RememberInput(HistoryList& history, const std::string& text, int32_t nHistoryMax)
{
    auto same = std::find(history.begin(), history.end(), text);
    if (same != history.end())
        history.erase(same);
    history.insert(history.begin(), text);
    if (static_cast<uint32_t>(nHistoryMax) < history.size())
        history.pop_back();
}

std::string FormatHistory(const HistoryList& history)
{
    // Sized once: growing a long history's bytes step by step copies them again
    // at every step.
    size_t size = 0;
    for (const std::string& entry : history)
        size += entry.size() + 2;
    std::string bytes;
    bytes.reserve(size);
    for (const std::string& entry : history) {
        bytes += entry;
        bytes += "\r\n";
    }
    return bytes;
}

uint32_t SaveHistory(const FilePath& path, const HistoryList& history)
{
    return ReplaceFileContents(path, FormatHistory(history));
}
