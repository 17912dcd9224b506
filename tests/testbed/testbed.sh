#!/usr/bin/env bash
# The Wine test bed: a throwaway Wine prefix inside the build tree, a Japanese
# locale (ANSI code page 932), a Japanese font for the dialogs and a virtual X
# display. Nothing of the machine's own Wine or X settings is used.
#
#   testbed.sh start BUILD_DIR BITS   find the Wine loader for BITS-bit (32 or 64) programs,
#                                     create the prefix if needed, start Xvfb and wineserver
#   testbed.sh stop  BUILD_DIR        stop both again
#   testbed.sh run   BUILD_DIR PROGRAM [ARGS...]   run a Windows program in the bed
#   testbed.sh shell BUILD_DIR COMMAND [ARGS...]   run a Linux command with the bed's environment
#   testbed.sh run-on-display BUILD_DIR PROGRAM [ARGS...]   run in the bed's prefix on the caller's $DISPLAY
#   testbed.sh why-not-32-bit         print nothing when this machine runs 32-bit programs,
#                                     and why not when it cannot
#   testbed.sh skip-status            print the exit status that means "skipped" (below)
#
# Exit statuses, the same for every action; this block and cannot_run below
# are the one place they are defined:
#   0           done; run passes the program's own status through instead,
#               whatever it is (a test program's 0 or 1)
#   cannot_run  skipped: this bed cannot run its programs on this machine, and
#               says why in one line. CTest counts it as skipped, neither passed
#               nor failed (SKIP_RETURN_CODE, read from skip-status)
#   1           the bed itself failed (Xvfb, the prefix, a broken Wine loader),
#               with what it printed
#   2           a wrong command line
#
# Some machines run 64-bit Linux programs only (the kernel's IA-32 emulation is
# off). There Wine's 32-bit loader fails with "Exec format error", and Debian's
# wine command takes that loader whenever it is installed. So start tries the
# 32-bit loader once: where it runs, the bed uses the wine command as usual;
# where it does not, a bed for 64-bit programs runs them through the 64-bit
# loader directly, and a bed for 32-bit programs cannot run anything: start,
# run and shell then print the reason in one line and end with cannot_run,
# which the tests report as skipped. WEXMOOR_WINE64_ONLY=1 takes the 64-bit-only
# path on any machine. Any other failure of the 32-bit loader (a missing package, a
# broken install, a stray environment variable) fails start with the loader's
# own output: skipped, the product would never run and nobody would know.
set -euo pipefail

readonly wine32_loader=/usr/lib/wine/wine wine64_loader=/usr/lib/wine/wine64
readonly cannot_run=77

# Prints nothing when this machine runs 32-bit programs, and why not when the
# kernel refuses them or the 64-bit-only path is asked for. Fails, with what
# the loader printed, when the loader fails for any other reason.
why_not_32_bit() {
  local output status=0
  if [ "${WEXMOOR_WINE64_ONLY:-0}" = 1 ]; then
    echo "WEXMOOR_WINE64_ONLY=1 is set"
    return
  fi
  # The shell's own message when the kernel refuses the file, in English
  # whatever language the bed runs in.
  output=$(LC_ALL=C; "$wine32_loader" --version 2>&1) || status=$?
  [ $status != 0 ] || return 0
  case $output in
    *"Exec format error"*) echo "this machine cannot run 32-bit programs ($wine32_loader: Exec format error)" ;;
    *) echo "test bed: Wine's 32-bit loader fails, and not because the kernel refuses 32-bit programs" \
         "($wine32_loader --version ended with status $status):" >&2
       echo "$output" >&2
       return 1 ;;
  esac
}

case ${1:-} in
  why-not-32-bit) why_not_32_bit; exit ;;
  skip-status) echo $cannot_run; exit 0 ;;
esac

action=$1
build=$(cd "$2" && pwd)
shift 2
bed=$build/testbed
mkdir -p "$bed"

export WINEPREFIX=$bed/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Japanese, so the ANSI code page is 932; WEXMOOR_LOCALE runs a test in
# another (hi_IN.UTF-8: code page 65001), and the programs it starts with it.
export LANG=${WEXMOOR_LOCALE:-ja_JP.UTF-8} LC_ALL=${WEXMOOR_LOCALE:-ja_JP.UTF-8}
unset WINEARCH

# The loader that start chose for this bed (in $bed/loader), or the reason why
# the bed's programs cannot run here (in $bed/cannot-run).
use_loader() {
  if [ -f "$bed/cannot-run" ]; then
    cat "$bed/cannot-run"
    exit $cannot_run
  fi
  [ -f "$bed/loader" ] || { echo "test bed not started: run 'testbed.sh start $build BITS' first" >&2; exit 1; }
  wine=$(cat "$bed/loader")
  # Wine starts a program's child processes through this loader too.
  [ "$wine" = wine ] || export WINELOADER=$wine
}

choose_loader() {
  local bits=$1 reason
  rm -f "$bed/loader" "$bed/cannot-run"
  reason=$(why_not_32_bit) || exit 1
  if [ -z "$reason" ]; then
    echo wine >"$bed/loader"
  elif [ "$bits" = 64 ]; then
    echo "$wine64_loader" >"$bed/loader"
  else
    echo "skipped: $reason, so the 32-bit build does not run under Wine here; the win64 build runs these tests" \
      >"$bed/cannot-run"
  fi
}

display_alive() {
  [ -f "$bed/xvfb.pid" ] && kill -0 "$(cat "$bed/xvfb.pid")" 2>/dev/null
}

set_registry() {
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f || return
  "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f || return
  for face in 'ＭＳ Ｐゴシック' 'MS PGothic' 'ＭＳ ゴシック' 'MS Gothic' 'MS UI Gothic'; do
    "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d IPAPGothic /f || return
  done
}

# Runs a step quietly; when it fails, says which and shows what it printed.
step() {
  local what=$1 output
  shift
  output=$("$@" 2>&1) || { echo "test bed: $what failed: $*" >&2; echo "$output" >&2; exit 1; }
}

start() {
  choose_loader "$1"
  use_loader
  if ! display_alive; then
    rm -f "$bed/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -r -nolisten tcp -noreset >"$bed/xvfb.log" 2>&1 3>"$bed/display" </dev/null &
    echo $! >"$bed/xvfb.pid"
    for _ in $(seq 100); do [ -s "$bed/display" ] && break; sleep 0.05; done
    [ -s "$bed/display" ] || { echo "Xvfb did not start" >&2; cat "$bed/xvfb.log" >&2; exit 1; }
  fi
  export DISPLAY=:$(head -n1 "$bed/display")
  # A prefix made through the other loader is made anew.
  if [ "$(cat "$WINEPREFIX/.testbed-ready" 2>/dev/null)" != "$wine" ]; then
    rm -rf "$WINEPREFIX"
    step "creating the Wine prefix" "$wine" wineboot -i
    step "setting up the Wine registry" set_registry
    wineserver -w
    echo "$wine" >"$WINEPREFIX/.testbed-ready"
  fi
  wineserver -p >/dev/null 2>&1 </dev/null || true  # already running: fine
}

stop() {
  wineserver -k 2>/dev/null || true
  if display_alive; then kill "$(cat "$bed/xvfb.pid")" 2>/dev/null || true; fi
  rm -f "$bed/xvfb.pid" "$bed/display"
}

use_display() {
  use_loader
  display_alive || { echo "test bed not started: run 'testbed.sh start $build BITS' first" >&2; exit 1; }
  export DISPLAY=:$(head -n1 "$bed/display")
  export WEXMOOR_TESTBED=$bed
}

case $action in
  start) start "$@" ;;
  stop) stop ;;
  run)
    use_display
    # Wine's helper processes (services, the desktop) outlive the program and
    # would hold a caller's output pipe open; the program's output goes
    # through a file instead.
    out=$(mktemp)
    status=0
    "$wine" "$@" >"$out" 2>&1 </dev/null || status=$?
    cat "$out"
    rm -f "$out"
    exit $status
    ;;
  shell) use_display; exec "$@" ;;
  run-on-display) use_loader; exec "$wine" "$@" ;;
  *) echo "usage: $0 start|stop|run|shell|run-on-display BUILD_DIR ... | why-not-32-bit | skip-status" >&2; exit 2 ;;
esac
