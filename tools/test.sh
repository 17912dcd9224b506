#!/usr/bin/env bash
# Builds everything and runs every test: the portable code natively (also under
# AddressSanitizer and UndefinedBehaviorSanitizer), then the 32-bit and 64-bit
# Windows builds under Wine. Installs missing packages first.
#
# Every preset runs even when one before it fails. A summary at the end gives,
# per preset, the tests passed, failed and skipped, and why any were skipped,
# and says so in a line of its own when the 32-bit product did not run under
# Wine (on a machine that cannot run 32-bit programs, its tests there are
# skipped). The exit status is non-zero when a build or a test failed.
set -uo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh || { echo "test.sh: installing the packages failed" >&2; exit 1; }

# One line per test of a CTest JUnit report: its name, passed, failed or
# skipped, and the first line of its output. Only a test that ended with its
# skip status counts as skipped: CTest reports tests it did not run because
# the test bed failed as skipped too.
per_test() {
  awk '
    /<testcase / {
      match($0, /name="[^"]*"/); name = substr($0, RSTART + 6, RLENGTH - 7)
      result = /status="run"/ ? "passed" : "failed"; first = ""
    }
    /<skipped message="SKIP_RETURN_CODE=/ { result = "skipped" }
    /<system-out>/ { first = $0; sub(/.*<system-out>/, "", first); sub(/<\/system-out>.*/, "", first) }
    /<\/testcase>/ { print name "\t" result "\t" first }
  ' "$1"
}

failed=0
summary=()

# Builds and tests one preset, adds its lines to the summary, and sets
# not_run to why its program did not run under Wine (empty when it did).
test_preset() {
  local preset=$1 report=$PWD/build/$1/ctest-report.xml results bed tests bed_reason reason
  not_run=""
  rm -f "$report"
  if ! cmake --preset "$preset" >/dev/null || ! cmake --build --preset "$preset"; then
    failed=1
    summary+=("$(printf '%-12s the build failed' "$preset")")
    not_run="the build failed"
    return
  fi
  ctest --preset "$preset" --output-junit "$report" || failed=1
  if [ ! -f "$report" ]; then
    failed=1
    summary+=("$(printf '%-12s ctest wrote no report' "$preset")")
    not_run="ctest wrote no report"
    return
  fi
  results=$(per_test "$report")
  # The bed's own start and stop are not tests of the program.
  bed=$(awk -F'\t' '$1 == "testbed_start"' <<<"$results")
  tests=$(awk -F'\t' '$1 != "testbed_start" && $1 != "testbed_stop"' <<<"$results")
  count() { awk -F'\t' -v result="$1" '$2 == result' <<<"$tests" | wc -l; }
  summary+=("$(printf '%-12s %3d passed %3d failed %3d skipped' "$preset" \
    "$(count passed)" "$(count failed)" "$(count skipped)")")
  case $(cut -f2 <<<"$bed") in
    passed) ;;
    skipped) bed_reason=$(cut -f3 <<<"$bed"); not_run=${bed_reason#skipped: } ;;
    failed) not_run="its test bed did not start (its output is above)" ;;
    *) not_run="it has no test bed" ;;
  esac
  # A skipped test says why in the first line of its output; the bed's reason,
  # which its tests repeat, is said once, in the line on what did not run.
  while read -r reason; do
    summary+=("             $reason")
  done < <(awk -F'\t' '$2 == "skipped" { print $3 }' <<<"$tests" | grep -vxF "${bed_reason:-}" | sort -u)
}

for preset in native native-asan win32 win64; do
  echo "=== $preset ==="
  test_preset "$preset"
  [ "$preset" != win32 ] || win32_not_run=$not_run
done

echo "=== summary ==="
printf '%s\n' "${summary[@]}"
[ -z "$win32_not_run" ] || echo "win32: the 32-bit product was NOT run under Wine on this machine: $win32_not_run"
exit $failed
