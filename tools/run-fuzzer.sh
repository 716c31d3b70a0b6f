#!/usr/bin/env bash
# Runs one libFuzzer target for a bounded time, starting from its committed
# seeds (copied, so new inputs never land in the source tree). A crash input
# is kept in the build's fuzz/artifacts folder.
#   tools/run-fuzzer.sh FUZZER-BINARY SEED-DIR SECONDS
set -euo pipefail
fuzzer=$1 seeds=$2 seconds=$3
artifacts=$(dirname "$fuzzer")/artifacts
mkdir -p "$artifacts"
corpus=$(mktemp -d)
log=$(mktemp)
trap 'rm -rf "$corpus" "$log"' EXIT
cp -r "$seeds"/. "$corpus"/ 2>/dev/null || true
status=0
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$artifacts/$(basename "$fuzzer")-" "$corpus" >"$log" 2>&1 || status=$?
if [ $status -eq 0 ]; then
  grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units)' "$log" || true
else
  tail -n 60 "$log"
fi
exit $status
