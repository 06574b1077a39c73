#!/usr/bin/env bash
# Makes 20-megapixel camera photos for the benchmark from the 200-megapixel phone photo
# of the shared corpora (the largest real photo here): the whole scene reduced to 20 MP
# and four 20 MP crops at full resolution, JPEG, some progressive. Writes them into
# OUT_FOLDER once; a folder that already holds them is left as it is.
#
#   bench/large-photos.sh OUT_FOLDER
set -euo pipefail
cd "$(dirname "$0")/.."
out=$1
source="$PWD/../shared/corpora/modern/heif/pillowheif_SamsungS24Ultra_200MP_irot270.heic"
[ -f "$source" ] || { echo "no 200-megapixel photo at $source: skipped" >&2; exit 0; }
[ -f "$out/done" ] && exit 0
mkdir -p "$out"
export MAGICK_CONFIGURE_PATH="$PWD/bench/imagemagick"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
heif-convert "$source" "$tmp/whole.png" >/dev/null  # 12240x16320, upright

# name | ImageMagick operation | cjpeg options
while IFS='|' read -r name operation options; do
    convert "$tmp/whole.png" $operation "$tmp/$name.ppm"
    cjpeg $options -outfile "$out/$name.jpg" "$tmp/$name.ppm"
done <<'TABLE'
s24_whole_20mp|-resize 3888x5184!|-quality 90
s24_ceiling_20mp|-crop 5184x3888+3500+0 +repage|-quality 92 -progressive
s24_desk_20mp|-crop 3888x5184+1800+5000 +repage|-quality 90
s24_headset_20mp|-crop 5184x3888+6000+11500 +repage|-quality 85 -progressive
s24_window_20mp|-crop 3888x5184+0+0 +repage|-quality 95 -optimize
TABLE
touch "$out/done"
