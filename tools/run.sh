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
#
# The run has a test bed of its own beside the staged copy, so a dialog left
# open here and the tests never meet: the tests' bed stop would kill it, and it
# would hold the single-instance mutex their second-start rows count on. The
# mutex lives in the Wine server, and each prefix has a server of its own.
# Whatever the run started is stopped when it ends, however it ends.
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

# Runs a step in the background and waits for it: a signal then ends the script
# at once, where bash holds its trap until a step in the foreground has ended.
waited() { "$@" & wait $!; }

tools/install-deps.sh
bed=tests/testbed/testbed.sh
preset=win32
# A reason when this machine cannot run 32-bit programs. Any other failure of
# Wine's 32-bit loader, which the bed prints, stops here.
reason=$("$bed" why-not-32-bit) || exit 1
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
trap '"$bed" stop "$stage"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
"$bed" start "$stage" "${preset#win}"

winpath() { echo "Z:$(cd "$(dirname "$1")" && pwd)/$(basename "$1")" | tr / '\\'; }
printf '[config]\r\nhidemaru=%s\r\n' "$(winpath "$stage/Hidemaru/Hidemaru.exe")" >"$stage/Wexmoor.ini"
export WEXMOOR_HISTORY
WEXMOOR_HISTORY=$(winpath "$stage/Wexmoor.log")

if [ -n "${DISPLAY:-}" ]; then
  # The bed's persistent server would never end; an ordinary one ends shortly
  # after its last program, so waiting for it waits for the stand-in editor's
  # box as well as the dialog.
  "$bed" shell "$stage" wineserver -k
  waited "$bed" run-on-display "$stage" "$stage/Wexmoor.exe"
  waited "$bed" shell "$stage" wineserver -w
  exit 0
fi

export WEXMOOR_STANDIN_RECORD
WEXMOOR_STANDIN_RECORD=$(winpath "$stage/standin-record.txt")
rm -f "$stage/standin-record.txt"
"$bed" run "$stage" "$stage/Wexmoor.exe" &
program=$!
window=$("$bed" shell "$stage" timeout 20 xdotool search --sync --onlyvisible --name '^Wexmoor$' | head -n1) || true
[ -n "$window" ] || { echo "run.sh: the dialog did not appear within 20 s" >&2; exit 1; }
"$bed" shell "$stage" xdotool windowactivate --sync "$window" 2>/dev/null || true
"$bed" shell "$stage" xdotool type --delay 30 "demo.cpp:42"
"$bed" shell "$stage" import -window "$window" "$stage/jump-dialog.png"
"$bed" shell "$stage" xdotool key Return
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
