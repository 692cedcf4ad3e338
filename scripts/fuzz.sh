#!/usr/bin/env bash
# Runs the number-rule fuzzer for a bounded time (seconds, default 60) from a
# seed corpus of interesting texts. Fails on any crash or broken rule.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp fuzz/seeds/* "$corpus"/
build/fuzz/fuzz/number_rules_fuzz -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 "$corpus" >"$corpus/log" 2>&1
status=$?
tail -n 15 "$corpus/log"
if [ "$status" -ne 0 ]; then
  echo "fuzzing failed with status $status"
  exit "$status"
fi
echo "fuzzing: no failure in ${seconds} s"
