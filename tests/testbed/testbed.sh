#!/usr/bin/env bash
# The Wine test bed: a throwaway Wine prefix inside the build tree, a Japanese
# locale (ANSI code page 932), a Japanese font for the dialogs and a virtual X
# display. Nothing of the machine's own Wine or X settings is used.
#
#   testbed.sh start BUILD_DIR        create the prefix if needed, start Xvfb and wineserver
#   testbed.sh stop  BUILD_DIR        stop both again
#   testbed.sh run   BUILD_DIR PROGRAM [ARGS...]   run a Windows program in the bed
#   testbed.sh shell BUILD_DIR COMMAND [ARGS...]   run a Linux command with the bed's environment
#   testbed.sh run-on-display BUILD_DIR PROGRAM [ARGS...]   run in the bed's prefix on the caller's $DISPLAY
set -euo pipefail

action=$1
build=$(cd "$2" && pwd)
shift 2
bed=$build/testbed
mkdir -p "$bed"

export WINEPREFIX=$bed/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
unset WINEARCH

display_alive() {
  [ -f "$bed/xvfb.pid" ] && kill -0 "$(cat "$bed/xvfb.pid")" 2>/dev/null
}

set_registry() {
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
  for face in 'ＭＳ Ｐゴシック' 'MS PGothic' 'ＭＳ ゴシック' 'MS Gothic' 'MS UI Gothic'; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d IPAPGothic /f
  done
}

start() {
  if ! display_alive; then
    rm -f "$bed/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -r -nolisten tcp -noreset >"$bed/xvfb.log" 2>&1 3>"$bed/display" </dev/null &
    echo $! >"$bed/xvfb.pid"
    for _ in $(seq 100); do [ -s "$bed/display" ] && break; sleep 0.05; done
    [ -s "$bed/display" ] || { echo "Xvfb did not start" >&2; cat "$bed/xvfb.log" >&2; exit 1; }
  fi
  export DISPLAY=:$(head -n1 "$bed/display")
  if [ ! -f "$WINEPREFIX/.testbed-ready" ]; then
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    set_registry >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.testbed-ready"
  fi
  wineserver -p >/dev/null 2>&1 </dev/null || true  # already running: fine
}

stop() {
  wineserver -k 2>/dev/null || true
  if display_alive; then kill "$(cat "$bed/xvfb.pid")" 2>/dev/null || true; fi
  rm -f "$bed/xvfb.pid" "$bed/display"
}

use_display() {
  display_alive || { echo "test bed not started: run 'testbed.sh start $build' first" >&2; exit 1; }
  export DISPLAY=:$(head -n1 "$bed/display")
  export WEXMOOR_TESTBED=$bed
}

case $action in
  start) start ;;
  stop) stop ;;
  run)
    use_display
    # Wine's helper processes (services, the desktop) outlive the program and
    # would hold a caller's output pipe open; the program's output goes
    # through a file instead.
    out=$(mktemp)
    status=0
    wine "$@" >"$out" 2>&1 </dev/null || status=$?
    cat "$out"
    rm -f "$out"
    exit $status
    ;;
  shell) use_display; exec "$@" ;;
  run-on-display) exec wine "$@" ;;
  *) echo "usage: $0 start|stop|run|shell BUILD_DIR ..." >&2; exit 2 ;;
esac
