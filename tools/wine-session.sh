#!/usr/bin/env bash
# Runs a command inside one Wine session: an X server of its own (Xvfb) and a
# throwaway Wine prefix whose wineserver stays up for the whole run. Both are
# removed afterwards; nothing else is touched.
#   tools/wine-session.sh COMMAND [ARGS...]
set -euo pipefail

if [ -z "${TOOLCASE_WINE_SESSION:-}" ]; then
  export TOOLCASE_WINE_SESSION=1
  exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$@"
fi

prefix=$(mktemp -d "${TMPDIR:-/tmp}/toolcase-wine.XXXXXX")
export WINEPREFIX=$prefix WINEDEBUG=-all
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$prefix"
}
trap cleanup EXIT

wine wineboot --init >/dev/null 2>&1
# Windows live on a virtual desktop, as on a real Windows machine: without a
# window manager, Wine waits about two seconds on every window that closes.
cat > "$prefix/desktop.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"
REG
wine regedit /S "$prefix/desktop.reg" >/dev/null 2>&1
wineserver -k
wineserver -p              # restarted with the desktop setting; stays up until cleanup
wine regedit /S "$prefix/desktop.reg" >/dev/null 2>&1   # brings the desktop and services up
"$@"
