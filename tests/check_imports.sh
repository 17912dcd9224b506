#!/usr/bin/env bash
# Fails when an executable imports a DLL that Windows does not always take from
# its system folder (a known DLL): anything else, a MinGW run-time DLL or the
# common controls among them, would be looked for beside the program first,
# where any file of that name could lie.
#   check_imports.sh OBJDUMP EXECUTABLE
set -euo pipefail
known='^(kernel32|user32|gdi32|advapi32|ole32|oleaut32|msvcrt|shell32|shlwapi|comdlg32)\.dll$'
imports=$("$1" -p "$2" | sed -n 's/^\s*DLL Name: //p')
[ -n "$imports" ] || { echo "no imports found in $2" >&2; exit 1; }
status=0
while read -r dll; do
  if echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$known"; then
    echo "ok: $dll"
  else
    echo "not a known DLL, so looked for beside the program first: $dll" >&2
    status=1
  fi
done <<<"$imports"
exit $status
