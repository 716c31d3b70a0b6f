#!/usr/bin/env bash
# Makes sure the Debian packages the build and the tests need are present.
# As root it installs what is missing; otherwise it prints the command to run.
#
# A mirror in mid-sync serves some package lists that do not match their
# Release file, so `apt-get update` fails for them. Those lists are retried,
# then left behind; when the install then fails (the other architecture's
# security updates are missing from the old lists), it is tried once more with
# the suites whose lists failed pinned below the others, so that both
# architectures take the same versions. The pin lives in a parts folder of our
# own, given to that one apt-get command and removed afterwards: a copy of the
# machine's own parts, which keep deciding where they pin, and our pin last.
set -euo pipefail

missing=()
need() { # need PACKAGE TEST-COMMAND...
  local package=$1; shift
  "$@" >/dev/null 2>&1 || missing+=("$package")
}
need make        command -v make
need cmake       command -v cmake
need g++         command -v g++
need googletest  test -f /usr/src/googletest/CMakeLists.txt
need g++-mingw-w64-i686 command -v i686-w64-mingw32-g++-posix
need g++-mingw-w64-x86-64 command -v x86_64-w64-mingw32-g++-posix
need wine        command -v wine
need wine32:i386 test -x /usr/lib/wine/wine
need wine64      test -x /usr/lib/wine/wine64
need xvfb        command -v Xvfb
need xauth       command -v xauth
need zip         command -v zip
need unzip       command -v unzip
need faketime    command -v faketime
need locales     test -f /usr/share/i18n/locales/ja_JP
need clang       command -v clang++
need libclang-rt-dev test -n "$(find /usr/lib/llvm-* -name "libclang_rt.fuzzer-x86_64.a" 2>/dev/null)"
need clang-tidy  command -v clang-tidy
need cppcheck    command -v cppcheck
need libbenchmark-dev test -f /usr/include/benchmark/benchmark.h

[ ${#missing[@]} -eq 0 ] && exit 0

install=(apt-get install -y --no-install-recommends "${missing[@]}")
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Install them as root with:" >&2
  echo "  dpkg --add-architecture i386 && apt-get update && DEBIAN_FRONTEND=noninteractive ${install[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
update_tries=${ENSURE_DEPS_UPDATE_TRIES:-3}
update_pause=${ENSURE_DEPS_UPDATE_PAUSE:-20}

echo "Installing ${missing[*]} ..." >&2
dpkg --add-architecture i386 >&2

# The lists that the last update could not fetch, one "URI SUITE" per line,
# read from apt's "Err:N URI SUITE/COMPONENT ARCH Packages" lines.
failed_lists=""
for try in $(seq "$update_tries"); do
  if log=$(apt-get update 2>&1); then
    failed_lists=""
    echo "$log" >&2
    break
  fi
  echo "$log" >&2
  failed_lists=$(echo "$log" | sed -n 's/^Err:[0-9]* \([^ ]*\) \([^ /]*\)\/\?[^ ]* .*/\1 \2/p' | sort -u)
  [ -n "$failed_lists" ] || failed_lists="(apt-get update gave no list that failed)"
  if [ "$try" -lt "$update_tries" ]; then
    echo "apt-get update failed (try $try of $update_tries); trying again in ${update_pause} s" >&2
    sleep "$update_pause"
  fi
done
[ -z "$failed_lists" ] ||
  echo "warning: going on without these package lists, which apt-get update could not fetch: $(echo "$failed_lists" | tr '\n' ';' | sed 's/;$//; s/;/; /g')" >&2

"${install[@]}" >&2 && exit 0
[ -n "$failed_lists" ] || { echo "apt-get install failed" >&2; exit 1; }

# Once more with the suites whose lists failed pinned below the others. The
# folder replaces /etc/apt/preferences.d for that command, so it starts with a
# copy of it; /etc/apt/preferences is read as always. Parts are read in name
# order: ours comes last.
preferences=$(mktemp -d)
trap 'rm -rf "$preferences"' EXIT
parts=${ENSURE_DEPS_PREFERENCES_PARTS:-/etc/apt/preferences.d}  # a test's own folder
if [ -d "$parts" ]; then cp -pr "$parts"/. "$preferences"/; fi
suites=$(echo "$failed_lists" | awk 'NF == 2 { print $2 }' | sort -u | tr '\n' ' ')
# The failing line names the suite by its codename ("bookworm-security").
for suite in $suites; do
  printf 'Package: *\nPin: release n=%s\nPin-Priority: 100\n\n' "$suite" >>"$preferences/zzzz-toolcase-mirror-fallback.pref"
done
echo "apt-get install failed beside the lists that failed; installing once more with ${suites% } pinned below the other suites" >&2
echo "(this helps only while the packages of ${suites% } are not installed yet)" >&2
apt-get -o Dir::Etc::PreferencesParts="$preferences" "${install[@]:1}" >&2 && exit 0

cat >&2 <<MESSAGE
Could not install ${missing[*]}.
apt-get update could not fetch these package lists:
$(echo "$failed_lists" | sed 's/^/  /')
A mirror in mid-sync serves lists that do not match its Release file; it
usually recovers within hours. Run make again later. Installing with the
failing suites pinned down helps only while none of their packages is
installed yet.
MESSAGE
exit 1
