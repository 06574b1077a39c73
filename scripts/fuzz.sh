#!/usr/bin/env bash
# Builds a libFuzzer target (preset "fuzz", clang) and runs it for a bounded time on a seed
# corpus copied into a temporary folder. Crashing inputs land in fuzz/artifacts/.
#   scripts/fuzz.sh <target> <seconds>          e.g. scripts/fuzz.sh fuzz_bmp_decode 600
# Environment: FUZZ_BUILD_DIR (default build/fuzz), FUZZ_ARGS (extra libFuzzer flags).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

target=${1:?usage: scripts/fuzz.sh <target> <seconds>}
seconds=${2:?usage: scripts/fuzz.sh <target> <seconds>}
build_dir=${FUZZ_BUILD_DIR:-build/fuzz}
corpora=$(cd "$root/.." && pwd)/shared/corpora

# Seeds per target: add a case for a new target.
seed_files() {
    case "$1" in
        fuzz_bmp_decode)
            ls "$corpora"/bmpsuite/{g,q,b,x}/*.bmp 2>/dev/null || true
            ls "$root"/tests/data/crashers/bmp_decode/* 2>/dev/null || true
            ;;
        fuzz_gif_decode)
            ls "$corpora"/gif-test-suite/gifs/*.gif "$corpora"/gif-conformance/*.gif 2>/dev/null || true
            ls "$root"/tests/data/crashers/gif_decode/* 2>/dev/null || true
            ;;
        fuzz_png_decode)
            ls "$corpora"/pngsuite/png/*.png 2>/dev/null || true
            ls "$root"/tests/data/crashers/png_decode/* 2>/dev/null || true
            ;;
        fuzz_frame_indexes)
            ls "$corpora"/pngsuite/png/*.png "$corpora"/jpegsuite/jpeg/baseline/*.jpg 2>/dev/null || true
            ls "$root"/tests/data/crashers/frame_indexes/* 2>/dev/null || true
            ;;
        fuzz_image_file)
            # Small files of every format the layer reads.
            find "$corpora" -type f -size -64k \( -iname '*.jpg' -o -iname '*.png' \
                -o -iname '*.gif' -o -iname '*.tif' -o -iname '*.tiff' -o -iname '*.bmp' \
                -o -iname '*.ico' \) 2>/dev/null | sort | awk 'NR % 3 == 1' || true
            ls "$root"/tests/data/crashers/image_file/* 2>/dev/null || true
            ;;
        fuzz_camera_data)
            # Photos with camera data: JPEG, TIFF, PNG, HEIF, raw.
            find "$corpora/exif-samples" -type f \( -name '*.jpg' -o -name '*.tiff' \) -size -512k \
                2>/dev/null | sort || true
            find "$corpora/modern/heif" "$corpora/modern/raw" -type f -size -2M ! -name SOURCE.txt 2>/dev/null | sort
            ls "$root"/tests/data/crashers/camera_data/* 2>/dev/null || true
            ;;
        fuzz_heif_decode | fuzz_jxl_decode | fuzz_raw_decode | fuzz_jp2_decode | fuzz_psd_decode | \
            fuzz_tga_decode | fuzz_svg_decode | fuzz_emf_decode | fuzz_wmf_decode)
            # The files of the decoder's own folders of the "modern" corpus, small ones only.
            local name=${1#fuzz_}
            name=${name%_decode}
            local folders=$name
            [ "$name" = heif ] && folders="heif avif"
            for folder in $folders; do
                find "$corpora/modern/$folder" -type f -size -2M ! -name SOURCE.txt 2>/dev/null | sort
            done
            ls "$root"/tests/data/crashers/${name}_decode/* 2>/dev/null || true
            ;;
        *)
            echo "scripts/fuzz.sh: no seeds listed for $1" >&2
            ;;
    esac
}

# Two fuzzers started at once share the build folder: one builds at a time.
mkdir -p "$build_dir"
(
    flock 9
    cmake --preset fuzz -B "$build_dir" >/dev/null
    cmake --build "$build_dir" --target "$target" -j2
) 9>"$build_dir/.build-lock"

work=$(mktemp -d "${TMPDIR:-/tmp}/vellumo-fuzz-$target.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" fuzz/artifacts
seed_files "$target" | while read -r seed; do cp "$seed" "$work/corpus/"; done
echo "$target: $(ls "$work/corpus" | wc -l) seeds, $seconds s"

# One fuzzing process (-jobs=1 runs it as a child that logs to fuzz-0.log in $work).
cd "$work"
status=0
# Leaks inside system libraries (fontconfig's caches, Qt's) are not ours to mend.
LSAN_OPTIONS="suppressions=$root/tests/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}" \
"$root/$build_dir/fuzz/$target" -jobs=1 -max_total_time="$seconds" -rss_limit_mb=3072 \
    -malloc_limit_mb=2048 -artifact_prefix="$root/fuzz/artifacts/$target-" \
    ${FUZZ_ARGS:-} "$work/corpus" || status=$?
log="$root/fuzz/artifacts/$target-$(date +%Y%m%d-%H%M%S).log"
cp fuzz-0.log "$log" 2>/dev/null || true
tail -n 5 "$log" 2>/dev/null || true
echo "log: $log"
ls "$root"/fuzz/artifacts/"$target"-crash-* "$root"/fuzz/artifacts/"$target"-leak-* \
    "$root"/fuzz/artifacts/"$target"-oom-* "$root"/fuzz/artifacts/"$target"-timeout-* 2>/dev/null || true
exit $status
