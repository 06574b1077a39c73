#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds Vellumo and runs every test.
#   scripts/test.sh          optimised build with debug information
#   scripts/test.sh --asan   the same tests under AddressSanitizer + UndefinedBehaviorSanitizer
set -euo pipefail
cd "$(dirname "$0")/.."

preset=dev
if [ "${1:-}" = "--asan" ]; then
    preset=asan
fi

bash scripts/setup.sh
cmake --preset "$preset"
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset" -j "$(nproc)"
