#!/usr/bin/env bash
# Benchmarks the newer formats' decoders (not a test; prints medians):
#  - a 12-megapixel HEIC decoded by us (ImageFile, full size) against libheif's own
#    heif-convert writing raw YUV (.y4m, the cheapest output it has) on the same file;
#  - a camera raw file drawn onto a page 1024 wide (the half-size development) against
#    the full development.
#   bench/formats.sh [-n RUNS] [HEIC] [RAW]
# Without files it takes them from the shared "modern" corpus beside the checkout.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

runs=5
if [ "${1:-}" = "-n" ]; then
    runs=$2
    shift 2
fi
modern="$root/../shared/corpora/modern"
heic=${1:-$modern/heif/digicam_iPhone13Pro_IMG_8565.heic}
raw=${2:-$modern/raw/digicam_CanonPowerShotS40_CRW_0104.crw}

bash scripts/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$(nproc)" --target imaging_read_throughput >/dev/null
tool="$root/build/dev/tests/imaging/imaging_read_throughput"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Median wall time of a command over $runs runs, in milliseconds.
median_ms() {
    for _ in $(seq "$runs"); do
        local start end
        start=$(date +%s%N)
        "$@" >/dev/null 2>&1
        end=$(date +%s%N)
        echo $(((end - start) / 1000000))
    done | sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'
}

echo "== HEIC: $(basename "$heic")"
ours=$("$tool" --runs "$runs" "$heic" | awk -F'  +' '/^decode full size/ {print $2}')
theirs=$(median_ms heif-convert "$heic" "$work/out.y4m")
echo "vellumo decode full size   ${ours} ms"
echo "heif-convert to .y4m       ${theirs} ms"
awk -v a="$ours" -v b="$theirs" 'BEGIN {printf "ratio                      %.2f (goal: at most 1.3)\n", a / b}'

echo "== raw: $(basename "$raw")"
"$tool" --runs "$runs" "$raw" | awk -F'  +' '/^decode full size|^draw at width 1024/ {print}' | tee "$work/raw.txt"
awk -F'  +' '/^decode full size/ {f = $2} /^draw at width 1024/ {h = $2}
    END {printf "full / half-size           %.2f (goal: at least 2)\n", f / h}' "$work/raw.txt"
