#!/usr/bin/env bash
# A long seeded soak of random input against both views (the suite runs a short one):
#   bash scripts/soak.sh [STEPS] [SEED]      e.g. bash scripts/soak.sh 10000000 7
# Builds the win64 tests when needed and prints the test's result; the seed reproduces a failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
steps=${1:-10000000}
seed=${2:-$(date +%s)}
build=build/win64
bash scripts/setup.sh
cmake -S . -B "$build" -Wno-dev -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target view_tests
echo "soak: $steps steps, seed $seed"
start=$(date +%s)
TESSOLIN_SOAK_STEPS=$steps TESSOLIN_SOAK_SEED=$seed \
  "$build/wine-run.sh" "$build/bin/view_tests.exe" --gtest_filter='ViewSoak.*'
echo "soak: $steps steps in $(( $(date +%s) - start )) s, seed $seed"
