#!/usr/bin/env bash
# Runs a command inside one Wine session: an X server of its own (Xvfb) and
# throwaway Wine prefixes whose wineservers stay up for the whole run: a 64-bit
# Windows (win64, where 32-bit programs run under WoW64) and a 32-bit one
# (win32). All is removed afterwards; nothing else is touched.
#   tools/wine-session.sh COMMAND [ARGS...]
# TOOLCASE_WINE_ARCHES lists the prefixes to make (default "win64 win32");
# TOOLCASE_XVFB_ARGS the X server's screens (default one of 1024x768).
# Inside, TOOLCASE_WINE_PREFIX_win64 and TOOLCASE_WINE_PREFIX_win32 name them,
# and WINEPREFIX is the first one; tools/wine-run.sh picks one.
set -euo pipefail
# shellcheck source=wine-loader.sh
. "$(dirname "$0")/wine-loader.sh"

if [ -z "${TOOLCASE_WINE_SESSION:-}" ]; then
  export TOOLCASE_WINE_SESSION=1
  exec xvfb-run -a -s "${TOOLCASE_XVFB_ARGS:--screen 0 1024x768x24} -nolisten tcp" "$0" "$@"
fi

arches=${TOOLCASE_WINE_ARCHES:-win64 win32}
if [ "$TOOLCASE_WINE_32BIT" == 0 ]; then
  echo "wine-session: this machine runs no 32-bit programs (its kernel has no IA-32 emulation):" \
       "no 32-bit prefix, and 32-bit Windows programs are skipped" >&2
  arches=${arches//win32/}
fi
export WINEDEBUG=${WINEDEBUG:--all}
prefixes=()
cleanup() {
  for prefix in "${prefixes[@]}"; do
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
  done
}
trap cleanup EXIT

# Windows live on a virtual desktop, as on a real Windows machine: without a
# window manager, Wine waits about two seconds on every window that closes.
# TOOLCASE_WINE_DESKTOP set empty leaves it out: Wine then shows each screen of
# the X server (TOOLCASE_XVFB_ARGS) as a monitor of its own.
desktop=${TOOLCASE_WINE_DESKTOP-1024x768}
start_prefix() { # start_prefix PREFIX ARCH
  export WINEPREFIX=$1 WINEARCH=$2
  "$TOOLCASE_WINE" wineboot --init >/dev/null 2>&1
  if [ -z "$desktop" ]; then
    wineserver -k
    wineserver -p            # stays up until cleanup
    return
  fi
  cat > "$WINEPREFIX/desktop.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"Default"="$desktop"
REG
  "$TOOLCASE_WINE" regedit /S "$WINEPREFIX/desktop.reg" >/dev/null 2>&1
  wineserver -k
  wineserver -p              # restarted with the desktop setting; stays up until cleanup
  "$TOOLCASE_WINE" regedit /S "$WINEPREFIX/desktop.reg" >/dev/null 2>&1   # brings the desktop and services up
}

# Each prefix has its own wineserver, so they start side by side.
starting=()
for arch in $arches; do
  case $arch in win64|win32) ;; *) echo "wine-session: unknown Wine architecture $arch" >&2; exit 2 ;; esac
  prefix=$(mktemp -d "${TMPDIR:-/tmp}/toolcase-wine-$arch.XXXXXX")
  prefixes+=("$prefix")
  export "TOOLCASE_WINE_PREFIX_$arch=$prefix"
  start_prefix "$prefix" "$arch" &
  starting+=($!)
done
for pid in "${starting[@]}"; do
  wait "$pid"
done
export WINEPREFIX=${prefixes[0]}
"$@"
