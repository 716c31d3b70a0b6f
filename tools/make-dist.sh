#!/usr/bin/env bash
# Packs the release: dist/toolcase-<version>.zip, what a user copies, with
# the 32-bit DLL (for mIRC) and x64/toolcase.dll (for 64-bit hosts), each
# stripped, the command-line hosts, the README, the example script and the
# SHA-256 sums of every file; and dist/toolcase-<version>-symbols.zip with
# each DLL's debug information in toolcase.dll.debug, in the same folders, and
# its own sums. Each DLL names its debug file, with its checksum, in its GNU
# debug link: a debugger finds the file beside the DLL.
#
# Both zips are reproducible: the same commit gives the same bytes wherever and
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
symbols=$stage/$name-symbols
mkdir "$folder" "$symbols"

# ship_dll BUILT-DLL PATH-IN-ZIP BINUTILS-PREFIX
# Ships the DLL stripped, and its debug information in <name>.debug at the
# same place in the symbols' folder, named (with its checksum) by the DLL's
# .gnu_debuglink section. Both binutils stamp the PE header with
# SOURCE_DATE_EPOCH.
ship_dll() {
  local built=$1 shipped=$folder/$2 debug=$symbols/$2.debug binutils=$3
  mkdir -p "$(dirname "$shipped")" "$(dirname "$debug")"
  "$binutils-objcopy" --only-keep-debug "$built" "$debug"
  "$binutils-strip" --strip-all -o "$shipped" "$built"
  "$binutils-objcopy" --add-gnu-debuglink="$debug" "$shipped"
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
for packed in "$folder" "$symbols"; do
  (cd "$packed" && find . -type f ! -name SHA256SUMS -printf '%P\n' | LC_ALL=C sort | xargs sha256sum > SHA256SUMS)
done

# Fixed modes and dates, not what this machine's umask and clock made; zip
# writes DOS dates in local time, so it runs in UTC.
find "$stage" -type d -exec chmod 0755 {} +
find "$stage" -type f -exec chmod 0644 {} +
find "$stage" -type f \( -name '*.exe' -o -name '*.dll' \) -exec chmod 0755 {} +
find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
for packed in "$name" "$name-symbols"; do
  rm -f "$out/$packed.zip"
  (cd "$stage" && find "$packed" -type f | LC_ALL=C sort | TZ=UTC zip -q -X -D "$out/$packed.zip" -@)
  echo "$out/$packed.zip"
done
