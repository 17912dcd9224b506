#pragma once
#include <cstdio>
#include <cstdlib>

// A fuzz target's own assertion: a broken property aborts, which libFuzzer
// records as a crash with its input, and which fails a corpus replay.
#define FUZZ_CHECK(condition) \
    ((condition) ? (void)0 : (std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #condition), std::abort()))
