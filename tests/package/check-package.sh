#!/usr/bin/env bash
# The package as a host developer meets it: installs the build (win64 or win32) into a fresh prefix,
# checks that its DLLs are of the build's machine, builds examples/minimal-host against it with
# find_package(Tessolin) alone and the build's toolchain, runs the host under Wine on the data-file
# sample with "Find Title", then makes the ZIP with CPack and checks what it holds.
# Usage: check-package.sh SOURCE_DIR BUILD_DIR TOOLCHAIN_FILE win64|win32
set -euo pipefail
src=$1
build=$2
toolchain=$3
name=$4
case $name in
  win64) machine=8664 pointer=8 objdump=x86_64-w64-mingw32-objdump ;;
  win32) machine=14c pointer=4 objdump=i686-w64-mingw32-objdump ;;
  *) echo "unknown build: $name" >&2; exit 2 ;;
esac

# The machine field of a PE file's header, in hex (8664: x86-64, 14c: i386).
pe_machine() {
  local header
  header=$(od -An -t u4 -j 60 -N 4 "$1" | tr -d ' ')
  od -An -t x2 -j $((header + 4)) -N 2 "$1" | tr -d ' ' | sed 's/^0*//'
}
prefix="$build/package-check/prefix"
host_build="$build/package-check/minimal-host"
c_host_build="$build/package-check/c-host"
rm -rf "$build/package-check"

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/libtessolin.dll bin/libtessolin_framework.dll lib/libtessolin.dll.a \
         lib/cmake/Tessolin/TessolinConfig.cmake lib/cmake/Tessolin/TessolinConfigVersion.cmake \
         include/tessolin/documents/DataEditDocs.h include/tessolin/views/ColorEditView.h \
         include/tessolin/tessolin.h \
         share/doc/tessolin/host-guide.md share/tessolin/samples/bridge.dat; do
  [ -f "$prefix/$f" ] || { echo "not installed: $f" >&2; exit 1; }
done
if [ -e "$prefix/include/tessolin/views/PaintSurface.h" ]; then
  echo "an internal header was installed" >&2
  exit 1
fi
for f in "$prefix"/bin/*.dll "$prefix"/bin/*.exe; do
  [ "$(pe_machine "$f")" = "$machine" ] || { echo "$f is not a $name file" >&2; exit 1; }
done
# The library DLLs carry their runtime: a host of another compiler loads no mingw-w64 DLL through them.
for f in "$prefix"/bin/libtessolin.dll "$prefix"/bin/libtessolin_framework.dll; do
  if "$objdump" -p "$f" | grep -qiE "DLL Name: *(libstdc|libgcc|libwinpthread)"; then
    echo "$f imports a mingw-w64 runtime DLL" >&2
    exit 1
  fi
done
# The demo host, a C++ program of mingw-w64, loads the runtime DLLs installed beside it.
ls "$prefix"/bin/libgcc_s_*.dll >/dev/null 2>&1 || { echo "no GCC runtime DLL installed" >&2; exit 1; }
# The version file turns down a project whose pointers are of the other size.
grep -q "CMAKE_SIZEOF_VOID_P STREQUAL \"$pointer\"" "$prefix/lib/cmake/Tessolin/TessolinConfigVersion.cmake" || {
  echo "the package's version file is not for $pointer-byte pointers" >&2
  exit 1
}

cmake -S "$src/examples/minimal-host" -B "$host_build" -Wno-dev -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$host_build" -j 2 >/dev/null
output=$("$build/wine-run.sh" "$host_build/minimal_host.exe" "$prefix/share/tessolin/samples/bridge.dat" \
           --find-title 第五章 2>/dev/null | tr -d '\r')
echo "minimal host: $(echo "$output" | iconv -f gbk -t utf-8)"
grep -q 'title line [1-9]' <<<"$output" || { echo "the minimal host did not find the title" >&2; exit 1; }

# A C host: find_package(Tessolin), Tessolin::editor and tessolin.h alone, compiled as C.
cmake -S "$src/examples/c-host" -B "$c_host_build" -Wno-dev -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$c_host_build" -j 2 >/dev/null
output=$("$build/wine-run.sh" "$c_host_build/c_host.exe" "$prefix/share/tessolin/samples/bridge.dat" \
           "$prefix/share/tessolin/samples/bridge-check.out" --check 2>/dev/null | tr -d '\r')
echo "C host: $(echo "$output" | tail -1)"
grep -q 'checks failed: 0' <<<"$output" || { echo "the C host's checks failed" >&2; exit 1; }

(cd "$build" && cpack -G ZIP >/dev/null)
zip=$(ls "$build"/package/Tessolin-*-"$name".zip)
listing=$(cmake -E tar tf "$zip")
for f in bin/libtessolin.dll bin/tessolin_host.exe lib/cmake/Tessolin/TessolinConfig.cmake \
         include/tessolin/framework/win/Frame.h share/tessolin/samples/bridge.dat \
         share/doc/tessolin/host-guide.md share/tessolin/examples/minimal-host/CMakeLists.txt \
         include/tessolin/tessolin.h share/tessolin/examples/c-host/CHost.c; do
  # A here-string, not a pipe: grep -q stops at the first match, and with pipefail the writer's
  # broken pipe would fail the check on a long listing.
  grep -q "/$f\$" <<<"$listing" || { echo "the ZIP lacks $f" >&2; exit 1; }
done
echo "ZIP: $zip ($(echo "$listing" | grep -vc '/$') files)"
