#!/usr/bin/env bash
# Every test of the project: installs what is missing, then builds and runs each suite.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-test-deps.sh
jobs=$(nproc)

# Unit tests, the POSIX layer and the shipped binary in a mount namespace; then all of
# it again under AddressSanitizer and UndefinedBehaviorSanitizer.
for preset in default asan; do
  echo "== Linux: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done

echo "== Fuzzing, 30 s a target"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
tests/fuzz/run_fuzzers.sh build-fuzz 30

echo "== Benchmarks"
bench/run_benchmarks.sh build

echo "== Windows: the 32-bit exe and zip, and the same sources for 64 bits"
for preset in windows windows-x64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done
tests/wine/check_exe.sh build-windows

echo "== Windows end to end under Wine"
tests/wine/wine_suite.sh build-windows build-windows-x64
