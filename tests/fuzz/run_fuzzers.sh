#!/usr/bin/env bash
# Runs each fuzz target for a bounded time from the seed corpus kept here. New inputs go
# to a temporary folder; a crashing input is kept and named, to become an ordinary test.
# Usage: run_fuzzers.sh BUILD_DIR SECONDS_PER_TARGET
set -u
build=$1 seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d /tmp/usboffer-fuzz-XXXXXX)
passed=0 failed=0
for target in hardware_id attribute; do
  mkdir -p "$scratch/$target"
  if "$build/${target}_fuzz" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$scratch/" \
      "$scratch/$target" "$here/corpus/$target" >"$scratch/$target.log" 2>&1; then
    echo "PASS: $target ($(grep -oE 'stat::number_of_executed_units: [0-9]+' "$scratch/$target.log" | grep -oE '[0-9]+$') runs)"
    passed=$((passed + 1))
  else
    echo "FAIL: $target; the log and the input that failed are in $scratch"
    tail -30 "$scratch/$target.log"
    failed=$((failed + 1))
  fi
done
[ "$failed" -eq 0 ] && rm -rf "$scratch"
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
