#!/usr/bin/env bash
# Benchmarks the main job: N camera photos into one multi-page TIFF, at original size
# (LZW with the predictor) and resized to width 1024, with vellumo-cli against
# ImageMagick and GraphicsMagick, plus the floor (decoding the JPEGs alone, and
# libtiff's own LZW encoder on the same pages). Prints medians and peak memory.
#
#   bench/run.sh [-n RUNS] [PHOTO_FOLDER...]
#
# Without a folder it uses the bundled samples plus the real camera photos of the
# shared test corpora, when they are beside the checkout. Fetches nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

runs=5
if [ "${1:-}" = "-n" ]; then
    runs=$2
    shift 2
fi

bash scripts/setup.sh
need=()
for p in imagemagick graphicsmagick libjpeg-turbo-progs libtiff-tools time; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
    SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${need[@]}"
fi

cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target vellumo-cli >/dev/null
cli="$root/build/release/src/cli/vellumo-cli"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
photos="$work/photos"
mkdir -p "$photos"
if [ $# -gt 0 ]; then
    for d in "$@"; do
        find "$d" -maxdepth 1 -type f \( -iname '*.jpg' -o -iname '*.jpeg' \) -exec cp {} "$photos/" \;
    done
else
    cp samples/*.jpg "$photos/"
    corp="$root/../shared/corpora"
    if [ -d "$corp/exif-samples/jpg" ]; then
        # Real camera photos of at least one megapixel that decode cleanly.
        while IFS= read -r f; do
            if identify -format '%w %h\n' "$f" 2>/dev/null | awk '{exit !($1*$2 >= 1000000)}' &&
               djpeg -outfile /dev/null "$f" 2>/dev/null; then
                cp "$f" "$photos/$(basename "$(dirname "$f")")_$(basename "$f")"
            fi
        done < <(find "$corp/exif-samples/jpg" -iname '*.jpg' | sort)
    fi
fi
mapfile -t files < <(find "$photos" -type f | sort)
count=${#files[@]}
mpix=$(for f in "${files[@]}"; do identify -format '%w %h\n' "$f[0]" 2>/dev/null; done |
       awk '{s += $1 * $2} END {printf "%.1f", s / 1e6}')
bytes=$(du -cb "${files[@]}" | tail -1 | cut -f1)
echo "Photos: $count files, $mpix megapixels, $((bytes / 1000000)) MB of JPEG; $runs runs each"
echo "Machine: $(nproc) cores, $(awk '/MemTotal/ {printf "%.0f GiB", $2/1048576}' /proc/meminfo), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"

# measure NAME COMMAND...: runs the command $runs times; records median seconds and max RSS.
results="$work/results.tsv"
: > "$results"
measure() {
    local name=$1
    shift
    local t=() m=()
    for ((i = 0; i < runs; i++)); do
        rm -f "$work/out.tif"
        /usr/bin/time -f '%e %M' -o "$work/time.txt" "$@" >/dev/null 2>"$work/err.txt" || {
            echo "$name failed:"; cat "$work/err.txt"; return 1; }
        read -r secs kb < <(tail -1 "$work/time.txt")
        t+=("$secs"); m+=("$kb")
    done
    local med peak
    med=$(printf '%s\n' "${t[@]}" | sort -n | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}')
    peak=$(printf '%s\n' "${m[@]}" | sort -n | tail -1)
    printf '%s\t%s\t%s\n' "$name" "$med" "$peak" >> "$results"
    printf '  %-44s %8.2f s %8.0f MB\n' "$name" "$med" "$((peak / 1024))"
}

echo
echo "Original size, LZW with predictor:"
measure "vellumo-cli" "$cli" -q -y "${files[@]}" -o "$work/out.tif"
measure "ImageMagick convert -compress lzw" convert "${files[@]}" -compress lzw "$work/out.tif"
measure "GraphicsMagick convert -compress lzw" gm convert "${files[@]}" -compress lzw "$work/out.tif"
measure "floor: djpeg, every photo (one core)" bash -c 'for f in "$@"; do djpeg -outfile /dev/null "$f"; done' _ "${files[@]}"
"$cli" -q -y --compression none "${files[@]}" -o "$work/plain.tif" >/dev/null
measure "floor: libtiff LZW+predictor (tiffcp)" tiffcp -c lzw:2 "$work/plain.tif" "$work/out.tif"

echo
echo "Resized to width 1024 (bicubic / Catrom):"
measure "vellumo-cli --width 1024" "$cli" -q -y --width 1024 "${files[@]}" -o "$work/out.tif"
measure "ImageMagick -filter Catrom -resize 1024x" convert "${files[@]}" -filter Catrom -resize 1024x -compress lzw "$work/out.tif"
measure "GraphicsMagick -filter Catrom -resize 1024x" gm convert "${files[@]}" -filter Catrom -resize 1024x -compress lzw "$work/out.tif"

echo
echo "Memory against the number of pages (the photos repeated, original size, one run each):"
for n in "$count" 100; do
    list=()
    for ((i = 0; i < n; i++)); do list+=("${files[i % count]}"); done
    /usr/bin/time -f '%e %M' -o "$work/time.txt" "$cli" -q -y "${list[@]}" -o "$work/out.tif" >/dev/null
    read -r secs kb < <(tail -1 "$work/time.txt")
    printf '  %-44s %8.2f s %8.0f MB\n' "vellumo-cli, $n pages" "$secs" "$((kb / 1024))"
done

echo
awk -F'\t' '
    { t[$1] = $2 }
    END {
        printf "Speed-up of vellumo-cli: original size %.1fx over ImageMagick, %.1fx over GraphicsMagick;\n",
            t["ImageMagick convert -compress lzw"] / t["vellumo-cli"],
            t["GraphicsMagick convert -compress lzw"] / t["vellumo-cli"]
        printf "width 1024 %.1fx over ImageMagick, %.1fx over GraphicsMagick.\n",
            t["ImageMagick -filter Catrom -resize 1024x"] / t["vellumo-cli --width 1024"],
            t["GraphicsMagick -filter Catrom -resize 1024x"] / t["vellumo-cli --width 1024"]
    }' "$results"
