#!/usr/bin/env bash
# Packs the release: dist/toolcase-<version>.zip with the 32-bit DLL (for
# mIRC) and x64/toolcase.dll (for 64-bit hosts), each stripped and with its
# debug information beside it in toolcase.dll.debug (which debuggers find
# through the DLL's GNU debug link), the command-line hosts, the README, the
# example script and the SHA-256 sums of every file.
#
# The zip is reproducible: the same commit gives the same bytes wherever and
# whenever it is built. Every date in it (the PE headers of the shipped
# programs, the files' dates in the zip) is the time of the last commit, or
# SOURCE_DATE_EPOCH when set; its entries are sorted, with fixed modes and no
# extra fields.
#   tools/make-dist.sh [BUILD-DIR] [OUT-DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
# Absolute: the zip is written from inside the staging folder.
build=$(cd "${1:-$top/build}" && pwd)
mkdir -p "${2:-$top/dist}"
out=$(cd "${2:-$top/dist}" && pwd)
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$top" log -1 --format=%ct 2>/dev/null) ||
    { echo "make-dist: not a git checkout: set SOURCE_DATE_EPOCH" >&2; exit 2; }
fi
export SOURCE_DATE_EPOCH
version=$(sed -n 's/^project(toolcase VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
name=toolcase-$version

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
folder=$stage/$name
mkdir "$folder"

# ship_dll BUILT-DLL PATH-IN-ZIP BINUTILS-PREFIX
# Ships the DLL stripped, with its debug information in <name>.debug beside
# it, named (with its checksum) by the DLL's .gnu_debuglink section. Both
# binutils stamp the PE header with SOURCE_DATE_EPOCH.
ship_dll() {
  local built=$1 shipped=$folder/$2 binutils=$3
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
# Each host beside the DLL of its bitness, which it loads by default.
i686-w64-mingw32-strip --strip-all -o "$folder/toolcase-call.exe" "$build/toolcase-call.exe"
x86_64-w64-mingw32-strip --strip-all -o "$folder/x64/toolcase-call.exe" "$build/x64/toolcase-call.exe"
cp "$top/README.md" "$top/examples/toolcase.mrc" "$folder/"
(cd "$folder" && find . -type f ! -name SHA256SUMS -printf '%P\n' | LC_ALL=C sort | xargs sha256sum > SHA256SUMS)

# Fixed modes and dates, not what this machine's umask and clock made; zip
# writes DOS dates in local time, so it runs in UTC.
find "$stage" -type d -exec chmod 0755 {} +
find "$stage" -type f -exec chmod 0644 {} +
find "$stage" -type f \( -name '*.exe' -o -name '*.dll' \) -exec chmod 0755 {} +
find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
rm -f "$out/$name.zip"
(cd "$stage" && find "$name" -type f | LC_ALL=C sort | TZ=UTC zip -q -X -D "$out/$name.zip" -@)
echo "$out/$name.zip"
