#!/usr/bin/env bash
# Sets up what is missing, builds the Windows build and starts the demo host on the bundled samples.
# With a display the host stays open until you close it; without one it runs on a virtual display,
# saves a screenshot of its window and prints the PNG's path. Extra arguments replace the samples.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${TESSOLIN_JOBS:-$(nproc)}
build=build/win64

bash scripts/setup.sh
cmake -S . -B "$build" -Wno-dev -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$jobs" --target tessolin_host

files=("$@")
[ ${#files[@]} -gt 0 ] || files=(samples/bridge.dat samples/bridge-check.out samples/bridge-results.txt)
if [ -n "${DISPLAY:-}" ]; then
  exec "$build/wine-run.sh" "$build/bin/tessolin_host.exe" "${files[@]}"
fi
png="$root/build/host-screenshot.png"
rm -f "$png"
timeout 300 "$build/wine-run.sh" "$build/bin/tessolin_host.exe" "${files[@]}" --screenshot "$png" || true
if [ ! -s "$png" ]; then
  echo "the host did not leave a screenshot" >&2
  exit 1
fi
echo "host window screenshot: $png"
