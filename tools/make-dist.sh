#!/usr/bin/env bash
# Packs the release: dist/toolcase-<version>.zip with the DLL, the command-line
# host, the README, the example script and their SHA-256 sums.
#   tools/make-dist.sh [BUILD-DIR] [OUT-DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
out=${2:-$top/dist}
version=$(sed -n 's/^project(toolcase VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
name=toolcase-$version

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$name"
cp "$build/toolcase.dll" "$build/toolcase-call.exe" "$top/README.md" "$top/examples/toolcase.mrc" \
  "$stage/$name/"
(cd "$stage/$name" && sha256sum toolcase.dll toolcase-call.exe README.md toolcase.mrc > SHA256SUMS)
mkdir -p "$out"
rm -f "$out/$name.zip"
(cd "$stage" && zip -q -r -X "$out/$name.zip" "$name")
echo "$out/$name.zip"
