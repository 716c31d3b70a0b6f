# Sourced by the Wine scripts: which Wine loader runs programs on this machine.
# Debian's `wine` starts the 32-bit loader whenever wine32 is installed, and
# that loader starts 64-bit programs itself. A kernel built without IA-32
# emulation runs no 32-bit Linux program at all ("Exec format error"): there
# only the 64-bit loader runs, 32-bit Windows programs cannot, and no 32-bit
# prefix can be made.
#   TOOLCASE_WINE        the loader to run programs with
#   TOOLCASE_WINE_32BIT  1 when 32-bit Windows programs run here, else 0
if [ -z "${TOOLCASE_WINE:-}" ]; then
  if /usr/lib/wine/wine --version >/dev/null 2>&1 || [ ! -x /usr/lib/wine/wine64 ]; then
    TOOLCASE_WINE=wine
    TOOLCASE_WINE_32BIT=1
  else
    TOOLCASE_WINE=/usr/lib/wine/wine64
    TOOLCASE_WINE_32BIT=0
    export WINELOADER=/usr/lib/wine/wine64
  fi
  export TOOLCASE_WINE TOOLCASE_WINE_32BIT
fi

# Whether a Windows program is a 32-bit one, by its PE header's machine field.
is_32bit_program() { # is_32bit_program FILE
  local header
  header=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') || return 1
  [ -n "$header" ] && [ "$(od -An -tx2 -j$((header + 4)) -N2 "$1" | tr -d ' ')" == 014c ]
}

# The exit code that marks a test as skipped (the tests' SKIP_RETURN_CODE).
TOOLCASE_SKIPPED=77
