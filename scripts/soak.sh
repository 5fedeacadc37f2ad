#!/usr/bin/env bash
# A long seeded soak of random input against both views (the suite runs a short one):
#   bash scripts/soak.sh [STEPS] [SEED] [RUNS]      e.g. bash scripts/soak.sh 10000000 7 4
# Builds the win64 tests when needed, splits the steps over RUNS runs in parallel (seeds SEED,
# SEED+1, ...), each in a copy of the build's Wine prefix (one Wine server each: the runs wait on
# Wine's round trips more than on the processor) and prints each run's result; a failing run's seed
# and step reproduce it. TESSOLIN_SOAK_HIDDEN=1 runs with the window hidden (no painting), about
# three times faster. The runs use a copy of the programs, so the build can go on meanwhile.
# Logs go to build/win64/soak/run-K.log. TESSOLIN_SOAK_BUILD=win32 soaks the 32-bit build in
# build/win32 instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
steps=${1:-10000000}
seed=${2:-$(date +%s)}
runs=${3:-4}
case ${TESSOLIN_SOAK_BUILD:-win64} in
  win64) build=build/win64 toolchain=cmake/mingw-w64-x86_64.cmake ;;
  win32) build=build/win32 toolchain=cmake/mingw-w64-i686.cmake ;;
  *) echo "TESSOLIN_SOAK_BUILD: win64 or win32" >&2; exit 2 ;;
esac
bash scripts/setup.sh
cmake -S . -B "$build" -Wno-dev -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target view_tests
"$build/wine-run.sh" cmd /c exit >/dev/null 2>&1 || true # prepares the build's prefix
rm -rf "$build/soak/bin"
mkdir -p "$build/soak"
cp -a "$build/bin" "$build/soak/bin"
echo "soak: $steps steps in $runs runs, seeds $seed..$((seed + runs - 1))${TESSOLIN_SOAK_HIDDEN:+, hidden}"
start=$(date +%s)
pids=()
for ((k = 0; k < runs; ++k)); do
  prefix="$build/soak/prefix-$k"
  if [ ! -f "$prefix/.tessolin-ready" ]; then
    rm -rf "$prefix"
    cp -a "$build/wineprefix" "$prefix"
  fi
  TESSOLIN_WINE_PREFIX="$root/$prefix" TESSOLIN_SOAK_STEPS=$((steps / runs)) \
    TESSOLIN_SOAK_SEED=$((seed + k)) "$build/wine-run.sh" "$build/soak/bin/view_tests.exe" \
    --gtest_filter='ViewSoak.*' >"$build/soak/run-$k.log" 2>&1 &
  pids+=($!)
done
failed=0
for ((k = 0; k < runs; ++k)); do
  if wait "${pids[$k]}"; then result=passed; else result=FAILED; failed=1; fi
  echo "run $k (seed $((seed + k)), $((steps / runs)) steps): $result"
  [ "$result" = passed ] || grep -m 3 -A 3 "Failure" "$build/soak/run-$k.log" || true
done
echo "soak: $steps steps in $(( $(date +%s) - start )) s"
exit $failed
