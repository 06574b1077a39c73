#!/usr/bin/env bash
# Benchmarks the main job: N camera photos into one multi-page TIFF, at original size
# (LZW with the predictor), turned and flipped, and resized to width 1024 (with the
# pages' PSNR against a Lanczos reduction of the whole photo), plus an 8-bit palette BMP
# of the largest photo, with vellumo-cli against ImageMagick and GraphicsMagick, and the
# floor (decoding the JPEGs alone, and libtiff's own LZW encoder on the same pages).
# Prints medians, CPU/wall, system time and peak memory.
#
#   bench/run.sh [-n RUNS] [PHOTO_FOLDER...]
#
# Without a folder it uses the bundled samples, the large photos and the real camera
# photos of the shared test corpora, with 20-megapixel photos made from the largest of
# them (bench/large-photos.sh), when they are beside the checkout. Fetches nothing.
# ImageMagick runs with the resource policy in bench/imagemagick/ (room for the job).
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
    [ -d "$root/../shared/photos-large" ] && cp "$root"/../shared/photos-large/*.jpg "$photos/"
    # 20-megapixel photos, made once from the corpora's 200-megapixel phone photo.
    bash bench/large-photos.sh "$root/build/bench-photos"
    find "$root/build/bench-photos" -name '*.jpg' -exec cp {} "$photos/" \;
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

export MAGICK_CONFIGURE_PATH="$root/bench/imagemagick"

# measure NAME COMMAND...: runs the command $runs times; records the median wall time,
# the user and system CPU of that run, and the largest RSS.
results="$work/results.tsv"
: > "$results"
measure() {
    local name=$1
    shift
    local rows=()
    for ((i = 0; i < runs; i++)); do
        rm -f "$work/out.tif" "$work/out.bmp"
        /usr/bin/time -f '%e %M %U %S' -o "$work/time.txt" "$@" >/dev/null 2>"$work/err.txt" || {
            echo "$name failed:"; cat "$work/err.txt"; return 1; }
        rows+=("$(tail -1 "$work/time.txt")")
    done
    local med peak user sys
    read -r med _ user sys < <(printf '%s\n' "${rows[@]}" | sort -n | awk '{a[NR]=$0} END {print a[int((NR+1)/2)]}')
    peak=$(printf '%s\n' "${rows[@]}" | awk '{print $2}' | sort -n | tail -1)
    printf '%s\t%s\t%s\t%s\t%s\n' "$name" "$med" "$peak" "$user" "$sys" >> "$results"
    awk -v n="$name" -v t="$med" -v m="$peak" -v u="$user" -v s="$sys" 'BEGIN {
        cpu = u + s
        printf "  %-44s %8.2f s %6.0f MB   CPU/wall %.2f, system %2.0f%%\n", n, t, m / 1024,
            (t > 0 ? cpu / t : 0), (cpu > 0 ? 100 * s / cpu : 0) }'
}

# psnr A B: PSNR in dB of image A against image B (ImageMagick's compare).
psnr() { compare -metric PSNR "$1" "$2" null: 2>&1 | awk '{print $1}'; }

# One run unmeasured, so the first measured job does not pay for the start (the first
# job measured right after the preparation above came out 20 to 40% slow, twice).
"$cli" -q -y "${files[@]}" -o "$work/out.tif" >/dev/null

echo
echo "Original size, LZW with predictor:"
measure "vellumo-cli" "$cli" -q -y "${files[@]}" -o "$work/out.tif"
measure "ImageMagick convert -compress lzw" convert "${files[@]}" -compress lzw "$work/out.tif"
measure "GraphicsMagick convert -compress lzw" gm convert "${files[@]}" -compress lzw "$work/out.tif"
measure "floor: djpeg, every photo (one core)" bash -c 'for f in "$@"; do djpeg -outfile /dev/null "$f"; done' _ "${files[@]}"
"$cli" -q -y --compression none "${files[@]}" -o "$work/plain.tif" >/dev/null
measure "floor: libtiff LZW+predictor (tiffcp)" tiffcp -c lzw:2 "$work/plain.tif" "$work/out.tif"

echo
echo "Turned 90 degrees and flipped horizontally, original size:"
measure "vellumo-cli --rotate 90 --flip h" "$cli" -q -y --rotate 90 --flip h "${files[@]}" -o "$work/out.tif"
measure "ImageMagick -rotate 90 -flop" convert "${files[@]}" -rotate 90 -flop -compress lzw "$work/out.tif"

echo
echo "Resized to width 1024 (bicubic / Catrom):"
measure "vellumo-cli --width 1024" "$cli" -q -y --width 1024 "${files[@]}" -o "$work/out.tif"
measure "ImageMagick -filter Catrom -resize 1024x" convert "${files[@]}" -filter Catrom -resize 1024x -compress lzw "$work/out.tif"
measure "GraphicsMagick -filter Catrom -resize 1024x" gm convert "${files[@]}" -filter Catrom -resize 1024x -compress lzw "$work/out.tif"
# Sharpness: each page against a Lanczos reduction of the whole photo to the same size.
"$cli" -q -y --width 1024 "${files[@]}" -o "$work/ours.tif" >/dev/null
convert "${files[@]}" -filter Catrom -resize 1024x "$work/im-%03d.png"
: > "$work/psnr.txt"
for i in "${!files[@]}"; do
    size=$(identify -format '%wx%h' "$work/ours.tif[$i]")
    convert "${files[i]}" -filter Lanczos -resize "$size!" "$work/ref.png"
    convert "$work/ours.tif[$i]" "$work/page.png"
    echo "$(psnr "$work/page.png" "$work/ref.png") $(psnr "$work/im-$(printf %03d "$i").png" "$work/ref.png")" >> "$work/psnr.txt"
done
# A photo already 1024 wide comes out unchanged (an infinite PSNR): counted apart.
awk '$1 == "inf" || $2 == "inf" { same++; next }
    { a += $1; b += $2; n++; if (n == 1 || $1 < lo) lo = $1 } END {
    printf "  PSNR against Lanczos of the whole photo: vellumo-cli mean %.1f dB (lowest %.1f), ImageMagick Catrom %.1f dB, over %d photos (%d unscaled left out)\n", a / n, lo, b / n, n, same }' "$work/psnr.txt"

echo
largest=$(for f in "${files[@]}"; do identify -format "%[fx:w*h] $f\n" "$f[0]"; done | sort -g | tail -1 | cut -d" " -f2-)
echo "8-bit palette BMP with diffusion, the largest photo ($(identify -format '%wx%h' "$largest[0]")):"
measure "vellumo-cli --bmp-bits 8" "$cli" -q -y --bmp-bits 8 "$largest" -o "$work/out.bmp"
measure "ImageMagick -dither FloydSteinberg -colors 256" convert "$largest" -dither FloydSteinberg -colors 256 "BMP3:$work/out.bmp"

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
        printf "turned and flipped %.1fx over ImageMagick;\n",
            t["ImageMagick -rotate 90 -flop"] / t["vellumo-cli --rotate 90 --flip h"]
        printf "width 1024 %.1fx over ImageMagick, %.1fx over GraphicsMagick;\n",
            t["ImageMagick -filter Catrom -resize 1024x"] / t["vellumo-cli --width 1024"],
            t["GraphicsMagick -filter Catrom -resize 1024x"] / t["vellumo-cli --width 1024"]
        printf "8-bit palette BMP %.1fx over ImageMagick.\n",
            t["ImageMagick -dither FloydSteinberg -colors 256"] / t["vellumo-cli --bmp-bits 8"]
    }' "$results"
