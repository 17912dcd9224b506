#!/usr/bin/env bash
# Fails when an executable imports a DLL that does not ship with Windows, so the
# program stays a single file that runs anywhere (no MinGW runtime DLLs).
#   check_imports.sh OBJDUMP EXECUTABLE
set -euo pipefail
shipped='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|shlwapi|ole32|oleaut32|advapi32|msvcrt|version)\.dll$'
imports=$("$1" -p "$2" | sed -n 's/^\s*DLL Name: //p')
[ -n "$imports" ] || { echo "no imports found in $2" >&2; exit 1; }
status=0
while read -r dll; do
  if echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$shipped"; then
    echo "ok: $dll"
  else
    echo "not shipped with Windows: $dll" >&2
    status=1
  fi
done <<<"$imports"
exit $status
