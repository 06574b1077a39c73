#pragma once
// How the multi-page TIFF writer stores its pages.

#include <atomic>
#include <cstddef>

namespace vellumo::imaging {

enum class TiffCompression { Lzw, None, Deflate, PackBits, Jpeg };

struct TiffWriteOptions {
    TiffCompression compression = TiffCompression::Lzw;
    // Horizontal differencing before LZW or Deflate: about half the size on photos.
    bool predictor = true;
    // 1 to 100, used with TiffCompression::Jpeg only.
    int jpegQuality = 75;
    // Threads compressing LZW strips; 1 (or less) compresses on the calling thread. The
    // file is the same for every value.
    int threads = 1;
    // Threads of the same run busy with work nobody can share (decoding the next page),
    // or null. While they work the encoders leave each of them a core: that work is what
    // the next page waits for, and the encoders' work is spread over the page's strips.
    const std::atomic<int>* busyElsewhere = nullptr;
    // Uncompressed bytes per strip to aim for; every strip is whole rows.
    size_t stripBytes = 128 * 1024;
    // BigTIFF (64-bit offsets): the only way past the 4 GiB of a classic TIFF.
    bool bigTiff = false;
    // Compress LZW with libtiff's own encoder instead of ours (for comparison; slower).
    bool libtiffLzw = false;
};

}  // namespace vellumo::imaging
