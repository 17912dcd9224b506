#!/usr/bin/env bash
# Fuzzes the portable code with libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer, a few minutes per target, starting from the
# corpus kept in tests/fuzz/corpus. Prints the executions and crashes of each
# target; exits non-zero when any target crashed.
#
#   tools/fuzz.sh [SECONDS_PER_TARGET [TARGET...]]   default: 180 s, every target
#
# New inputs go to build/fuzz/corpus/<target>, crashing ones to
# build/fuzz/crashes/<target>. With FUZZ_MERGE=1 the inputs that add coverage
# are merged into the kept corpus afterwards (review them before committing).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

seconds=${1:-180}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(history dbcs_copy)

build=build/fuzz
sanitizers="address,undefined"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DWEXMOOR_LIBFUZZER=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,$sanitizers -fno-sanitize-recover=all -fno-omit-frame-pointer" \
  >/dev/null
cmake --build "$build" --target "${targets[@]/#/fuzz_}"

# The history target saves a file for every input; memory-backed storage keeps
# that from dominating the run.
[ -d /dev/shm ] && export TMPDIR=/dev/shm

failed=0
printf '%-16s %12s %8s %8s\n' target execs crashes seconds >"$build/summary.txt"
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  crashes=$build/crashes/$target
  rm -rf "$crashes"
  mkdir -p "$corpus" "$crashes"
  cp -n tests/fuzz/corpus/"$target"/* "$corpus"/
  log=$build/$target.log
  status=0
  "$build/tests/fuzz/fuzz_$target" "$corpus" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$crashes/" -rss_limit_mb=1024 >"$log" 2>&1 || status=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
  found=$(find "$crashes" -type f | wc -l)
  printf '%-16s %12s %8s %8s\n' "$target" "${execs:-?}" "$found" "$seconds" >>"$build/summary.txt"
  if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then
    failed=1
    echo "--- $target: see $log and $crashes" >&2
    tail -n 30 "$log" >&2
  fi
  if [ "${FUZZ_MERGE:-0}" = 1 ]; then
    "$build/tests/fuzz/fuzz_$target" -set_cover_merge=1 tests/fuzz/corpus/"$target" "$corpus" >>"$log" 2>&1
  fi
done
cat "$build/summary.txt"
exit $failed
