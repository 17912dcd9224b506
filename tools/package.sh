#!/usr/bin/env bash
# Makes the release packages: build/win32/Wexmoor-<version>-win32.zip and
# build/win64/Wexmoor-<version>-win64.zip, each with the executable, the README
# for Windows users and the licence.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target Wexmoor >/dev/null
  (cd "build/$preset" && cpack -G ZIP) | grep 'package:'
done
