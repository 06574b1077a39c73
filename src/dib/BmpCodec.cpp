#include "dib/BmpCodec.h"

#include <cstring>

#include "dib/BmpTexts.h"
#include "dib/Endian.h"
#include "dib/RunLength.h"
#include "dib/UncompressedRows.h"

namespace vellumo::dib {
namespace {

bool IsKnownBitCount(uint16_t bits) {
    switch (bits) {
        case 1:
        case 2:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            return true;
        default:
            return false;
    }
}

bool HasBitfields(uint16_t bits, uint32_t compression) {
    return (bits == 16 || bits == 32) &&
           (compression == kBiBitfields || compression == kBiAlphaBitfields);
}

}  // namespace

CBmpCodec::~CBmpCodec() = default;

bool CBmpCodec::Fail(const char* reason) {
    SetLastError(reason);
    ReleaseImage();  // a failed decode leaves no half-built image behind
    return false;
}

void CBmpCodec::Borrow(const CIndexedBitmap& owner) {
    ReleaseImage();
    header = owner.header;
    CopyAttributes(owner);
    imageMemory = owner.imageMemory;
    borrowed = 1;
}

bool CBmpCodec::ReadInfoHeader(ByteStream& stream, BITMAPINFOHEADER& info,
                               InfoHeaderLayout* layout) {
    InfoHeaderLayout found;
    uint8_t raw[kInfoHeaderSize];
    if (stream.Read(raw, sizeof(raw)) != sizeof(raw)) {
        return false;
    }
    found.storedSize = LoadLe32(raw);
    if (found.storedSize == kCoreHeaderSize) {
        // BITMAPCOREHEADER: 16-bit unsigned sides; the 28 bytes read past it belong to the
        // colour table.
        info = BITMAPINFOHEADER{};
        info.biWidth = LoadLe16(raw + 4);
        info.biHeight = LoadLe16(raw + 6);
        info.biPlanes = LoadLe16(raw + 8);
        info.biBitCount = LoadLe16(raw + 10);
        found.core = true;
        if (!stream.Seek(stream.Tell() - (kInfoHeaderSize - kCoreHeaderSize))) {
            return false;
        }
    } else if (found.storedSize < 16) {
        return false;  // no header layout is this short
    } else {
        if (found.storedSize < kInfoHeaderSize) {
            // A shortened header (OS/2 2.x style): the fields it leaves out are 0 and the
            // bytes read past it belong to the colour table.
            std::memset(raw + found.storedSize, 0, kInfoHeaderSize - found.storedSize);
            if (!stream.Seek(stream.Tell() - (kInfoHeaderSize - found.storedSize))) {
                return false;
            }
        }
        info = LoadInfoHeader(raw);
        if (found.storedSize >= 52) {
            // V2 and later headers carry the colour masks right after the first 40 bytes.
            uint8_t masks[16] = {};
            const size_t want = found.storedSize >= 56 ? 16 : 12;
            if (stream.Read(masks, want) != want) {
                return false;
            }
            for (size_t i = 0; i < 4; ++i) {
                found.masks[i] = LoadLe32(masks + 4 * i);
            }
            found.masksInHeader = true;
        }
    }
    info.biSize = kInfoHeaderSize;

    // Sides and depths no image can have: refused here so that nothing downstream sees
    // them (a negative height means top-down rows).
    if (info.biWidth <= 0 || info.biHeight == 0 || info.biHeight == INT32_MIN) {
        return false;
    }
    const bool embeddedImage =
        info.biBitCount == 0 && (info.biCompression == kBiJpeg || info.biCompression == kBiPng);
    if (!IsKnownBitCount(info.biBitCount) && !embeddedImage) {
        return false;
    }
    if (layout != nullptr) {
        *layout = found;
    }
    return true;
}

bool CBmpCodec::DecodeStream(ByteStream& stream) {
    // Offsets in the file are counted from where the BMP starts.
    const uint64_t start = stream.Tell();
    uint8_t fileHeader[kFileHeaderSize];
    if (stream.Read(fileHeader, sizeof(fileHeader)) != sizeof(fileHeader)) {
        return Fail(texts::kNotABmp);
    }
    uint32_t offBits = LoadLe32(fileHeader + 10);
    uint64_t headerStart = start + kFileHeaderSize;
    if (LoadLe16(fileHeader) != kBmpSignature) {
        // No file header: a bare DIB, its info header at the start.
        offBits = 0;
        headerStart = start;
        if (!stream.Seek(start)) {
            return Fail(texts::kNotABmp);
        }
    }

    BITMAPINFOHEADER info;
    InfoHeaderLayout layout;
    if (!ReadInfoHeader(stream, info, &layout)) {
        return Fail(texts::kErrorReadingInfo);
    }
    const uint32_t compression = info.biCompression;
    const uint16_t fileBits = info.biBitCount;
    const bool topDown = info.biHeight < 0;
    const int32_t height = topDown ? -info.biHeight : info.biHeight;
    if (Allocate(info.biWidth, height, fileBits) == nullptr) {
        return Fail(texts::kCantAllocate);
    }

    // Bit-field masks follow a header that has no room for them.
    uint64_t tableStart = headerStart + layout.storedSize;
    SourceRows rows{fileBits, topDown, DefaultMasks(fileBits)};
    if (HasBitfields(fileBits, compression)) {
        if (layout.masksInHeader) {
            rows.masks = {layout.masks[0], layout.masks[1], layout.masks[2]};
        } else {
            const size_t count = compression == kBiAlphaBitfields ? 4 : 3;
            uint8_t raw[16] = {};
            if (stream.Seek(tableStart)) {
                stream.Read(raw, 4 * count);  // masks a short file lacks stay 0 (black)
            }
            rows.masks = {LoadLe32(raw), LoadLe32(raw + 4), LoadLe32(raw + 8)};
            tableStart += 4 * count;
        }
    }

    // The colour table: always the full 2, 16 or 256 entries, whatever the file declares;
    // entries a short file lacks stay black.
    uint64_t pixelStart = tableStart;
    if (HasColorTable()) {
        const uint32_t entrySize = layout.core ? 3 : 4;
        const size_t tableBytes = size_t{header.biClrUsed} * entrySize;
        uint8_t raw[256 * 4] = {};
        if (stream.Seek(tableStart)) {
            stream.Read(raw, tableBytes);
        }
        uint8_t* table = PaletteAddress();
        for (uint32_t i = 0; i < header.biClrUsed; ++i) {
            const uint8_t* entry = raw + size_t{i} * entrySize;
            std::memcpy(table + 4 * i, entry, 3);
            table[4 * i + 3] = layout.core ? 0 : entry[3];
        }
        pixelStart = tableStart + tableBytes;
    } else {
        // A true-colour file may still carry a colour table; a bare DIB's pixels follow it.
        pixelStart = tableStart + uint64_t{4} * info.biClrUsed;
    }
    if (offBits != 0) {
        pixelStart = start + offBits;
    }

    // The pixel data, chosen by the holder's bit count and the file's compression.
    bool runLength = false;
    if (header.biBitCount <= 8) {
        switch (compression) {
            case kBiRgb:
                break;
            case kBiRle8:
            case kBiRle4:
                // Run-length data is defined bottom-up only.
                if (topDown) {
                    return Fail(texts::kCompressionNotSupported);
                }
                runLength = true;
                break;
            default:
                return Fail(texts::kCompressionNotSupported);
        }
    } else if (compression != kBiRgb && !HasBitfields(fileBits, compression)) {
        return Fail(texts::kUnknownCompression);
    }

    // Pixel data beyond what the stream can address is simply absent, like the pixels of
    // a file that ends early: they stay cleared.
    if (!stream.Seek(pixelStart)) {
        return true;
    }
    if (runLength) {
        DecodeRunLength(stream, *this, compression == kBiRle4);
    } else {
        ReadUncompressedRows(stream, *this, rows);
    }
    return true;
}

bool CBmpCodec::EncodeStream(ByteStream& stream) {
    if (!HasImage()) {
        SetLastError(texts::kNoImage);
        return false;
    }
    uint8_t fileHeader[kFileHeaderSize];
    StoreLe16(fileHeader, kBmpSignature);
    StoreLe32(fileHeader + 2, kFileHeaderSize + TotalBytes());
    StoreLe16(fileHeader + 6, 0);
    StoreLe16(fileHeader + 8, 0);
    StoreLe32(fileHeader + 10, kFileHeaderSize + header.biSize + PaletteBytes());
    if (!stream.Write(fileHeader, sizeof(fileHeader)) || !stream.Write(imageMemory, TotalBytes())) {
        SetLastError(texts::kWriteFailed);
        return false;
    }
    return true;
}

}  // namespace vellumo::dib
