#include "jump/history.h"

#include <algorithm>
#include <fstream>

#include "jump/file_replace.h"

void LoadHistory(const std::string& path, int32_t nHistoryMax, HistoryList& history)
{
    // Binary mode: a text-mode reader on Windows would stop at a 0x1A byte.
    std::ifstream in(path, std::ios::binary);
    LoadHistory(in, nHistoryMax, history);
}

void LoadHistory(std::istream& in, int32_t nHistoryMax, HistoryList& history)
{
    if (!in || in.peek() == std::istream::traits_type::eof())
        return;
    std::string line;
    while (static_cast<int32_t>(history.size()) < nHistoryMax) {
        std::getline(in, line, '\n');
        // A line ends in LF or CR LF; a CR not followed by LF belongs to the entry.
        if (!in.eof() && !line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            history.push_back(line);
        if (in.eof() || in.fail())
            break;
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

bool SaveHistory(const std::string& path, const HistoryList& history)
{
    return ReplaceFileContents(path, FormatHistory(history));
}
