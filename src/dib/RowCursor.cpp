#include "dib/RowCursor.h"

namespace vellumo::dib {

RowCursor::RowCursor(CIndexedBitmap& image) : image_(image), row_(image.PixelsAddress()) {}

uint8_t* RowCursor::Row(int64_t y) {
    if (y >= 0 && y < image_.header.biHeight) {
        current_ = y;
        row_ = image_.PixelsAddress() + static_cast<size_t>(y) * image_.rowStride;
    }
    return row_;
}

}  // namespace vellumo::dib
