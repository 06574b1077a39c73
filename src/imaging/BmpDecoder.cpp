#include "imaging/BmpDecoder.h"

#include <bit>
#include <optional>
#include <vector>

#include "dib/BmpCodec.h"
#include "dib/Endian.h"
#include "dib/FileStream.h"
#include "imaging/DecodeLimits.h"

namespace vellumo::imaging {
namespace {

uint32_t Le(std::span<const uint8_t> b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = (v << 8) | b[at + static_cast<size_t>(i)];
    }
    return v;
}

// Reads the headers only: the size of the image, its resolution and, for bit-field
// pixels with an alpha mask, where to find the alpha values (the bitmap holder keeps
// colours only).
struct Header {
    int32_t width = 0;
    int32_t height = 0;
    double dpiX = 96.0;
    uint32_t alphaMask = 0;
    uint16_t bits = 0;
    bool topDown = false;
    uint64_t pixelStart = 0;
};

bool HasBitfields(const dib::BITMAPINFOHEADER& info) {
    return (info.biBitCount == 16 || info.biBitCount == 32) &&
           (info.biCompression == dib::kBiBitfields ||
            info.biCompression == dib::kBiAlphaBitfields);
}

std::optional<Header> ReadHeader(const std::filesystem::path& path) {
    dib::FileStream stream(path, "rb");
    if (!stream.IsOpen()) {
        return std::nullopt;
    }
    uint8_t fileHeader[dib::kFileHeaderSize] = {};
    if (stream.Read(fileHeader, 2) != 2) {
        return std::nullopt;
    }
    const bool hasFileHeader = fileHeader[0] == 'B' && fileHeader[1] == 'M';
    if (hasFileHeader &&
        stream.Read(fileHeader + 2, sizeof fileHeader - 2) != sizeof fileHeader - 2) {
        return std::nullopt;
    }
    const uint64_t headerStart = hasFileHeader ? dib::kFileHeaderSize : 0;
    if (!stream.Seek(headerStart)) {
        return std::nullopt;
    }
    dib::BITMAPINFOHEADER info;
    dib::InfoHeaderLayout layout;
    if (!dib::CBmpCodec::ReadInfoHeader(stream, info, &layout)) {
        return std::nullopt;
    }
    Header header;
    header.width = info.biWidth;
    header.height = info.biHeight < 0 ? -info.biHeight : info.biHeight;
    constexpr double kInchesPerMetre = 0.0254;
    if (!layout.core && info.biXPelsPerMeter > 0) {
        header.dpiX = info.biXPelsPerMeter * kInchesPerMetre;
    }
    if (!HasBitfields(info)) {
        return header;
    }
    // The alpha mask: in a header of 56 bytes or more, or after the colour masks.
    uint64_t tableStart = headerStart + layout.storedSize;
    if (layout.masksInHeader) {
        header.alphaMask = layout.storedSize >= 56 ? layout.masks[3] : 0;
    } else if (info.biCompression == dib::kBiAlphaBitfields) {
        uint8_t masks[16] = {};
        if (!stream.Seek(tableStart) || stream.Read(masks, 16) != 16) {
            return header;
        }
        header.alphaMask = dib::LoadLe32(masks + 12);
        tableStart += 16;
    } else {
        tableStart += 12;
    }
    header.bits = info.biBitCount;
    header.topDown = info.biHeight < 0;
    // As the codec does: the file header's offset when it gives one, else right after the
    // colour table.
    const uint32_t offBits = hasFileHeader ? dib::LoadLe32(fileHeader + 10) : 0;
    header.pixelStart = offBits != 0 ? offBits : tableStart + uint64_t{4} * info.biClrUsed;
    return header;
}

// The alpha values of a bit-field image, top row first; nullopt when every one is 0
// (files that leave the alpha bits unused) or the pixels cannot be read.
std::optional<std::vector<uint8_t>> ReadAlpha(dib::ByteStream& stream, const Header& h) {
    const int shift = std::countr_zero(h.alphaMask);
    const uint64_t maximum = h.alphaMask >> shift;
    const size_t bytesPerPixel = h.bits / 8u;
    const size_t stride = (static_cast<size_t>(h.width) * bytesPerPixel + 3) & ~size_t{3};
    std::vector<uint8_t> row(stride);
    std::vector<uint8_t> alpha(static_cast<size_t>(h.width) * static_cast<size_t>(h.height), 255);
    bool any = false;
    for (int32_t r = 0; r < h.height; ++r) {
        if (!stream.Seek(h.pixelStart + static_cast<uint64_t>(r) * stride) ||
            stream.Read(row.data(), stride) != stride) {
            break;  // a short file: the missing pixels stay opaque
        }
        const int32_t y = h.topDown ? r : h.height - 1 - r;
        uint8_t* out = alpha.data() + static_cast<size_t>(y) * static_cast<size_t>(h.width);
        for (int32_t x = 0; x < h.width; ++x) {
            const uint8_t* p = row.data() + static_cast<size_t>(x) * bytesPerPixel;
            const uint32_t v = bytesPerPixel == 4 ? dib::LoadLe32(p) : dib::LoadLe16(p);
            const uint64_t value = (v & h.alphaMask) >> shift;  // a 32-bit mask: * 255 needs 64
            out[x] = static_cast<uint8_t>((value * 255u + maximum / 2) / maximum);
            any = any || out[x] != 0;
        }
    }
    if (!any) {
        return std::nullopt;
    }
    return alpha;
}

// The colours with their alpha, premultiplied.
QImage WithAlpha(const QImage& rgb, const std::vector<uint8_t>& alpha) {
    QImage image(rgb.width(), rgb.height(), QImage::Format_RGBA8888_Premultiplied);
    if (image.isNull()) {
        return image;
    }
    const uint8_t* a = alpha.data();
    for (int y = 0; y < rgb.height(); ++y) {
        const uint8_t* in = rgb.constScanLine(y);
        uint8_t* out = image.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x, in += 3, out += 4, ++a) {
            for (int c = 0; c < 3; ++c) {
                out[c] = static_cast<uint8_t>((in[c] * unsigned{*a} + 127u) / 255u);
            }
            out[3] = *a;
        }
    }
    return image;
}

class BmpDecoder final : public SingleFrameDecoder {
  public:
    BmpDecoder(std::filesystem::path path, const Header& header)
        : path_(std::move(path)), header_(header) {}

    std::string FormatName() const override { return "BMP"; }
    FrameInfo ActiveFrame() const override { return {header_.width, header_.height, header_.dpiX}; }
    QImage Decode(QSize minimum, std::string& error) override;

  private:
    std::filesystem::path path_;
    Header header_;
};

QImage BmpDecoder::Decode(QSize, std::string& error) {
    dib::FileStream stream(path_, "rb");
    if (!stream.IsOpen()) {
        error = "cannot open the file";
        return {};
    }
    dib::CBmpCodec bmp;
    if (!bmp.DecodeStream(stream)) {
        error = bmp.lastError[0] != '\0' ? bmp.lastError : "cannot decode the BMP image";
        return {};
    }
    const int32_t width = bmp.header.biWidth;
    const int32_t height = bmp.header.biHeight;
    if (width != header_.width || height != header_.height) {
        error = "the file changed since it was opened";
        return {};
    }
    QImage image(width, height, QImage::Format_RGB888);
    if (image.isNull()) {
        error = "out of memory for the decoded image";
        return {};
    }
    // The holder keeps its rows bottom-up, 24-bit ones in blue, green, red order.
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* out = image.scanLine(y);
        const int32_t row = height - 1 - y;
        if (bmp.HasColorTable()) {
            for (int32_t x = 0; x < width; ++x, out += 3) {
                const dib::RGBQUAD c = bmp.ReadColor(x, row);
                out[0] = c.rgbRed;
                out[1] = c.rgbGreen;
                out[2] = c.rgbBlue;
            }
        } else {
            const uint8_t* in = bmp.pixels + static_cast<size_t>(row) * bmp.rowStride;
            for (int32_t x = 0; x < width; ++x, in += 3, out += 3) {
                out[0] = in[2];
                out[1] = in[1];
                out[2] = in[0];
            }
        }
    }
    if (header_.alphaMask == 0) {
        return image;
    }
    const auto alpha = ReadAlpha(stream, header_);
    if (!alpha) {
        return image;
    }
    QImage withAlpha = WithAlpha(image, *alpha);
    if (withAlpha.isNull()) {
        error = "out of memory for the decoded image";
    }
    return withAlpha;
}

}  // namespace

bool LooksLikeBareDib(std::span<const uint8_t> head) {
    if (head.size() < 16) {
        return false;
    }
    const uint32_t size = Le(head, 0, 4);
    size_t planesAt = 12;
    if (size == dib::kCoreHeaderSize) {
        planesAt = 8;
    } else if (size != 40 && size != 52 && size != 56 && size != 64 && size != 108 && size != 124) {
        return false;
    }
    const uint32_t bits = Le(head, planesAt + 2, 2);
    return Le(head, planesAt, 2) == 1 &&
           (bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32);
}

std::unique_ptr<Decoder> OpenBmp(const std::filesystem::path& path, std::string& error) {
    const std::optional<Header> header = ReadHeader(path);
    if (!header) {
        error = "not a readable BMP image";
        return nullptr;
    }
    if (!SourceSizeAllowed(header->width, header->height)) {
        error = "the image has no size or is too large";
        return nullptr;
    }
    return std::make_unique<BmpDecoder>(path, *header);
}

}  // namespace vellumo::imaging
