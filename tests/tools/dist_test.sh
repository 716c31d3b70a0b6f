#!/usr/bin/env bash
# The release zip holds what a mIRC user needs, with matching sums, and the
# DLL answers from the unpacked folder.
#   dist_test.sh BUILD-DIR
set -euo pipefail
build=$(cd "$1" && pwd)
top=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

zip=$("$top/tools/make-dist.sh" "$build" "$work/out")
unzip -q "$zip" -d "$work/unpacked"
folder=$(echo "$work"/unpacked/toolcase-*)
for file in toolcase.dll toolcase-call.exe README.md toolcase.mrc SHA256SUMS; do
  test -f "$folder/$file" || { echo "FAIL: $file missing from $(basename "$zip")"; exit 1; }
done
(cd "$folder" && sha256sum --quiet -c SHA256SUMS)
answer=$(cd "$folder" && "$top/tools/wine-run.sh" ./toolcase-call.exe DLLInfo | tr -d '\r')
case "$answer" in
  "Wrenchbox v1.0. "*) echo "ok: $(basename "$zip") unpacks and answers: $answer" ;;
  *) echo "FAIL: unexpected answer [$answer]"; exit 1 ;;
esac
