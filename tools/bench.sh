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
# The Windows programs are the 32-bit build (the product). On a machine that
# cannot run 32-bit programs they are the 64-bit build, the references
# included, and the output says so; WEXMOOR_BEFORE must then be 64-bit too.
#
# Build folders: build/native and build/win32 (build/win64), or
# $BENCH_NATIVE_BUILD and $BENCH_WINDOWS_BUILD. The figures are also written to
# <Windows build>/bench-results.md.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

bed=tests/testbed/testbed.sh
preset=win32
# A reason when this machine cannot run 32-bit programs. Any other failure of
# Wine's 32-bit loader, which the bed prints, stops here.
reason=$("$bed" why-not-32-bit) || exit 1
if [ -n "$reason" ]; then
  preset=win64
  echo "bench.sh: $reason; measuring the 64-bit build" >&2
fi
programs="${preset#win}-bit build${reason:+, since $reason}"

rounds=${1:-15}
native=${BENCH_NATIVE_BUILD:-build/native}
windows=${BENCH_WINDOWS_BUILD:-build/$preset}
results=$windows/bench-results.md

cmake --preset native -B "$native" >/dev/null
cmake --build "$native" --target history_bench >/dev/null
cmake --preset "$preset" -B "$windows" >/dev/null
cmake --build "$windows" --target startup_bench >/dev/null

# A bed that is up already (its wineserver answers "already running") is used as it is.
"$bed" start "$windows" "${preset#win}" || true
trap '"$bed" stop "$windows"' EXIT

{
  echo "# Benchmark figures, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
  echo
  echo "Windows programs, the references included: the $programs."
  echo
  echo '## History code, native (Google Benchmark)'
  echo
  echo '```'
  "$native/bench/history_bench" --benchmark_min_time=0.2 2>&1
  echo '```'
  echo
  WEXMOOR_BIN=$(cd "$windows" && pwd) "$bed" run "$windows" "$windows/bench/startup_bench.exe" "$rounds"
} | tee "$results"
