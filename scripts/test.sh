#!/usr/bin/env bash
# Every test of the project: installs what is missing, then builds and runs each suite.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-test-deps.sh
jobs=$(nproc)

for preset in default asan; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done
