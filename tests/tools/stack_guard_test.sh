#!/usr/bin/env bash
# Runs the stack guard probe beside the DLL, with the guard's address that
# the DLL's symbol table gives (the same as its shipped debug file's).
#   stack_guard_test.sh PROBE DLL BINUTILS-PREFIX
set -uo pipefail
probe=$1 dll=$2 binutils=$3
base=$("$binutils-objdump" -p "$dll" | awk '$1 == "ImageBase" { print $2 }')
guard=$("$binutils-nm" "$dll" | awk '$3 ~ /^_?__stack_chk_guard$/ { print $1 }')
[ -n "$base" ] && [ -n "$guard" ] || { echo "FAIL: $dll has no __stack_chk_guard symbol"; exit 1; }
exec "$(dirname "$0")/../../tools/wine-run.sh" "$probe" check $((0x$guard - 0x$base))
