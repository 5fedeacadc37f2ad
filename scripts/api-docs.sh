#!/usr/bin/env bash
# Builds the API reference of the public headers with Doxygen into build/api-docs/html (or the folder
# given); a Doxygen warning fails the build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export TESSOLIN_API_DOCS=${1:-$root/build/api-docs}
export TESSOLIN_VERSION=$(sed -n 's/^project(Tessolin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
mkdir -p "$TESSOLIN_API_DOCS"
doxygen docs/Doxyfile
echo "API reference: $TESSOLIN_API_DOCS/html/index.html"
