// Arbitrary bytes decoded as a BMP from memory. Beyond "no crash, no sanitizer report",
// every outcome is checked: a failure leaves no image and names its reason; a decoded
// image survives a write and a second read unchanged. Small images also go through the
// octree palette and the reduction with diffusion.

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "dib/BmpCodec.h"
#include "dib/OctreePalette.h"

namespace {

using namespace vellumo::dib;

// Large images would make the write-and-reread check cost more than the decode itself.
constexpr uint32_t kRoundTripLimit = 1u << 22;
constexpr int64_t kReducePixelLimit = 32 * 32;

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

void ReduceSmallImage(CBmpCodec& image, uint8_t choice) {
    const int64_t pixels = int64_t{image.header.biWidth} * image.header.biHeight;
    if (pixels > kReducePixelLimit) {
        return;
    }
    static constexpr uint32_t kDepths[3] = {1, 4, 8};
    const uint32_t bits = kDepths[choice % 3];
    const uint32_t colors = 1u << bits;
    COctreePalette octree(colors, 8);
    Check(octree.AddImage(image));
    RGBQUAD table[256];
    octree.FillPalette(table);
    const bool deeper = image.header.biBitCount >= bits;
    Check(image.ReduceDepth(bits, (choice & 4) != 0, table, choice >> 3) == deeper);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryInputStream input(data, size);
    CBmpCodec codec;
    if (!codec.DecodeStream(input)) {
        Check(!codec.HasImage() && codec.lastError[0] != '\0');
        return 0;
    }
    Check(codec.HasImage() && codec.header.biWidth > 0 && codec.header.biHeight > 0);
    if (codec.TotalBytes() > kRoundTripLimit) {
        return 0;
    }

    MemoryOutputStream output;
    Check(codec.EncodeStream(output));
    Check(output.bytes().size() == 14 + size_t{codec.TotalBytes()});
    MemoryInputStream written(output.bytes());
    CBmpCodec again;
    Check(again.DecodeStream(written));
    Check(again.TotalBytes() == codec.TotalBytes());
    Check(std::memcmp(again.imageMemory, codec.imageMemory, codec.TotalBytes()) == 0);

    ReduceSmallImage(codec, size > 0 ? data[size - 1] : 0);
    return 0;
}
