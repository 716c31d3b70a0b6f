#!/usr/bin/env bash
# Packs the release: dist/toolcase-<version>.zip with the 32-bit DLL (for
# mIRC) and x64/toolcase.dll (for 64-bit hosts), each stripped and with its
# debug information beside it in toolcase.dll.debug (which debuggers find
# through the DLL's GNU debug link), the command-line host, the README, the
# example script and the SHA-256 sums of every file.
#   tools/make-dist.sh [BUILD-DIR] [OUT-DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
# Absolute: the zip is written from inside the staging folder.
build=$(cd "${1:-$top/build}" && pwd)
mkdir -p "${2:-$top/dist}"
out=$(cd "${2:-$top/dist}" && pwd)
version=$(sed -n 's/^project(toolcase VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
name=toolcase-$version

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
folder=$stage/$name
mkdir "$folder"

# ship_dll BUILT-DLL PATH-IN-ZIP BINUTILS-PREFIX
# Ships the DLL stripped, with its debug information in <name>.debug beside
# it, named (with its checksum) by the DLL's .gnu_debuglink section. The
# rewritten DLL is stamped with the time of the build, not of the packing.
ship_dll() {
  local built=$1 shipped=$folder/$2 binutils=$3
  local -x SOURCE_DATE_EPOCH
  SOURCE_DATE_EPOCH=$(stat -c %Y "$built")
  mkdir -p "$(dirname "$shipped")"
  "$binutils-objcopy" --only-keep-debug "$built" "$shipped.debug"
  "$binutils-strip" --strip-all -o "$shipped" "$built"
  "$binutils-objcopy" --add-gnu-debuglink="$shipped.debug" "$shipped"
  local bytes
  bytes=$(stat -c %s "$shipped")
  echo "$2: $bytes bytes ($(awk "BEGIN { printf \"%.1f\", $bytes / 1024 }") KB) stripped," \
    "debug information in $2.debug"
}

ship_dll "$build/toolcase.dll" toolcase.dll i686-w64-mingw32
ship_dll "$build/x64/toolcase.dll" x64/toolcase.dll x86_64-w64-mingw32
cp "$build/toolcase-call.exe" "$top/README.md" "$top/examples/toolcase.mrc" "$folder/"
# The x64 host beside the x64 DLL, which it loads by default.
cp "$build/x64/toolcase-call.exe" "$folder/x64/"
(cd "$folder" && find . -type f ! -name SHA256SUMS -printf '%P\n' | LC_ALL=C sort | xargs sha256sum > SHA256SUMS)
rm -f "$out/$name.zip"
(cd "$stage" && zip -q -r -X "$out/$name.zip" "$name")
echo "$out/$name.zip"
