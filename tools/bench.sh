#!/usr/bin/env bash
# Builds and runs the benchmarks, and prints their figures (not a test):
#   1. natively, the history code's load, save and update for 1,000 to 1,000,000
#      entries, with Google Benchmark's fit of how each grows;
#   2. under Wine, side by side in one run: start-up with an empty history
#      against the leanest program showing the same dialog (no run-time) and
#      the bare one (C and C++ run-time); start-up with 1,000 to 200,000
#      entries against a plain program filling the same list; Enter to editor
#      start; and the parts of a long history timed one by one.
#
#   tools/bench.sh [ROUNDS]      ROUNDS (default 15) for the side-by-side runs
#   WEXMOOR_BEFORE=path/to/Wexmoor.exe tools/bench.sh   measures an earlier build beside this one
#
# Build folders: build/native and build/win32, or $BENCH_NATIVE_BUILD and
# $BENCH_WIN32_BUILD. The figures are also written to <win32 build>/bench-results.md.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

rounds=${1:-15}
native=${BENCH_NATIVE_BUILD:-build/native}
win32=${BENCH_WIN32_BUILD:-build/win32}
results=$win32/bench-results.md

cmake --preset native -B "$native" >/dev/null
cmake --build "$native" --target history_bench >/dev/null
cmake --preset win32 -B "$win32" >/dev/null
cmake --build "$win32" --target startup_bench >/dev/null

bed=tests/testbed/testbed.sh
# A bed that is up already (its wineserver answers "already running") is used as it is.
"$bed" start "$win32" || true
trap '"$bed" stop "$win32"' EXIT

{
  echo "# Benchmark figures, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
  echo
  echo '## History code, native (Google Benchmark)'
  echo
  echo '```'
  "$native/bench/history_bench" --benchmark_min_time=0.2 2>&1
  echo '```'
  echo
  WEXMOOR_BIN=$(cd "$win32" && pwd) "$bed" run "$win32" "$win32/bench/startup_bench.exe" "$rounds"
} | tee "$results"
