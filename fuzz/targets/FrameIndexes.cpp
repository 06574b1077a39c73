// Arbitrary bytes as the start of an animated PNG and of a multi-picture JPEG: the two
// indexes of frames stored in one file. Beyond "no crash, no sanitizer report": every
// frame the PNG index lists lies inside the canvas and inside the bytes, and every
// picture offset of the JPEG index lies past the index itself.

#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/ApngFrames.h"
#include "imaging/MpoIndex.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vellumo::imaging;
    const std::span<const uint8_t> bytes(data, size);
    HasAnimationControl(bytes);
    if (const auto index = IndexApng(bytes)) {
        Check(!index->frames.empty());
        for (const ApngFrame& f : index->frames) {
            Check(f.width > 0 && f.height > 0);
            Check(f.x + uint64_t{f.width} <= index->width);
            Check(f.y + uint64_t{f.height} <= index->height);
            for (const ByteRange& r : f.data) {
                Check(r.offset <= size && r.length <= size - r.offset);
            }
            Check(FramePng(bytes, *index, f).size() >= 8 + 25 + 12);
        }
    }
    for (const uint64_t offset : MpoImageOffsets(bytes)) {
        Check(offset >= 10);
    }
    return 0;
}
