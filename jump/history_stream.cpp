#include <istream>
#include <iterator>

#include "jump/history.h"

// Apart from the file reader, so that the program, which reads only files,
// does not carry the stream library.
void LoadHistory(std::istream& in, int32_t nHistoryMax, HistoryList& history)
{
    if (!in)
        return;
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    LoadHistory(bytes.data(), bytes.size(), nHistoryMax, history);
}
