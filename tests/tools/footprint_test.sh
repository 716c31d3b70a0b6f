#!/usr/bin/env bash
# The DLL imports from the system DLLs it may use and from no others, and none
# of the functions that betray a language runtime linked in (its thread-local
# slot, its exception handler, the locks and threads of winpthreads): mIRC
# loads and frees the DLL again and again, and that runtime leaks on each load.
# With an allow-list, every imported function must be on it as well.
#   footprint_test.sh DLL [ALLOW-LIST]
# The allow-list holds one "DLL function" per line; # starts a comment.
set -uo pipefail
dll=$1
allow_list=${2:-}
allowed_dlls="kernel32.dll user32.dll advapi32.dll ntdll.dll msvcrt.dll"
runtime_functions="TlsAlloc AddVectoredExceptionHandler CreateSemaphoreA CreateSemaphoreW _beginthreadex"

# The cross objdump for the DLL's machine (32 or 64 bits), named by the
# machine field of the PE header, which starts at the offset stored at 0x3c.
header=$(od -An -t u4 -j 60 -N 4 "$dll" 2>/dev/null | tr -d ' ')
machine=$(od -An -t x2 -j $((header + 4)) -N 2 "$dll" 2>/dev/null | tr -d ' ')
case $machine in
  014c) objdump=i686-w64-mingw32-objdump ;;
  8664) objdump=x86_64-w64-mingw32-objdump ;;
  *) echo "FAIL: $dll is no x86 or x86-64 PE file (machine [$machine])"; exit 1 ;;
esac

# One line per imported DLL ("KERNEL32.dll") and per function ("KERNEL32.dll TlsAlloc").
imports=$("$objdump" -p "$dll" | awk '
  /^[^ \t]/ { from = "" }
  /^\tDLL Name: / { from = $3; print from; next }
  from != "" && /^\t[0-9a-f]+\t/ { print from " " $NF }') || { echo "FAIL: $objdump cannot read $dll"; exit 1; }
[ -n "$imports" ] || { echo "FAIL: no import table found in $dll"; exit 1; }

failures=0
while read -r from function; do
  if [ -z "$function" ]; then
    case " $allowed_dlls " in
      *" ${from,,} "*) ;;
      *) echo "FAIL: imports from $from (allowed: $allowed_dlls)"; failures=$((failures + 1)) ;;
    esac
  elif [[ " $runtime_functions " == *" $function "* ]]; then
    echo "FAIL: imports $function from $from, a sign of the language runtime linked in"
    failures=$((failures + 1))
  elif [ -n "$allow_list" ] && ! grep -v '^#' "$allow_list" | grep -qix "$from $function"; then
    echo "FAIL: imports $function from $from, which is not in $(basename "$allow_list")"
    failures=$((failures + 1))
  fi
done <<< "$imports"

if [ $failures -eq 0 ]; then
  echo "ok: $(basename "$dll") imports $(grep -c ' ' <<< "$imports") functions, only from" \
    $(grep -v ' ' <<< "$imports")
fi
exit $((failures > 0))
