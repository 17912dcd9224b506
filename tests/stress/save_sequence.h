#pragma once
#include <cstdlib>
#include <string>

#include "jump/history.h"

// The histories that the saving helper writes one after another. Save number n
// holds ten entries, the first naming the save, with lengths that change from
// save to save, so that the file of one save can be told from that of any
// other and from part of one.
inline HistoryList HistoryOfSave(long n)
{
    HistoryList history;
    for (long i = 0; i < 10; ++i) {
        const size_t padding = static_cast<size_t>((n * 7 + i * 13) % 40) * 25;
        history.push_back("save " + std::to_string(n) + " entry " + std::to_string(i) + " " +
                          std::string(padding, static_cast<char>('a' + i)) + "\x95\x5C\x83\x5C");
    }
    return history;
}

// The number of the save that a file's bytes begin with; 0 for none.
inline long SaveNumberIn(const std::string& bytes)
{
    return bytes.compare(0, 5, "save ") == 0 ? std::atol(bytes.c_str() + 5) : 0;
}
