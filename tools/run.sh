#!/usr/bin/env bash
# Builds the program as needed and runs it under Wine, with the stand-in editor
# configured beside a staged copy of the executable (so no folder prompt).
#
# With a display ($DISPLAY) the dialog is yours to use. Without one it runs on a
# virtual display: types a target, presses Enter, prints what the stand-in
# editor received and the history file, and saves a screenshot of the dialog.
#
# The program is the 32-bit build; on a machine that cannot run 32-bit
# programs, the 64-bit build, and the script says so.
set -euo pipefail
cd "$(dirname "$0")/.."
trap 'echo "run.sh: failed (status $?): $BASH_COMMAND" >&2' ERR

# Runs a step with its output kept back, and shows the output when it fails.
quietly() {
  local log
  log=$(mktemp)
  "$@" >"$log" 2>&1 || { cat "$log" >&2; rm -f "$log"; echo "run.sh: failed: $*" >&2; exit 1; }
  rm -f "$log"
}

tools/install-deps.sh
bed=tests/testbed/testbed.sh
preset=win32
# Status 77: this machine cannot run 32-bit programs. Any other failure of
# Wine's 32-bit loader, which the bed prints, stops here.
reason=$("$bed" runs-32-bit) || [ $? = 77 ] || exit 1
if [ -n "$reason" ]; then
  echo "run.sh: $reason; running the 64-bit build instead"
  preset=win64
fi
build=build/$preset
quietly cmake --preset "$preset"
quietly cmake --build --preset "$preset" --target Wexmoor standin_editor

stage=$build/run
mkdir -p "$stage/Hidemaru"
cp "$build/Wexmoor.exe" "$stage/Wexmoor.exe"
cp "$build/tools/standin_editor/standin_editor.exe" "$stage/Hidemaru/Hidemaru.exe"
"$bed" start "$build" "${preset#win}"

winpath() { echo "Z:$(cd "$(dirname "$1")" && pwd)/$(basename "$1")" | tr / '\\'; }
printf '[config]\r\nhidemaru=%s\r\n' "$(winpath "$stage/Hidemaru/Hidemaru.exe")" >"$stage/Wexmoor.ini"
export WEXMOOR_HISTORY
WEXMOOR_HISTORY=$(winpath "$stage/Wexmoor.log")

if [ -n "${DISPLAY:-}" ]; then
  "$bed" run-on-display "$build" "$stage/Wexmoor.exe"
  exit 0
fi

export WEXMOOR_STANDIN_RECORD
WEXMOOR_STANDIN_RECORD=$(winpath "$stage/standin-record.txt")
rm -f "$stage/standin-record.txt"
"$bed" run "$build" "$stage/Wexmoor.exe" &
program=$!
window=$("$bed" shell "$build" timeout 20 xdotool search --sync --onlyvisible --name '^Wexmoor$' | head -n1) || true
[ -n "$window" ] || { echo "run.sh: the dialog did not appear within 20 s" >&2; exit 1; }
"$bed" shell "$build" xdotool windowactivate --sync "$window" 2>/dev/null || true
"$bed" shell "$build" xdotool type --delay 30 "demo.cpp:42"
"$bed" shell "$build" import -window "$window" "$stage/jump-dialog.png"
"$bed" shell "$build" xdotool key Return
wait "$program"
for _ in $(seq 100); do [ -f "$stage/standin-record.txt" ] && break; sleep 0.1; done
[ -f "$stage/standin-record.txt" ] || { echo "run.sh: the stand-in editor did not start within 10 s" >&2; exit 1; }

echo "--- the stand-in editor received ---"
cat "$stage/standin-record.txt"
hex=$(sed -n 's/^history_first_line=//p' "$stage/standin-record.txt")
printf 'jump target (first line of the history): %b\n' "$(echo "$hex" | sed 's/../\\x&/g')"
echo "--- history file $stage/Wexmoor.log ---"
od -c "$stage/Wexmoor.log" | head -n 10
echo "--- screenshot: $stage/jump-dialog.png"
"$bed" stop "$build"
