#!/usr/bin/env bash
# Regenerates the README's pictures of the demo host (docs/host.png from the main job's screenshot,
# docs/host-options.png with the 查看 menu's options on).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/run-host.sh
cp build/host-screenshot.png docs/host.png
echo "updated docs/host.png"
# The options of the 查看 menu all on, a window in the middle of a long remark coloured as the
# whole text's scan colours it.
bash scripts/run-host.sh --options --goto-line 30 samples/remarks.dat
cp build/host-screenshot.png docs/host-options.png
echo "updated docs/host-options.png"
