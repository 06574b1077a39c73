#!/usr/bin/env bash
# Colour check: for every photo with a colour profile under the given folders, compares
# vellumo-cli's page with LittleCMS's tificc applied to the same decoded pixels (relative
# colorimetric, black-point compensation), before (pixels as decoded, as --colour keep
# leaves them) and after (the default conversion to sRGB). Prints one line per photo
# and the means: CIE76 mean delta E and RMSE in percent of full scale.
#   bench/colour-check.sh [CLI] FOLDER...
set -euo pipefail
CLI=${CLI:-build/dev/src/cli/vellumo-cli}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for folder in "$@"; do
    find "$folder" -type f | sort
done | while read -r photo; do
    colour=$({ "$CLI" --info "$photo" 2>/dev/null || true; } | sed -n 's/^    colour: //p' | head -1)
    if [ -z "$colour" ] || [ "$colour" = none ]; then
        continue
    fi
    "$CLI" -q -y --colour keep "$photo" -o "$work/kept.tif" 2>/dev/null || continue
    "$CLI" -q -y "$photo" -o "$work/srgb.tif" 2>/dev/null || continue
    tificc -t1 -b "$work/kept.tif" "$work/ref.tif" >/dev/null 2>&1 || continue
    for f in kept srgb ref; do
        convert "$work/$f.tif[0]" -depth 8 "$work/$f.ppm" 2>/dev/null || true
    done
    before=$(python3 "$(dirname "$0")/delta-e.py" "$work/kept.ppm" "$work/ref.ppm") || continue
    after=$(python3 "$(dirname "$0")/delta-e.py" "$work/srgb.ppm" "$work/ref.ppm") || continue
    printf '%s\t%s\tbefore %s\tafter %s\n' "$photo" "$colour" "$before" "$after"
done | tee "$work/lines" | cat
awk -F'\t' '{split($3,b," "); split($4,a," "); n++; bd+=b[2]; br+=b[3]; ad+=a[2]; ar+=a[3]}
    END { if (n) printf "%d photos: mean dE before %.2f after %.2f; RMSE%% before %.2f after %.2f\n",
          n, bd/n, ad/n, br/n, ar/n }' "$work/lines"
