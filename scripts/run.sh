#!/usr/bin/env bash
# The main job from a clean clone: installs what is needed, builds Vellumo and turns the
# bundled sample photos into one multi-page TIFF, output.tif, one page per frame.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset dev
cmake --build --preset dev -j "$(nproc)"

cli=build/dev/src/cli/vellumo-cli
# -y: output.tif is this script's own product, replaced on every run.
"$cli" -r samples/ -y -o output.tif
echo
"$cli" --info output.tif
