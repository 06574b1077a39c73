#include "imaging/TgaDecoder.h"

#include <array>
#include <optional>
#include <vector>

#include "imaging/DecodeLimits.h"
#include "imaging/ReadFile.h"

namespace vellumo::imaging {
namespace {

constexpr uint64_t kMaxFileBytes = uint64_t{1} << 31;
constexpr size_t kHeaderBytes = 18;

struct Header {
    uint8_t idLength = 0;
    uint8_t mapType = 0;
    uint8_t type = 0;
    uint16_t mapFirst = 0;
    uint16_t mapLength = 0;
    uint8_t mapDepth = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint8_t depth = 0;
    uint8_t descriptor = 0;

    bool mapped() const { return (type & 7) == 1; }
    bool grey() const { return (type & 7) == 3; }
    bool runLength() const { return (type & 8) != 0; }
    bool topDown() const { return (descriptor & 0x20) != 0; }
    bool rightToLeft() const { return (descriptor & 0x10) != 0; }
    int alphaBits() const { return descriptor & 0x0F; }
};

uint16_t U16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

std::optional<Header> ParseHeader(const std::vector<uint8_t>& b, std::string& error) {
    if (b.size() < kHeaderBytes) {
        error = "the TGA header is cut short";
        return std::nullopt;
    }
    Header h;
    h.idLength = b[0];
    h.mapType = b[1];
    h.type = b[2];
    h.mapFirst = U16(&b[3]);
    h.mapLength = U16(&b[5]);
    h.mapDepth = b[7];
    h.width = U16(&b[12]);
    h.height = U16(&b[14]);
    h.depth = b[16];
    h.descriptor = b[17];
    const int kind = h.type & 7;
    const bool depthOk = h.mapped() || h.grey()
                             ? h.depth == 8 || (h.grey() && h.depth == 16)
                             : h.depth == 15 || h.depth == 16 || h.depth == 24 || h.depth == 32;
    const bool mapOk =
        !h.mapped() ||
        (h.mapType == 1 && h.mapLength > 0 &&
         (h.mapDepth == 15 || h.mapDepth == 16 || h.mapDepth == 24 || h.mapDepth == 32));
    if ((kind != 1 && kind != 2 && kind != 3) || (h.type & ~0x0B) != 0 || !depthOk || !mapOk) {
        error = "unsupported TGA image type";
        return std::nullopt;
    }
    if (!SourceSizeAllowed(h.width, h.height)) {
        error = "the image has no size or is too large";
        return std::nullopt;
    }
    return h;
}

// One stored pixel or palette entry as RGBA.
std::array<uint8_t, 4> Colour(const uint8_t* p, int depth, bool alpha) {
    switch (depth) {
        case 15:
        case 16: {
            const unsigned v = U16(p);
            auto five = [](unsigned x) { return static_cast<uint8_t>((x << 3) | (x >> 2)); };
            const uint8_t a = depth == 16 && alpha ? ((v & 0x8000) ? 255 : 0) : 255;
            return {five((v >> 10) & 31), five((v >> 5) & 31), five(v & 31), a};
        }
        case 24:
            return {p[2], p[1], p[0], 255};
        default:
            return {p[2], p[1], p[0], alpha ? p[3] : uint8_t{255}};
    }
}

class TgaDecoder final : public SingleFrameDecoder {
  public:
    TgaDecoder(std::filesystem::path path, const Header& header)
        : path_(std::move(path)), header_(header) {}

    std::string FormatName() const override { return "TGA"; }
    FrameInfo ActiveFrame() const override { return {header_.width, header_.height, 96.0}; }
    QImage Decode(QSize minimum, std::string& error) override;

  private:
    std::filesystem::path path_;
    Header header_;
};

QImage TgaDecoder::Decode(QSize, std::string& error) {
    const std::optional<std::vector<uint8_t>> file = ReadWhole(path_, kMaxFileBytes);
    if (!file) {
        error = "cannot read the file";
        return {};
    }
    const std::vector<uint8_t>& b = *file;
    const std::optional<Header> parsed = ParseHeader(b, error);
    if (!parsed || parsed->width != header_.width || parsed->height != header_.height) {
        error = error.empty() ? "the file changed since it was opened" : error;
        return {};
    }
    const Header& h = *parsed;
    // Alpha counts only when the descriptor says so (many writers leave the fourth byte 0).
    const bool alpha = h.alphaBits() > 0 && (h.depth == 32 || h.depth == 16 || h.mapDepth == 32);

    // Step 1: the palette, after the image ID.
    size_t at = kHeaderBytes + h.idLength;
    std::vector<std::array<uint8_t, 4>> palette;
    if (h.mapType == 1) {
        const size_t entryBytes = (static_cast<size_t>(h.mapDepth) + 7) / 8;
        const size_t mapBytes = entryBytes * h.mapLength;
        if (at + mapBytes > b.size()) {
            error = "the TGA palette is cut short";
            return {};
        }
        // A true-colour image may carry a palette of any entry size: it is skipped.
        for (size_t i = 0; h.mapped() && i < h.mapLength; ++i) {
            palette.push_back(Colour(&b[at + i * entryBytes], h.mapDepth, alpha));
        }
        at += mapBytes;
    }

    // Step 2: the pixels, unpacked run by run into stored order.
    const size_t pixelBytes = (static_cast<size_t>(h.depth) + 7) / 8;
    const size_t count = static_cast<size_t>(h.width) * static_cast<size_t>(h.height);
    std::vector<uint8_t> stored(count * pixelBytes);
    if (!h.runLength()) {
        if (at + stored.size() > b.size()) {
            error = "the TGA data ends early (truncated file)";
            return {};
        }
        std::copy(b.begin() + static_cast<std::ptrdiff_t>(at),
                  b.begin() + static_cast<std::ptrdiff_t>(at + stored.size()), stored.begin());
    } else {
        size_t done = 0;
        while (done < count) {
            if (at >= b.size()) {
                error = "the TGA data ends early (truncated file)";
                return {};
            }
            const uint8_t packet = b[at++];
            const size_t run = std::min<size_t>((packet & 0x7F) + 1u, count - done);
            const size_t literal = (packet & 0x80) ? pixelBytes : run * pixelBytes;
            if (at + literal > b.size()) {
                error = "the TGA data ends early (truncated file)";
                return {};
            }
            for (size_t i = 0; i < run; ++i) {
                const uint8_t* source = &b[at + ((packet & 0x80) ? 0 : i * pixelBytes)];
                std::copy(source, source + pixelBytes, &stored[(done + i) * pixelBytes]);
            }
            at += (packet & 0x80) ? pixelBytes : run * pixelBytes;
            done += run;
        }
    }

    // Step 3: colours, placed by the image's origin.
    QImage image(h.width, h.height, alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    if (image.isNull()) {
        error = "out of memory for the decoded image";
        return {};
    }
    const int channels = alpha ? 4 : 3;
    for (int32_t row = 0; row < h.height; ++row) {
        uint8_t* out = image.scanLine(h.topDown() ? row : h.height - 1 - row);
        for (int32_t column = 0; column < h.width; ++column) {
            const uint8_t* p = &stored[(static_cast<size_t>(row) * h.width + column) * pixelBytes];
            std::array<uint8_t, 4> c;
            if (h.mapped()) {
                const size_t index = pixelBytes == 1 ? p[0] : U16(p);
                if (index < h.mapFirst || index - h.mapFirst >= palette.size()) {
                    error = "a TGA pixel names a colour outside the palette";
                    return {};
                }
                c = palette[index - h.mapFirst];
            } else if (h.grey()) {
                c = {p[0], p[0], p[0], h.depth == 16 && alpha ? p[1] : uint8_t{255}};
            } else {
                c = Colour(p, h.depth, alpha);
            }
            const int32_t x = h.rightToLeft() ? h.width - 1 - column : column;
            std::copy(c.begin(), c.begin() + channels, out + static_cast<size_t>(x) * channels);
        }
    }
    if (alpha) {
        image.convertTo(QImage::Format_RGBA8888_Premultiplied);
    }
    return image;
}

}  // namespace

std::unique_ptr<Decoder> OpenTga(const std::filesystem::path& path, std::string& error) {
    const std::optional<std::vector<uint8_t>> head = ReadHead(path, kHeaderBytes);
    if (!head) {
        error = "cannot open the file";
        return nullptr;
    }
    const std::optional<Header> header = ParseHeader(*head, error);
    if (!header) {
        return nullptr;
    }
    return std::make_unique<TgaDecoder>(path, *header);
}

}  // namespace vellumo::imaging
