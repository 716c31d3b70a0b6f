#!/usr/bin/env bash
# The release as a user makes it (make dist at the top of the checkout) and
# meets it: every file in each zip, summed; the DLL stripped and small, the
# user's zip small and without debug information, which the symbols' zip holds
# in the same folders, linked from each DLL; the DLL answering from the
# unpacked folder.
#   dist_test.sh PRESET      (the preset this build folder was configured with)
set -uo pipefail
preset=$1
top=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# What a user downloads and mIRC loads stays small: at most 104 KB shipped,
# debug link included; the zip a user downloads at most 352 KB.
largest_dll=106496
largest_zip=360448
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# With the build's own preset: another one would reconfigure and rebuild everything.
if ! make -C "$top" dist PRESET="$preset" >"$work/make.log" 2>&1; then
  cat "$work/make.log"
  echo "FAIL: make dist PRESET=$preset"
  exit 1
fi
grep -E '^[^ ]*toolcase\.dll: ' "$work/make.log"
zip=$(grep -E '^/.*[0-9]\.zip$' "$work/make.log" | tail -n 1)
symbols_zip=${zip%.zip}-symbols.zip
for packed in "$zip" "$symbols_zip"; do
  [ -f "$packed" ] || { echo "FAIL: make dist made no $packed"; exit 1; }
  unzip -q "$packed" -d "$work/unpacked"
done
folder=$(basename "$zip" .zip)
symbols=$work/unpacked/$folder-symbols
folder=$work/unpacked/$folder

# check_zip_holds FOLDER ZIP FILE...: exactly these files and SHA256SUMS, summed.
check_zip_holds() {
  local packed=$1 name
  name=$(basename "$2")
  shift 2
  local expected present summed
  expected=$(printf '%s\n' "$@" | LC_ALL=C sort)
  present=$(cd "$packed" && find . -type f ! -name SHA256SUMS -printf '%P\n' | LC_ALL=C sort)
  [ "$present" == "$expected" ] || fail "$name holds [$(echo $present)], not [$(echo $expected)]"
  summed=$(sed 's/^[0-9a-f]*  //' "$packed/SHA256SUMS" | LC_ALL=C sort)
  [ "$summed" == "$present" ] || fail "$name: SHA256SUMS sums [$(echo $summed)], the zip holds [$(echo $present)]"
  (cd "$packed" && sha256sum --quiet -c SHA256SUMS) || fail "$name: a sum in SHA256SUMS does not match"
}
check_zip_holds "$folder" "$zip" toolcase.dll toolcase-call.exe x64/toolcase.dll x64/toolcase-call.exe \
  README.md toolcase.mrc
check_zip_holds "$symbols" "$symbols_zip" toolcase.dll.debug x64/toolcase.dll.debug
[ "$(stat -c %s "$zip")" -le $largest_zip ] ||
  fail "$(basename "$zip") is $(stat -c %s "$zip") bytes, more than $((largest_zip / 1024)) KB"

# check_shipped_dll PATH-IN-ZIP BINUTILS-PREFIX
check_shipped_dll() {
  local dll=$folder/$1 debug=$symbols/$1.debug binutils=$2 name
  name=$(basename "$dll")
  if "$binutils-objdump" -h "$dll" | grep -q ' \.debug_'; then fail "$name still holds debug sections"; fi
  "$binutils-objdump" -h "$debug" | grep -q ' \.debug_info ' ||
    fail "$name.debug holds no debug information"
  # The link: the file's name, NULs up to a multiple of 4 bytes, then the
  # file's CRC-32, which is also the one gzip writes in its trailer.
  # (objcopy succeeds when the section is missing, only without dumping it)
  rm -f "$work/link"
  "$binutils-objcopy" --dump-section .gnu_debuglink="$work/link" "$dll" "$work/scratch" 2>/dev/null
  if [ -f "$work/link" ]; then
    local linked crc_linked crc_file
    linked=$(head -z -n 1 "$work/link" | tr -d '\0')
    crc_linked=$(tail -c 4 "$work/link" | od -An -tx1)
    crc_file=$(gzip -c "$debug" | tail -c 8 | head -c 4 | od -An -tx1)
    [ "$linked" == "$name.debug" ] || fail "$name links to [$linked], not to $name.debug"
    [ "$crc_linked" == "$crc_file" ] || fail "$name links to a $name.debug with another checksum"
  else
    fail "$name has no .gnu_debuglink section"
  fi
  local bytes
  bytes=$(stat -c %s "$dll")
  [ "$bytes" -le $largest_dll ] ||
    fail "$name is $bytes bytes stripped, more than $((largest_dll / 1024)) KB ($largest_dll bytes)"
}
check_shipped_dll toolcase.dll i686-w64-mingw32
check_shipped_dll x64/toolcase.dll x86_64-w64-mingw32

# shellcheck source=../../tools/wine-loader.sh
. "$top/tools/wine-loader.sh"
for host in toolcase-call.exe x64/toolcase-call.exe; do
  if [ "$TOOLCASE_WINE_32BIT" == 0 ] && is_32bit_program "$folder/$host"; then
    echo "skip: $host is a 32-bit program, and this machine runs none"
    continue
  fi
  answer=$(cd "$folder" && "$top/tools/wine-run.sh" "./$host" DLLInfo | tr -d '\r')
  case "$answer" in
    "Wrenchbox v1.0. "*) echo "ok: the unpacked DLL answers $host: $answer" ;;
    *) fail "unexpected answer from the DLL beside $host [$answer]" ;;
  esac
done
[ $failures -eq 0 ] && echo "ok: $(basename "$zip") holds every file a user copies, summed, each DLL stripped and linked to its debug information in $(basename "$symbols_zip")"
exit $((failures > 0))
