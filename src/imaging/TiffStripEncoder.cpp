#include "imaging/TiffStripEncoder.h"

#include <new>

#include "imaging/TiffPredictor.h"

namespace vellumo::imaging {

bool TiffStripEncoder::Prepare(size_t maxStripBytes) {
    if (!lzw_.IsReady()) {
        lzw_ = LzwEncoder();
        if (!lzw_.IsReady()) {
            return false;
        }
    }
    if (scratchBytes_ >= maxStripBytes) {
        return true;
    }
    scratch_.reset(new (std::nothrow) uint8_t[maxStripBytes]);
    scratchBytes_ = scratch_ ? maxStripBytes : 0;
    return scratch_ != nullptr;
}

size_t TiffStripEncoder::Encode(const PageBitmap& page, int32_t firstRow, int32_t rowCount,
                                bool predictor, uint8_t* out) {
    const size_t stride = page.stride();
    const size_t bytes = stride * static_cast<size_t>(rowCount);
    if (!predictor) {
        // Rows are contiguous in the page, so the strip is encoded straight from it.
        return lzw_.Encode(page.row(firstRow), bytes, out);
    }
    for (int32_t r = 0; r < rowCount; ++r) {
        HorizontalDifference8(page.row(firstRow + r), stride, 3,
                              scratch_.get() + stride * static_cast<size_t>(r));
    }
    return lzw_.Encode(scratch_.get(), bytes, out);
}

}  // namespace vellumo::imaging
