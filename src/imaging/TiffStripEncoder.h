#pragma once
// Encodes one strip of a page (a run of whole rows) as an independent TIFF LZW stream,
// with the horizontal predictor applied first when asked. One encoder per thread: it
// owns the LZW table and a scratch buffer for the differenced rows.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "imaging/LzwEncoder.h"
#include "imaging/PageBitmap.h"

namespace vellumo::imaging {

class TiffStripEncoder {
  public:
    // Makes room for strips of up to `maxStripBytes` bytes of pixels; false when memory
    // runs out. Keeps what it has when it is already large enough.
    bool Prepare(size_t maxStripBytes);

    // Encodes rows firstRow .. firstRow + rowCount - 1 of `page` into `out`, which must
    // hold LzwMaxEncodedSize(rowCount * page.stride()) bytes; returns the bytes written.
    // Prepare must have succeeded for at least rowCount * page.stride() bytes.
    size_t Encode(const PageBitmap& page, int32_t firstRow, int32_t rowCount, bool predictor,
                  uint8_t* out);

  private:
    LzwEncoder lzw_;
    std::unique_ptr<uint8_t[]> scratch_;
    size_t scratchBytes_ = 0;
};

}  // namespace vellumo::imaging
