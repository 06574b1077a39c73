#pragma once
// CBmpCodec: reads a BMP image from a byte stream into its holder and writes its holder
// as a BMP file. It adds no data to CIndexedBitmap; LoadBmp and SaveBmp use a temporary
// codec over a file.
//
// Read: BITMAPFILEHEADER (or none: a bare DIB), then a 12-byte core header, a 16..39-byte
// short header (missing fields 0) or an info header of 40 bytes or more (V4, V5: the
// first 40 bytes and the colour masks are used); 1, 2, 4, 8 bits uncompressed, RLE8 and
// RLE4; 16 and 32 bits with default masks or bit fields; 24 bits; bottom-up or top-down.
// Written: uncompressed, BITMAPINFOHEADER, full colour table, zero resolutions.

#include <array>
#include <cstdint>

#include "dib/BitmapTypes.h"
#include "dib/ByteStream.h"
#include "dib/IndexedBitmap.h"

namespace vellumo::dib {

// What ReadInfoHeader learnt about the header beyond the 40 normalised bytes.
struct InfoHeaderLayout {
    uint32_t storedSize = 0;  // the header's own size field as found in the stream
    bool core = false;        // 12-byte core header: colour-table entries are 3 bytes
    bool masksInHeader = false;
    std::array<uint32_t, 4> masks{};  // red, green, blue, alpha, when masksInHeader
};

class CBmpCodec : public CIndexedBitmap {
  public:
    ~CBmpCodec() override;

    // Decodes one BMP starting at the stream's current position. On failure the holder
    // is empty and lastError holds the reason.
    bool DecodeStream(ByteStream& stream);
    // Writes the file header and the whole image block. False (with a reason) when the
    // holder is empty or a write fails.
    bool EncodeStream(ByteStream& stream);
    // Reads the info header and normalises it to a 40-byte BITMAPINFOHEADER (biSize 40).
    // False for a short read and for a header no image can be decoded from: a size
    // field below 16 other than 12, a width not above 0, a height of 0 or -2^31, or a
    // bit count other than 1, 2, 4, 8, 16, 24, 32 (0 passes with BI_JPEG and BI_PNG,
    // whose images are refused later as compressed).
    static bool ReadInfoHeader(ByteStream& stream, BITMAPINFOHEADER& info,
                               InfoHeaderLayout* layout = nullptr);

    // Makes this codec a view on `owner`'s image (for writing it): header and attributes
    // are copied, the block is shared and never freed by the codec.
    void Borrow(const CIndexedBitmap& owner);

  private:
    bool Fail(const char* reason);
};

}  // namespace vellumo::dib
