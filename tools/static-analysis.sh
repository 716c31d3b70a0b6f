#!/usr/bin/env bash
# Static analysis of src/: cppcheck and clang-tidy (checks in .clang-tidy),
# both over the Windows build's compile commands. Fails on any finding.
#   tools/static-analysis.sh [BUILD-DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
cd "$top"
test -f "$build/compile_commands.json" || { echo "no $build/compile_commands.json: configure first" >&2; exit 1; }
# The compile commands without the GCC options that clang does not know.
commands=$(mktemp -d)
trap 'rm -rf "$commands"' EXIT
sed 's/ -malign-data=abi//g' "$build/compile_commands.json" > "$commands/compile_commands.json"
sources=$(ls src/*/*.cpp)

# clang-tidy reads the MinGW compile lines; clang needs the MinGW headers named.
extra=(--extra-arg=--target=i686-w64-mingw32)
while read -r dir; do
  extra+=("--extra-arg=-isystem$dir")
done < <(echo | i686-w64-mingw32-g++-posix -std=c++20 -xc++ -E -v - 2>&1 |
         sed -n '/#include <...> search starts here/,/End of search list/p' | sed -n 's/^ //p')
echo "clang-tidy: $(echo $sources | wc -w) files"
status=0
findings=$(clang-tidy -p "$commands" --quiet "${extra[@]}" $sources 2>&1) || status=$?
echo "$findings" | grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$' || true
[ $status -eq 0 ] || exit $status

echo "cppcheck:"
cppcheck --quiet --error-exitcode=1 --std=c++20 --language=c++ --enable=warning,performance,portability \
  --inline-suppr --suppress=missingIncludeSystem -I src $sources
echo "static analysis: clean"
