#pragma once
#include <cstdio>
#include <cstdlib>

// A fuzz target's own assertion: a broken property aborts, which libFuzzer
// records as a crash with the input that caused it, and which fails a replay.
#define FUZZ_CHECK(condition)                                                            \
    do {                                                                                 \
        if (!(condition)) {                                                              \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__,     \
                         #condition);                                                    \
            std::abort();                                                                \
        }                                                                                \
    } while (0)
