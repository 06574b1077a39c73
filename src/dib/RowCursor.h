#pragma once
// The row pointer of the run-length decoders: it stays on the last valid row when asked
// for a row outside the image, so a caller can never be handed memory outside the rows.

#include <cstdint>

#include "dib/IndexedBitmap.h"

namespace vellumo::dib {

class RowCursor {
  public:
    explicit RowCursor(CIndexedBitmap& image);

    // Moves to row `y` when 0 <= y < biHeight; returns the current row either way.
    uint8_t* Row(int64_t y);
    int64_t current() const { return current_; }

  private:
    CIndexedBitmap& image_;
    int64_t current_ = 0;
    uint8_t* row_ = nullptr;
};

}  // namespace vellumo::dib
