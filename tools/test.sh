#!/usr/bin/env bash
# Builds everything and runs every test: the portable code natively (also under
# AddressSanitizer and UndefinedBehaviorSanitizer), then the 32-bit and 64-bit
# Windows builds under Wine. Installs missing packages first.
#
# Every preset runs even when one before it fails. A summary at the end gives,
# per preset, the tests passed, failed and skipped, and why any were skipped
# (on a machine that cannot run 32-bit programs, the 32-bit build's tests under
# Wine are). The exit status is non-zero when a build or a test failed.
set -uo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh || { echo "test.sh: installing the packages failed" >&2; exit 1; }

failed=0
summary=()
for preset in native native-asan win32 win64; do
  echo "=== $preset ==="
  report=$PWD/build/$preset/ctest-report.xml
  rm -f "$report"
  if ! cmake --preset "$preset" >/dev/null || ! cmake --build --preset "$preset"; then
    failed=1
    summary+=("$(printf '%-12s the build failed' "$preset")")
    continue
  fi
  ctest --preset "$preset" --output-junit "$report" || failed=1
  if [ ! -f "$report" ]; then
    failed=1
    summary+=("$(printf '%-12s ctest wrote no report' "$preset")")
    continue
  fi
  count() { sed -n "s/^\s*$1=\"\([0-9]*\)\"/\1/p" "$report" | head -n 1; }
  tests=$(count tests) failures=$(count failures) skipped=$(count skipped)
  summary+=("$(printf '%-12s %3d passed %3d failed %3d skipped' "$preset" \
    $((tests - failures - skipped)) "$failures" "$skipped")")
  # A skipped test says why in a line of its own output.
  while read -r reason; do
    summary+=("             $reason")
  done < <(sed -n 's/^.*<system-out>//; /^skipped: /p' "$report" | sort -u)
done

echo "=== summary ==="
printf '%s\n' "${summary[@]}"
exit $failed
