// How the history code's cost grows with the number of entries, natively.
// Google Benchmark fits each series to a complexity and prints it as "_BigO".
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/sample_history.h"

namespace {
std::string ScratchPath()
{
    return (std::filesystem::temp_directory_path() /
            ("wexmoor-history-bench-" + std::to_string(getpid()) + ".log"))
        .string();
}

void BM_LoadHistory(benchmark::State& state)
{
    const int64_t count = state.range(0);
    const std::string path = ScratchPath();
    SaveHistory(path, SampleHistory(count));
    for (auto _ : state) {
        HistoryList history;
        LoadHistory(path, static_cast<int32_t>(count), history);
        benchmark::DoNotOptimize(history.data());
    }
    std::remove(path.c_str());
    state.SetComplexityN(count);
}

// The file is replaced and flushed to the disk, as after every OK.
void BM_SaveHistory(benchmark::State& state)
{
    const int64_t count = state.range(0);
    const std::string path = ScratchPath();
    const HistoryList history = SampleHistory(count);
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveHistory(path, history));
    std::remove(path.c_str());
    state.SetComplexityN(count);
}

// The part of saving that is not the disk's.
void BM_FormatHistory(benchmark::State& state)
{
    const int64_t count = state.range(0);
    const HistoryList history = SampleHistory(count);
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatHistory(history));
    state.SetComplexityN(count);
}

// The worst case of one OK: the confirmed entry stands last, so the whole list
// is searched, and then every entry moves up to make room at the front.
void BM_RememberInput(benchmark::State& state)
{
    const int64_t count = state.range(0);
    HistoryList history = SampleHistory(count);
    for (auto _ : state) {
        const std::string last = history.back();
        RememberInput(history, last, static_cast<int32_t>(count));
    }
    state.SetComplexityN(count);
}
}  // namespace

BENCHMARK(BM_LoadHistory)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_SaveHistory)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_FormatHistory)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_RememberInput)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
