#!/usr/bin/env bash
# Runs each fuzz target for a bounded time from the seed corpus kept here. New inputs go
# to a temporary folder; a crashing input is kept and named, to become an ordinary test.
# Usage: run_fuzzers.sh BUILD_DIR SECONDS_PER_TARGET
set -u
build=$1 seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d /tmp/usboffer-fuzz-XXXXXX)
source "$here/../lib/suite.sh"
for target in hardware_id attribute; do
  mkdir -p "$scratch/$target"
  if "$build/${target}_fuzz" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$scratch/" \
      "$scratch/$target" "$here/corpus/$target" >"$scratch/$target.log" 2>&1; then
    report "$target ($(grep -oE 'stat::number_of_executed_units: [0-9]+' "$scratch/$target.log" | grep -oE '[0-9]+$') runs)" ""
  else
    report "$target" "  the log and the input that failed are in $scratch"$'\n'"$(tail -30 "$scratch/$target.log")"
  fi
done
[ "$failed" -eq 0 ] && rm -rf "$scratch"
summary fuzz
