#!/usr/bin/env bash
# Runs one Windows program under Wine. Inside a session (tools/wine-session.sh)
# it uses that session's prefix and X server; alone it starts a session.
#   tools/wine-run.sh PROGRAM.exe [ARGS...]
set -uo pipefail
if [ -z "${TOOLCASE_WINE_SESSION:-}" ]; then
  exec "$(dirname "$0")/wine-session.sh" "$0" "$@"
fi
# Wine's background services may start during the program and outlive it; they
# must inherit a file, not our caller's pipe, or the caller would wait for them.
log=$(mktemp "${TMPDIR:-/tmp}/toolcase-run.XXXXXX")
wine "$@" >"$log" 2>&1
status=$?
cat "$log"
rm -f "$log"
exit $status
