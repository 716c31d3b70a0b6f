#!/usr/bin/env bash
# Runs one Windows program under Wine. Inside a session (tools/wine-session.sh)
# it uses that session's prefix and X server; alone it starts a session.
#   tools/wine-run.sh PROGRAM.exe [ARGS...]
set -uo pipefail
if [ -z "${TOOLCASE_WINE_SESSION:-}" ]; then
  exec "$(dirname "$0")/wine-session.sh" "$0" "$@"
fi
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
wine "$@" >"$log" 2>&1
status=$?
cat "$log"
rm -f "$log"
exit $status
