#!/usr/bin/env bash
# What the DLL's PE header promises its host, read from the file itself: the
# oldest Windows it loads on, ASLR with relocations to back it, DEP, on x64
# high-entropy ASLR, on 32-bit no structured exception handler (NO_SEH), no
# section both writable and executable; and the stack guard compiled in.
#   pe_header_test.sh DLL OS-VERSION      (OS-VERSION: 5.1 for XP, 6.0 for Vista)
set -uo pipefail
dll=$1
want_version=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
u16() { od -An -t u2 -j "$1" -N 2 "$dll" | tr -d ' '; }
u32() { od -An -t u4 -j "$1" -N 4 "$dll" | tr -d ' '; }

pe=$(u32 60)
[ "$(u32 "$pe")" == 17744 ] || { echo "FAIL: $dll has no PE signature"; exit 1; }
sections=$(u16 $((pe + 6)))
optional=$((pe + 24))
optional_size=$(u16 $((pe + 20)))
case $(u16 "$optional") in
  267) bits=32 directories=$((optional + 96)) objdump=i686-w64-mingw32-objdump ;;
  523) bits=64 directories=$((optional + 112)) objdump=x86_64-w64-mingw32-objdump ;;
  *) echo "FAIL: $dll has an unknown optional header"; exit 1 ;;
esac

os_version=$(u16 $((optional + 40))).$(u16 $((optional + 42)))
subsystem_version=$(u16 $((optional + 48))).$(u16 $((optional + 50)))
[ "$os_version" == "$want_version" ] || fail "OS version $os_version, not $want_version"
[ "$subsystem_version" == "$want_version" ] || fail "subsystem version $subsystem_version, not $want_version"

flags=$(u16 $((optional + 70)))
has() { (( flags & $1 )); }
has 0x40 || fail "not DYNAMIC_BASE (ASLR)"
has 0x100 || fail "not NX_COMPAT (DEP)"
if [ $bits == 64 ]; then
  has 0x20 || fail "not HIGH_ENTROPY_VA"
else
  has 0x400 || fail "not NO_SEH"
  # An image marked NO_SEH must not install a handler: a write of fs:0, the
  # head of the thread's handler chain, would be one.
  if "$objdump" -d "$dll" | grep -E 'mov +%[a-z]+,%fs:0x0$'; then
    fail "marked NO_SEH, yet installs a structured exception handler (above)"
  fi
fi
# The guard's failure routine is linked in and called by the guarded
# functions (named by this build's symbols, which the shipped DLL leaves in its
# debug file).
guarded=$("$objdump" -d "$dll" | grep -c -E 'call +[0-9a-f]+ <_?__stack_chk_fail>')
[ "$guarded" -gt 0 ] || fail "no function calls __stack_chk_fail: no stack guard"
# ASLR moves the image only if it can be relocated.
[ "$(u32 $((directories + 5 * 8 + 4)))" -gt 0 ] || fail "no base relocations"

for ((i = 0; i < sections; i++)); do
  header=$((optional + optional_size + i * 40))
  name=$(dd if="$dll" bs=1 skip=$header count=8 2>/dev/null | tr -d '\0')
  characteristics=$(u32 $((header + 36)))
  if (( characteristics & 0x20000000 && characteristics & 0x80000000 )); then
    fail "section $name is both writable and executable"
  fi
done

[ $failures -eq 0 ] && echo "ok: $(basename "$dll") ($bits-bit) for Windows $want_version and later," \
  "ASLR, DEP$([ $bits == 64 ] && echo ", high-entropy ASLR" || echo ", NO_SEH"), no writable code," \
  "a stack guard in $guarded functions"
exit $((failures > 0))
