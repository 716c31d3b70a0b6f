#!/usr/bin/env bash
# Anyone can rebuild the release and get the same bytes: both zips of this
# build folder against a second build of the same sources in another folder,
# three days later by the clock (faketime), under another umask. Names every
# file that differs (and shows why with diffoscope, when installed).
#   reproducible_test.sh BUILD-DIR PRESET
set -uo pipefail
build=$(cd "$1" && pwd)
preset=$2
top=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(git -C "$top" log -1 --format=%ct)

"$top/tools/make-dist.sh" "$build" "$work/first" >/dev/null || { echo "FAIL: make-dist of $build"; exit 1; }

# The sources as they stand, ignored files left out, as a clone would have them.
mkdir "$work/elsewhere"
(cd "$top" && git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$work/elsewhere") ||
  { echo "FAIL: cannot copy the sources"; exit 1; }
second_build() {
  umask 0077
  cd "$work/elsewhere" &&
    cmake --preset "$preset" -DBUILD_TESTING=OFF &&
    cmake --build --preset "$preset" --parallel --target toolcase toolcase-call toolcase_x64 &&
    tools/make-dist.sh build "$work/second"
}
if ! (export -f second_build; export work preset
      faketime -f '+3d' bash -c second_build) >"$work/second.log" 2>&1; then
  tail -n 30 "$work/second.log"
  echo "FAIL: the second build"
  exit 1
fi

# compare_zips FIRST SECOND: 0 when their bytes are the same; else names
# every file that differs.
compare_zips() {
  local first=$1 second=$2 name
  name=$(basename "$first")
  if cmp -s "$first" "$second"; then
    echo "ok: $name built twice, bytes identical ($(sha256sum < "$first" | cut -c1-16)...)"
    return 0
  fi
  echo "FAIL: $name differs between the two builds"
  rm -rf "$work/a" "$work/b"
  unzip -q "$first" -d "$work/a" && unzip -q "$second" -d "$work/b"
  diff <(cd "$work/a" && find . -type f | sort) <(cd "$work/b" && find . -type f | sort)
  (cd "$work/a" && find . -type f) | while read -r file; do
    if ! cmp -s "$work/a/$file" "$work/b/$file"; then
      echo "  differs: ${file#./}"
      command -v diffoscope >/dev/null && diffoscope --text - "$work/a/$file" "$work/b/$file" | head -n 40
    fi
  done
  zipinfo -v "$first" >"$work/a.info"; zipinfo -v "$second" >"$work/b.info"
  diff "$work/a.info" "$work/b.info" | head -n 20
  return 1
}
[ "$(ls "$work"/first/*.zip | wc -l)" -eq 2 ] || { echo "FAIL: make-dist made no two zips"; exit 1; }
failures=0
for first in "$work"/first/*.zip; do
  compare_zips "$first" "$work/second/$(basename "$first")" || failures=$((failures + 1))
done
exit $((failures > 0))
