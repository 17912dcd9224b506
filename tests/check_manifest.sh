#!/usr/bin/env bash
# Fails unless the executable carries the manifest's promises: system DPI
# awareness (the dialogs are laid out once for the screen's DPI and stay
# sharp) and version 6 of the common controls (their current look, and the
# subclassing the framework relies on). The manifest is stored as it is written.
#   check_manifest.sh EXECUTABLE
set -euo pipefail
status=0
for wanted in 'WindowsSettings">system</dpiAwareness>' 'WindowsSettings">true</dpiAware>' \
  '"Microsoft.Windows.Common-Controls" version="6.0.0.0"'; do
  grep -aqF "$wanted" "$1" || { echo "not in the manifest: $wanted" >&2; status=1; }
done
exit $status
