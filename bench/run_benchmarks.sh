#!/usr/bin/env bash
# The benchmarks as a check: the scan's cost per device stays flat from 1,000 to
# 100,000 devices, the sysfs layer is timed, and the whole process meets its goals.
# Usage: run_benchmarks.sh BUILD_DIR
set -u
build=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/lib/suite.sh"

out=$(mktemp)
"$build/scan_offer_bench" --benchmark_out="$out" --benchmark_out_format=csv
rate() { grep "^\"ScanAndOffer/$1\"" "$out" | cut -d, -f7; }  # items per second
small=$(rate 1000) large=$(rate 100000)
rm -f "$out"
awk -v s="$small" -v l="$large" 'BEGIN { exit !(s > 0 && l > 0 && s / l < 1.5) }'
verdict "cost per device flat from 1,000 to 100,000 devices ($small vs $large devices/s)" $?

"$build/sysfs_bench"
verdict "sysfs layer over a generated tree" $?

"$here/whole_process.sh" "$build" --check
verdict "whole process within 1.10x of the floor, under 4 MiB, idle while an installer runs" $?

summary bench
