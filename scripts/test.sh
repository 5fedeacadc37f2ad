#!/usr/bin/env bash
# Sets up what is missing, then builds and runs every test: native, native with sanitizers,
# win64 and win32 under Wine; builds the fuzz targets, replays the inputs they once failed on and
# gives each a short smoke run.
# Build trees live under build/ and are reused, so a second run is incremental.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${TESSOLIN_JOBS:-$(nproc)}

bash scripts/setup.sh

step() { printf '\n=== %s ===\n' "$*"; }

build_and_test() {  # dir, then cmake options
  local dir=$1
  shift
  cmake -S . -B "$dir" -Wno-dev "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

step "native build and tests"
build_and_test build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo

step "native tests with AddressSanitizer and UndefinedBehaviorSanitizer"
build_and_test build/asan -DCMAKE_BUILD_TYPE=Debug -DTESSOLIN_SANITIZE=ON

step "win64 build and tests under Wine"
build_and_test build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo

step "win32 build and tests under Wine"
build_and_test build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo

step "fuzz targets (clang, libFuzzer): build and a short smoke run each"
CC=clang CXX=clang++ cmake -S . -B build/fuzz -Wno-dev -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTESSOLIN_FUZZ=ON -DTESSOLIN_BENCH=OFF -DTESSOLIN_TESTS=OFF >/dev/null
cmake --build build/fuzz -j "$jobs"
for target in $(find build/fuzz/fuzz -maxdepth 2 -type f -name 'fuzz_*' -perm -u+x | sort); do
  # Every input a long run found failing is kept in fuzz/AREA/regressions/TARGET and replayed first.
  kept="fuzz/$(basename "$(dirname "$target")")/regressions/$(basename "$target")"
  if [ -d "$kept" ] && [ -n "$(ls -A "$kept")" ]; then
    echo "regressions: $kept"
    "$target" "$kept"/* >"$target.regressions.log" 2>&1 || {
      tail -40 "$target.regressions.log"
      exit 1
    }
  fi
  echo "smoke: $target"
  "$target" -max_total_time=10 -print_final_stats=0 >/dev/null 2>"$target.log" || {
    tail -40 "$target.log"
    exit 1
  }
done

step "all tests passed"
