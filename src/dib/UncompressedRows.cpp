#include "dib/UncompressedRows.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "dib/Endian.h"
#include "dib/PixelPacking.h"

namespace vellumo::dib {
namespace {

// Rows are read in pieces of this size (a multiple of 4, so a piece never splits a 16-
// or 32-bit pixel): a hostile width then costs no large temporary buffer.
constexpr size_t kPieceBytes = 4096;

// One colour mask turned into an 8-bit channel by scaling, so that a full 5- or 6-bit
// value becomes 255 rather than 248 or 252.
class Channel {
  public:
    explicit Channel(uint32_t mask)
        : mask_(mask), shift_(mask == 0 ? 0 : std::countr_zero(mask)), max_(mask >> shift_) {}

    uint8_t From(uint32_t pixel) const {
        if (max_ == 0) {
            return 0;
        }
        const uint64_t v = (pixel & mask_) >> shift_;
        return static_cast<uint8_t>((v * 255 + max_ / 2) / max_);
    }

  private:
    uint32_t mask_;
    int shift_;
    uint64_t max_;  // the mask shifted down; also right for masks with gaps
};

struct Converter {
    uint16_t bits;
    uint32_t width;
    Channel red, green, blue;

    // Stores the pixels of `piece` (bytes [offset, offset + size) of a file row) into the
    // holder row `row`.
    void Convert(const uint8_t* piece, size_t size, uint64_t offset, uint8_t* row,
                 uint32_t rowStride) const {
        switch (bits) {
            case 2:
                for (size_t i = 0; i < size; ++i) {
                    for (uint32_t k = 0; k < 4; ++k) {
                        const uint64_t x = (offset + i) * 4 + k;
                        if (x < width) {
                            const auto index = static_cast<uint8_t>((piece[i] >> (6 - 2 * k)) & 3);
                            StoreIndex(row, static_cast<uint32_t>(x), 4, index);
                        }
                    }
                }
                break;
            case 16:
                for (size_t i = 0; i + 1 < size; i += 2) {
                    Store(row, (offset + i) / 2, LoadLe16(piece + i));
                }
                break;
            case 32:
                for (size_t i = 0; i + 3 < size; i += 4) {
                    Store(row, (offset + i) / 4, LoadLe32(piece + i));
                }
                break;
            default:
                // Same layout as the holder (a top-down file): copy what lies inside the row.
                if (offset < rowStride) {
                    const size_t room = static_cast<size_t>(rowStride - offset);
                    std::memcpy(row + offset, piece, std::min(size, room));
                }
                break;
        }
    }

    void Store(uint8_t* row, uint64_t x, uint32_t pixel) const {
        if (x >= width) {
            return;  // row padding
        }
        uint8_t* p = row + x * 3;
        p[0] = blue.From(pixel);
        p[1] = green.From(pixel);
        p[2] = red.From(pixel);
    }
};

}  // namespace

std::array<uint32_t, 3> DefaultMasks(uint16_t bits) {
    if (bits == 16) {
        return {0x7C00, 0x03E0, 0x001F};
    }
    return {0x00FF0000, 0x0000FF00, 0x000000FF};
}

void ReadUncompressedRows(ByteStream& stream, CIndexedBitmap& image, const SourceRows& source) {
    if (!image.HasImage()) {
        return;
    }
    const auto width = static_cast<uint32_t>(std::max(image.header.biWidth, 0));
    const auto height = static_cast<uint32_t>(std::max(image.header.biHeight, 0));
    if (source.bits == image.header.biBitCount && !source.topDown) {
        // The file's rows are the holder's rows: one read straight into the pixels.
        stream.Read(image.pixels, image.header.biSizeImage);
        return;
    }

    const Converter converter{source.bits, width, Channel(source.masks[0]),
                              Channel(source.masks[1]), Channel(source.masks[2])};
    const uint64_t fileStride = (uint64_t{source.bits} * width + 31) / 32 * 4;
    uint8_t piece[kPieceBytes];
    for (uint32_t r = 0; r < height; ++r) {
        const uint32_t y = source.topDown ? height - 1 - r : r;
        uint8_t* row = image.pixels + static_cast<size_t>(y) * image.rowStride;
        for (uint64_t done = 0; done < fileStride;) {
            const size_t want =
                static_cast<size_t>(std::min<uint64_t>(kPieceBytes, fileStride - done));
            const size_t got = stream.Read(piece, want);
            converter.Convert(piece, got, done, row, image.rowStride);
            if (got < want) {
                return;  // the data ends here
            }
            done += got;
        }
    }
}

}  // namespace vellumo::dib
