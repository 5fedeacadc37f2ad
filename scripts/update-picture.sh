#!/usr/bin/env bash
# Regenerates the README's picture of the demo host (docs/host.png) from the main job's screenshot.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/run-host.sh
cp build/host-screenshot.png docs/host.png
echo "updated docs/host.png"
