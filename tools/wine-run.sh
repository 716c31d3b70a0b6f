#!/usr/bin/env bash
# Runs one Windows program under Wine. Inside a session (tools/wine-session.sh)
# it uses that session's X server and the prefix that TOOLCASE_WINE_ARCH names:
# win64 (the default: 64-bit Windows, which runs 32-bit programs too) or win32
# (32-bit Windows). Alone it starts a session with that prefix only.
#   [TOOLCASE_WINE_ARCH=win32] tools/wine-run.sh PROGRAM.exe [ARGS...]
set -uo pipefail
# shellcheck source=wine-loader.sh
. "$(dirname "$0")/wine-loader.sh"
arch=${TOOLCASE_WINE_ARCH:-win64}
if [ "$TOOLCASE_WINE_32BIT" == 0 ] && { [ "$arch" == win32 ] || is_32bit_program "$1"; }; then
  echo "wine-run: skipped: $1 is a 32-bit program, and this machine runs none (no IA-32 emulation in its kernel)"
  exit "$TOOLCASE_SKIPPED"
fi
if [ -z "${TOOLCASE_WINE_SESSION:-}" ]; then
  TOOLCASE_WINE_ARCHES=$arch exec "$(dirname "$0")/wine-session.sh" "$0" "$@"
fi
prefix_variable=TOOLCASE_WINE_PREFIX_$arch
if [ -z "${!prefix_variable:-}" ]; then
  echo "wine-run: this Wine session has no $arch prefix" >&2
  exit 2
fi
export WINEPREFIX=${!prefix_variable}
# Wine names Unix files in the Unix locale's character set: without a UTF-8
# locale no file or folder with a non-ASCII name can be made.
case "${LC_ALL:-${LC_CTYPE:-${LANG:-}}}" in
  *.UTF-8 | *.utf8) ;;
  *) export LC_ALL=C.UTF-8 ;;
esac
# A locale asked for by LC_ALL that this machine lacks is built privately, so
# that Wine's Unix side can convert its file names (Wine reads LC_ALL itself).
if [ -n "${LC_ALL:-}" ] && [ "$LC_ALL" != C ] && [ "$LC_ALL" != POSIX ]; then
  wanted=$(echo "${LC_ALL}" | tr 'A-Z' 'a-z' | tr -d '-')
  if ! locale -a 2>/dev/null | tr 'A-Z' 'a-z' | tr -d '-' | grep -qx "$wanted"; then
    export LOCPATH=$WINEPREFIX/unix-locales
    [ -d "$LOCPATH/$LC_ALL" ] ||
      { mkdir -p "$LOCPATH" && localedef -i "${LC_ALL%%.*}" -f "${LC_ALL#*.}" "$LOCPATH/$LC_ALL" 2>/dev/null; } || true
  fi
fi
# Wine's background services may start during the program and outlive it; they
# must inherit a file, not our caller's pipe, or the caller would wait for them.
log=$(mktemp "${TMPDIR:-/tmp}/toolcase-run.XXXXXX")
"$TOOLCASE_WINE" "$@" >"$log" 2>&1
status=$?
# Wine's own Unix side, not the Windows program, now and then dies of SIGSEGV
# as a process ends, after the program has done all its work (seen once in a
# whole test run, and not again in 40 runs of that program). A crash of the
# program itself ends it with a Windows exception code instead. Such a run is made once more, and says so;
# a failure that the program makes again stays a failure.
if [ $status -eq 139 ]; then
  cat "$log"
  echo "wine-run: wine itself died of SIGSEGV (status 139); running $1 once more" >&2
  "$TOOLCASE_WINE" "$@" >"$log" 2>&1
  status=$?
fi
cat "$log"
rm -f "$log"
exit $status
