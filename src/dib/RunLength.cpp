#include "dib/RunLength.h"

#include <algorithm>

#include "dib/PixelPacking.h"
#include "dib/RowCursor.h"

namespace vellumo::dib {
namespace {

// The decoding position and the clipped pixel store.
class RunWriter {
  public:
    explicit RunWriter(CIndexedBitmap& image)
        : cursor_(image),
          width_(static_cast<uint32_t>(std::max(image.header.biWidth, 0))),
          height_(std::max(image.header.biHeight, 0)),
          bits_(image.header.biBitCount) {}

    void Put(uint8_t index) {
        if (x_ >= width_) {
            return;  // right of the row end: dropped; x stays at the width
        }
        if (y_ < height_) {
            StoreIndex(cursor_.Row(y_), x_, bits_, index);
        }
        ++x_;
    }
    void EndOfLine() {
        ++y_;
        x_ = 0;
    }
    void Delta(uint8_t dx, uint8_t dy) {
        x_ = std::min(x_ + dx, width_);
        y_ += dy;
    }
    bool AboveTop() const { return y_ >= height_; }

  private:
    RowCursor cursor_;
    uint32_t width_;
    int64_t height_;
    uint32_t bits_;
    uint32_t x_ = 0;
    int64_t y_ = 0;
};

}  // namespace

void DecodeRunLength(ByteStream& stream, CIndexedBitmap& image, bool fourBit) {
    RunWriter writer(image);
    uint8_t n = 0;
    uint8_t value = 0;
    while (!writer.AboveTop() && stream.ReadByte(n)) {
        if (n > 0) {
            // Encoded run: n pixels of one byte (RLE4: its two nibbles in turn, the
            // first pixel always taking the high nibble).
            if (!stream.ReadByte(value)) {
                return;
            }
            for (uint32_t i = 0; i < n; ++i) {
                writer.Put(static_cast<uint8_t>(fourBit ? ((i & 1) == 0 ? value >> 4 : value & 0x0F)
                                                        : value));
            }
            continue;
        }
        uint8_t code = 0;
        if (!stream.ReadByte(code)) {
            return;
        }
        switch (code) {
            case 0:
                writer.EndOfLine();
                break;
            case 1:
                return;  // end of bitmap
            case 2: {
                uint8_t dx = 0;
                uint8_t dy = 0;
                if (!stream.ReadByte(dx) || !stream.ReadByte(dy)) {
                    return;
                }
                writer.Delta(dx, dy);
                break;
            }
            default: {
                // Absolute run of `code` pixels, padded to an even number of bytes.
                const uint32_t bytes = fourBit ? (code + 1u) / 2 : code;
                for (uint32_t b = 0; b < bytes; ++b) {
                    if (!stream.ReadByte(value)) {
                        return;
                    }
                    if (fourBit) {
                        writer.Put(static_cast<uint8_t>(value >> 4));
                        if (2 * b + 1 < code) {
                            writer.Put(static_cast<uint8_t>(value & 0x0F));
                        }
                    } else {
                        writer.Put(value);
                    }
                }
                if ((bytes & 1) != 0 && !stream.ReadByte(value)) {
                    return;
                }
                break;
            }
        }
    }
}

}  // namespace vellumo::dib
