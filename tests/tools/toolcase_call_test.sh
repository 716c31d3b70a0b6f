#!/usr/bin/env bash
# toolcase-call.exe as a user meets it: help, the command list, an answer, and
# the exit codes for each way a call can fail.
#   toolcase_call_test.sh BUILD-DIR
set -uo pipefail
build=$1
run=$(dirname "$0")/../../tools/wine-run.sh
failures=0
check() { # check DESCRIPTION EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then echo "ok: $1"; else echo "FAIL: $1: expected [$2], got [$3]"; failures=$((failures + 1)); fi
}
call() { "$run" "$build/toolcase-call.exe" "$@" | tr -d '\r'; return "${PIPESTATUS[0]}"; }

help=$(call --help); check "--help exits 0" 0 $?
case "$help" in usage:*--list*) check "--help shows usage" yes yes ;; *) check "--help shows usage" usage "$help" ;; esac

list=$(call --list); check "--list exits 0" 0 $?
exports=$(i686-w64-mingw32-objdump -p "$build/toolcase.dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^\s*\[ *[0-9]*\] //p' | sort)
check "--list names exactly the exports" "$exports" "$(echo "$list" | cut -d' ' -f1 | sort)"

check "DLLInfo answers the one-line text" "Wrenchbox v1.0." "$(call DLLInfo | cut -c1-15)"
check "words are joined by single blanks" 'C:\Program Files' "$(call ExtractFullPath 'C:\program' files)"
check "usage error" 2 "$(call >/dev/null 2>&1; echo $?)"
check "--dll without a path" 2 "$(call --dll >/dev/null 2>&1; echo $?)"
check "unknown command" 4 "$(call NoSuchCommand x >/dev/null 2>&1; echo $?)"
check "DLL missing" 3 "$(call --dll 'C:\no\such\toolcase.dll' DLLInfo >/dev/null 2>&1; echo $?)"
exit $((failures > 0))
