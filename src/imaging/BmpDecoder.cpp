#include "imaging/BmpDecoder.h"

#include <optional>

#include "dib/BmpCodec.h"
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

// Reads the headers only: the size of the image and its resolution.
struct Header {
    int32_t width = 0;
    int32_t height = 0;
    double dpiX = 96.0;
};

std::optional<Header> ReadHeader(const std::filesystem::path& path) {
    dib::FileStream stream(path, "rb");
    if (!stream.IsOpen()) {
        return std::nullopt;
    }
    uint8_t signature[2] = {};
    if (stream.Read(signature, 2) != 2) {
        return std::nullopt;
    }
    const bool fileHeader = signature[0] == 'B' && signature[1] == 'M';
    if (!stream.Seek(fileHeader ? dib::kFileHeaderSize : 0)) {
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
    return header;
}

class BmpDecoder final : public Decoder {
  public:
    BmpDecoder(std::filesystem::path path, const Header& header)
        : path_(std::move(path)), header_(header) {}

    std::string FormatName() const override { return "BMP"; }
    std::vector<FrameDimensionCount> FrameDimensions() const override {
        return {{FrameDimension::Page, 1}};
    }
    bool SelectFrame(FrameDimension dimension, int32_t index) override {
        return dimension == FrameDimension::Page && index == 0;
    }
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
    return image;
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
