#!/usr/bin/env bash
# Fails unless the executable starts at WexmoorStartup (framework/app_entry.cpp),
# which restricts DLL loads before the C run-time or anything else of the
# program runs. The shipped file carries no symbols, so the function's address
# comes from the map the link writes; the entry point is the PE header's
# AddressOfEntryPoint plus ImageBase. A 32-bit program is entered with its
# stack aligned to 4 bytes only, so there the function must align it to 16
# itself (force_align_arg_pointer) before its first call.
#   check_entry_point.sh OBJDUMP EXECUTABLE MAP
set -euo pipefail
objdump=$1 executable=$2 map=$3
header=$("$objdump" -p "$executable")
field() { awk -v name="$1" '$1 == name { print $2; exit }' <<<"$header"; }
rva=$(field AddressOfEntryPoint) base=$(field ImageBase)
[ -n "$rva" ] && [ -n "$base" ] || { echo "no PE header read from $executable" >&2; exit 1; }
# A symbol's line in the map holds its address and its name, nothing else.
symbols() { awk 'NF == 2 && $1 ~ /^0x[0-9a-f]+$/' "$map"; }
own=$(symbols | awk '$2 == "WexmoorStartup" { print $1 }')
[ "$(grep -c . <<<"$own")" = 1 ] || { echo "WexmoorStartup is not listed once in $map" >&2; exit 1; }
# Written as wide as the map writes addresses, to find what lies there.
entry=$(printf '0x%0*x' $((${#own} - 2)) $((0x$rva + 0x$base)))
if [ "$entry" != "$own" ]; then
  there=$(symbols | awk -v at="$entry" '$1 == at { print $2 }')
  echo "the entry point is $entry (${there:-no symbol}), not WexmoorStartup at $own" >&2
  exit 1
fi
if [[ $("$objdump" -f "$executable") == *pei-i386* ]]; then
  first=$("$objdump" -d --start-address=$((entry)) --stop-address=$((entry + 16)) "$executable")
  if ! grep -q 'and  *$0xfffffff0,%esp' <<<"$first"; then
    echo "WexmoorStartup does not align the stack to 16 bytes before it calls; it begins:" >&2
    grep -E '^ +[0-9a-f]+:' <<<"$first" >&2
    exit 1
  fi
fi
echo "entry point $entry is WexmoorStartup"
