#!/usr/bin/env bash
# Makes sure the Debian packages the build and the tests need are present.
# As root it installs what is missing; otherwise it prints the command to run.
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

install="dpkg --add-architecture i386 && apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Install them as root with:" >&2
  echo "  $install" >&2
  exit 1
fi
echo "Installing ${missing[*]} ..." >&2
bash -c "$install" >&2
