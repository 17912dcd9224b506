#!/usr/bin/env bash
# Builds everything and runs every test: the portable code natively (also under
# AddressSanitizer and UndefinedBehaviorSanitizer), then the 32-bit and 64-bit
# Windows builds under Wine. Installs missing packages first.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

for preset in native native-asan win32 win64; do
  echo "=== $preset ==="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
