#include "bench/sample_history.h"

#include <cstdio>

HistoryList SampleHistory(int64_t count)
{
    HistoryList history;
    history.reserve(static_cast<size_t>(count));
    char entry[64];
    for (int64_t i = 0; i < count; ++i) {
        std::snprintf(entry, sizeof entry, "src\\module%03d\\file%07lld.cpp:%d",
                      static_cast<int>(i % 1000), static_cast<long long>(i),
                      static_cast<int>(i % 5000) + 1);
        history.push_back(entry);
    }
    return history;
}
