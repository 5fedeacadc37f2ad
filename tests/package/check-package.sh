#!/usr/bin/env bash
# The package as a host developer meets it: installs the win64 build into a fresh prefix, builds
# examples/minimal-host against it with find_package(Tessolin) alone, runs the host under Wine on the
# data-file sample with "Find Title", then makes the ZIP with CPack and checks what it holds.
# Usage: check-package.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$1
build=$2
prefix="$build/package-check/prefix"
host_build="$build/package-check/minimal-host"
rm -rf "$build/package-check"

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/libtessolin.dll bin/libtessolin_framework.dll lib/libtessolin.dll.a \
         lib/cmake/Tessolin/TessolinConfig.cmake lib/cmake/Tessolin/TessolinConfigVersion.cmake \
         include/tessolin/documents/DataEditDocs.h include/tessolin/views/ColorEditView.h \
         share/doc/tessolin/host-guide.md share/tessolin/samples/bridge.dat; do
  [ -f "$prefix/$f" ] || { echo "not installed: $f" >&2; exit 1; }
done
if [ -e "$prefix/include/tessolin/views/PaintSurface.h" ]; then
  echo "an internal header was installed" >&2
  exit 1
fi

cmake -S "$src/examples/minimal-host" -B "$host_build" -Wno-dev -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$host_build" -j 2 >/dev/null
output=$("$build/wine-run.sh" "$host_build/minimal_host.exe" "$prefix/share/tessolin/samples/bridge.dat" \
           --find-title 第五章 2>/dev/null | tr -d '\r')
echo "minimal host: $(echo "$output" | iconv -f gbk -t utf-8)"
echo "$output" | grep -q 'title line [1-9]' || { echo "the minimal host did not find the title" >&2; exit 1; }

(cd "$build" && cpack -G ZIP >/dev/null)
zip=$(ls "$build"/package/Tessolin-*-win64.zip)
listing=$(cmake -E tar tf "$zip")
for f in bin/libtessolin.dll bin/tessolin_host.exe lib/cmake/Tessolin/TessolinConfig.cmake \
         include/tessolin/framework/win/Frame.h share/tessolin/samples/bridge.dat \
         share/doc/tessolin/host-guide.md share/tessolin/examples/minimal-host/CMakeLists.txt; do
  echo "$listing" | grep -q "/$f\$" || { echo "the ZIP lacks $f" >&2; exit 1; }
done
echo "ZIP: $zip ($(echo "$listing" | grep -vc '/$') files)"
