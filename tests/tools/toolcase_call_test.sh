#!/usr/bin/env bash
# toolcase-call.exe as a user meets it: help, the command list, an answer, and
# the exit codes for each way a call can fail; and its x64 build beside the
# x64 DLL, which must offer the same commands.
#   toolcase_call_test.sh BUILD-DIR
set -uo pipefail
build=$1
run=$(dirname "$0")/../../tools/wine-run.sh
failures=0
check() { # check DESCRIPTION EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then echo "ok: $1"; else echo "FAIL: $1: expected [$2], got [$3]"; failures=$((failures + 1)); fi
}
call() { "$run" "$build/toolcase-call.exe" "$@" | tr -d '\r'; return "${PIPESTATUS[0]}"; }
call_x64() { "$run" "$build/x64/toolcase-call.exe" "$@" | tr -d '\r'; return "${PIPESTATUS[0]}"; }
# shellcheck source=../../tools/wine-loader.sh
. "$(dirname "$0")/../../tools/wine-loader.sh"
if [ "$TOOLCASE_WINE_32BIT" == 0 ]; then
  echo "note: this machine runs no 32-bit programs: the x64 tool stands in for the 32-bit one"
  call() { call_x64 "$@"; }
fi
# The export table as "ordinal-1 name" lines, in ordinal order.
exports_by_ordinal() { # exports_by_ordinal OBJDUMP DLL
  "$1" -p "$2" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^\s*\[ *\([0-9]*\)\] /\1 /p' | sort -n
}
windows_path() { echo "Z:$1" | tr / '\\'; }

help=$(call --help); check "--help exits 0" 0 $?
case "$help" in usage:*--list*) check "--help shows usage" yes yes ;; *) check "--help shows usage" usage "$help" ;; esac

list=$(call --list); check "--list exits 0" 0 $?
by_ordinal=$(exports_by_ordinal i686-w64-mingw32-objdump "$build/toolcase.dll")
check "--list names exactly the exports but LoadDll and UnloadDll" "$(echo "$by_ordinal" | cut -d' ' -f2 | grep -v -x -e LoadDll -e UnloadDll | sort)" \
  "$(echo "$list" | cut -d' ' -f1 | sort)"

check "DLLInfo answers the one-line text" "Wrenchbox v1.0." "$(call DLLInfo | cut -c1-15)"
check "words are joined by single blanks" 'C:\Program Files' "$(call ExtractFullPath 'C:\program' files)"
# --utf8 calls as mIRC 7 does: a folder whose name the ANSI code page cannot
# hold is found, and its stored name answered, in UTF-8; for an older host the
# name comes back as its code page holds it.
if [ -n "${TOOLCASE_WINE_PREFIX_win64:-}" ]; then
  folder="toolcase-Größe-日本-$$"
  mkdir "$TOOLCASE_WINE_PREFIX_win64/drive_c/$folder"
  check "--utf8: a non-ASCII name" "C:\\$folder" "$(call --utf8 ExtractFullPath "C:\\${folder^^}")"
  check "x64 --utf8: a non-ASCII name" "C:\\$folder" "$(call_x64 --utf8 ExtractFullPath "C:\\${folder^^}")"
  ansi=$(call ExtractFullPath "C:\\${folder^^}")
  if [ "$ansi" != "C:\\$folder" ]; then check "without --utf8: the name as the code page holds it" yes yes
  else check "without --utf8: the name as the code page holds it" "not the UTF-8 name" "$ansi"; fi
  rmdir "$TOOLCASE_WINE_PREFIX_win64/drive_c/$folder"
fi
case "$(call --utf8 --help)" in usage:*--utf8*) check "--utf8 --help shows usage" yes yes ;; *) check "--utf8 --help shows usage" usage "" ;; esac
check "usage error" 2 "$(call >/dev/null 2>&1; echo $?)"
check "--dll without a path" 2 "$(call --dll >/dev/null 2>&1; echo $?)"
check "unknown command" 4 "$(call NoSuchCommand x >/dev/null 2>&1; echo $?)"
check "DLL missing" 3 "$(call --dll 'C:\no\such\toolcase.dll' DLLInfo >/dev/null 2>&1; echo $?)"

check "the x64 DLL has the same commands at the same ordinals" "$by_ordinal" \
  "$(exports_by_ordinal x86_64-w64-mingw32-objdump "$build/x64/toolcase.dll")"
check "x64: --list as the 32-bit one" "$list" "$(call_x64 --list)"
check "x64: DLLInfo answers the one-line text" "Wrenchbox v1.0." "$(call_x64 DLLInfo | cut -c1-15)"
[ "$TOOLCASE_WINE_32BIT" == 0 ] || check "the 32-bit tool cannot load the x64 DLL" 3 \
  "$(call --dll "$(windows_path "$build/x64/toolcase.dll")" DLLInfo >/dev/null 2>&1; echo $?)"
check "the x64 tool cannot load the 32-bit DLL" 3 \
  "$(call_x64 --dll "$(windows_path "$build/toolcase.dll")" DLLInfo >/dev/null 2>&1; echo $?)"
exit $((failures > 0))
