#include "imaging/GifDecoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <optional>
#include <vector>

#include "imaging/DecodeLimits.h"
#include "imaging/GifLzw.h"
#include "imaging/ReadFile.h"

namespace vellumo::imaging {
namespace {

constexpr uint64_t kMaxFileBytes = uint64_t{512} * 1024 * 1024;
constexpr size_t kMaxImages = 100000;

enum Disposal : uint8_t { kKeep = 1, kRestoreBackground = 2, kRestorePrevious = 3 };

struct Palette {
    size_t offset = 0;     // of the first RGB triple in the file
    uint32_t size = 0;     // entries; 0 when there is none
    bool standIn = false;  // the file has no table at all: kStandInPalette
};

// For files without any colour table. The format leaves the table to the decoder and
// recommends black and white as the first two entries; the rest are greys.
const std::array<uint8_t, 256 * 3>& StandInPalette() {
    static const std::array<uint8_t, 256 * 3> table = [] {
        std::array<uint8_t, 256 * 3> t{};
        for (size_t i = 0; i < 256; ++i) {
            const uint8_t v = i == 1 ? 255 : static_cast<uint8_t>(i);
            t[i * 3] = t[i * 3 + 1] = t[i * 3 + 2] = v;
        }
        return t;
    }();
    return table;
}

// One image descriptor with the graphic control extension that preceded it.
struct GifImage {
    int32_t x = 0, y = 0, width = 0, height = 0;
    bool interlaced = false;
    Palette palette;
    int minCodeSize = 0;
    std::vector<uint8_t> data;  // the concatenated data sub-blocks
    uint8_t disposal = 0;
    bool transparent = false;
    uint8_t transparentIndex = 0;
};

struct GifFile {
    int32_t width = 0, height = 0;
    std::vector<GifImage> images;
};

class ByteCursor {
  public:
    explicit ByteCursor(std::span<const uint8_t> b) : bytes_(b) {}
    bool Has(size_t n) const { return bytes_.size() - pos_ >= n; }
    size_t Position() const { return pos_; }
    uint8_t U8() { return bytes_[pos_++]; }
    uint16_t U16() {
        const uint16_t v = static_cast<uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
        pos_ += 2;
        return v;
    }
    void Skip(size_t n) { pos_ += n; }
    std::span<const uint8_t> Take(size_t n) {
        auto s = bytes_.subspan(pos_, n);
        pos_ += n;
        return s;
    }

    // Walks a chain of sub-blocks up to its terminator, appending them to `into` when
    // given. False when the file ends first.
    bool SubBlocks(std::vector<uint8_t>* into) {
        while (Has(1)) {
            const uint8_t len = U8();
            if (len == 0) {
                return true;
            }
            if (!Has(len)) {
                return false;
            }
            auto block = Take(len);
            if (into != nullptr) {
                into->insert(into->end(), block.begin(), block.end());
            }
        }
        return false;
    }

  private:
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
};

Palette ReadPalette(ByteCursor& in, uint8_t packed, bool& ok) {
    Palette p;
    if ((packed & 0x80) == 0) {
        return p;
    }
    p.size = 2u << (packed & 0x07);
    if (!in.Has(size_t{p.size} * 3)) {
        ok = false;
        return p;
    }
    p.offset = in.Position();
    in.Skip(size_t{p.size} * 3);
    return p;
}

// The structure of the file: screen size and every image with its data. A file cut
// short keeps the images that were complete.
std::optional<GifFile> ParseGif(std::span<const uint8_t> bytes, std::string& error) {
    ByteCursor in(bytes);
    if (!in.Has(13) || std::memcmp(bytes.data(), "GIF8", 4) != 0 ||
        (bytes[4] != '7' && bytes[4] != '9') || bytes[5] != 'a') {
        error = "not a GIF file";
        return std::nullopt;
    }
    in.Skip(6);
    GifFile file;
    file.width = in.U16();
    file.height = in.U16();
    const uint8_t packed = in.U8();
    in.Skip(2);  // background index, aspect ratio
    if (!SourceSizeAllowed(file.width, file.height)) {
        error = "the GIF screen size is zero or too large";
        return std::nullopt;
    }
    bool ok = true;
    const Palette global = ReadPalette(in, packed, ok);
    if (!ok) {
        error = "the GIF file ends in its colour table";
        return std::nullopt;
    }

    GifImage pending;  // carries the graphic control values to the next image
    while (ok && in.Has(1) && file.images.size() < kMaxImages) {
        const uint8_t introducer = in.U8();
        if (introducer == 0x3B) {
            break;  // trailer
        }
        if (introducer == 0x21) {
            if (!in.Has(1)) {
                break;
            }
            const uint8_t label = in.U8();
            if (label == 0xF9 && in.Has(6) && bytes[in.Position()] == 4) {
                in.Skip(1);
                const uint8_t flags = in.U8();
                in.Skip(2);  // delay
                pending.transparentIndex = in.U8();
                pending.disposal = static_cast<uint8_t>((flags >> 2) & 0x07);
                pending.transparent = (flags & 0x01) != 0;
            }
            ok = in.SubBlocks(nullptr);
            continue;
        }
        if (introducer != 0x2C || !in.Has(9)) {
            break;  // garbage after the last image: keep what we have
        }
        GifImage image = std::move(pending);
        pending = GifImage{};
        image.x = in.U16();
        image.y = in.U16();
        image.width = in.U16();
        image.height = in.U16();
        const uint8_t flags = in.U8();
        image.interlaced = (flags & 0x40) != 0;
        const Palette local = ReadPalette(in, flags, ok);
        image.palette = (flags & 0x80) != 0 ? local : global;
        if (image.palette.size == 0) {
            image.palette = {0, 256, true};
        }
        if (!ok || !in.Has(1)) {
            break;
        }
        image.minCodeSize = in.U8();
        if (!in.SubBlocks(&image.data)) {
            break;  // image data cut short: not a complete frame
        }
        if (!SourceSizeAllowed(std::max(image.width, 1), std::max(image.height, 1))) {
            error = "a GIF image is too large";
            return std::nullopt;
        }
        file.images.push_back(std::move(image));
    }
    if (file.images.empty()) {
        error = "the GIF file holds no image";
        return std::nullopt;
    }
    return file;
}

// Row of the image that the n-th decoded row belongs to.
int32_t InterlacedRow(int32_t n, int32_t height) {
    const int32_t pass1 = (height + 7) / 8;
    const int32_t pass2 = (height + 3) / 8;
    const int32_t pass3 = (height + 1) / 4;
    if (n < pass1) {
        return n * 8;
    }
    n -= pass1;
    if (n < pass2) {
        return 4 + n * 8;
    }
    n -= pass2;
    if (n < pass3) {
        return 2 + n * 4;
    }
    n -= pass3;
    return 1 + n * 2;
}

class GifDecoder final : public Decoder {
  public:
    GifDecoder(std::vector<uint8_t> bytes, GifFile file)
        : bytes_(std::move(bytes)), file_(std::move(file)) {}

    std::string FormatName() const override { return "GIF"; }
    std::vector<FrameDimensionCount> FrameDimensions() const override {
        return {{FrameDimension::Time, static_cast<uint32_t>(file_.images.size())}};
    }
    bool SelectFrame(FrameDimension dimension, int32_t index) override {
        if (dimension != FrameDimension::Time || index < 0 ||
            static_cast<size_t>(index) >= file_.images.size()) {
            return false;
        }
        active_ = index;
        return true;
    }
    FrameInfo ActiveFrame() const override { return {file_.width, file_.height, 96.0}; }
    QImage Decode(QSize minimum, std::string& error) override;

  private:
    bool DrawImage(const GifImage& image, QImage& canvas, std::string& error) const;
    static void ClearArea(const GifImage& image, QImage& canvas);

    std::vector<uint8_t> bytes_;
    GifFile file_;
    int32_t active_ = 0;
    QImage canvas_;  // frame `drawn_` as composited, before its own disposal
    QImage saved_;   // what lay under the last frame that restores it afterwards
    int32_t drawn_ = -1;
    int32_t failedAt_ = -1;  // first frame whose data is broken
    std::string failure_;
};

void GifDecoder::ClearArea(const GifImage& image, QImage& canvas) {
    const int32_t x0 = std::min(image.x, canvas.width());
    const int32_t x1 = std::min(image.x + image.width, canvas.width());
    const int32_t y1 = std::min(image.y + image.height, canvas.height());
    for (int32_t y = image.y; y < y1; ++y) {
        std::memset(canvas.scanLine(y) + static_cast<size_t>(x0) * 4, 0,
                    static_cast<size_t>(x1 - x0) * 4);
    }
}

bool GifDecoder::DrawImage(const GifImage& image, QImage& canvas, std::string& error) const {
    const size_t count = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
    if (count == 0) {
        return true;  // an empty image draws nothing
    }
    std::vector<uint8_t> indices(count);
    const LzwResult lzw = DecodeGifLzw(image.data, image.minCodeSize, indices);
    if (!lzw.ok) {
        error = "corrupt GIF image data";
        return false;
    }
    const uint8_t* palette =
        image.palette.standIn ? StandInPalette().data() : bytes_.data() + image.palette.offset;
    for (size_t i = 0; i < lzw.written; ++i) {
        const uint8_t index = indices[i];
        if (image.transparent && index == image.transparentIndex) {
            continue;
        }
        if (index >= image.palette.size) {
            error = "a GIF pixel refers to a colour that is not in the colour table";
            return false;
        }
        const auto n = static_cast<int32_t>(i / static_cast<size_t>(image.width));
        const int32_t row = image.interlaced ? InterlacedRow(n, image.height) : n;
        const int32_t x = image.x + static_cast<int32_t>(i % static_cast<size_t>(image.width));
        const int32_t y = image.y + row;
        if (x >= canvas.width() || y >= canvas.height()) {
            continue;  // parts of a frame outside the screen are not shown
        }
        uint8_t* px = canvas.scanLine(y) + static_cast<size_t>(x) * 4;
        const uint8_t* rgb = palette + static_cast<size_t>(index) * 3;
        px[0] = rgb[0];
        px[1] = rgb[1];
        px[2] = rgb[2];
        px[3] = 255;
    }
    return true;
}

QImage GifDecoder::Decode(QSize, std::string& error) {
    if (failedAt_ >= 0 && active_ >= failedAt_) {
        error = failure_;  // every later frame is drawn over the broken one
        return {};
    }
    // Frames are composited one over the other, so the canvas of the frame drawn last
    // is where the next one starts: N frames in order cost N draws, not N^2 / 2.
    if (canvas_.isNull() || drawn_ > active_) {
        canvas_ = QImage(file_.width, file_.height, QImage::Format_RGBA8888_Premultiplied);
        if (canvas_.isNull()) {
            error = "out of memory for the GIF frame";
            return {};
        }
        canvas_.fill(Qt::transparent);
        saved_ = QImage();
        drawn_ = -1;
    }
    try {
        for (int32_t i = drawn_ + 1; i <= active_; ++i) {
            const GifImage& image = file_.images[static_cast<size_t>(i)];
            if (i > 0) {
                const GifImage& before = file_.images[static_cast<size_t>(i) - 1];
                if (before.disposal == kRestoreBackground) {
                    ClearArea(before, canvas_);
                } else if (before.disposal == kRestorePrevious && !saved_.isNull()) {
                    canvas_ = saved_;
                }
            }
            if (image.disposal == kRestorePrevious) {
                saved_ = canvas_.copy();
                if (saved_.isNull()) {
                    throw std::bad_alloc();
                }
            }
            if (!DrawImage(image, canvas_, error)) {
                failedAt_ = i;
                failure_ = error;
                canvas_ = QImage();
                return {};
            }
            drawn_ = i;
        }
    } catch (const std::bad_alloc&) {
        canvas_ = QImage();
        error = "out of memory for the GIF frame";
        return {};
    }
    return canvas_;  // shared: drawing the next frame detaches our copy
}

}  // namespace

std::unique_ptr<Decoder> OpenGifBytes(std::vector<uint8_t> bytes, std::string& error) {
    std::optional<GifFile> file = ParseGif(bytes, error);
    if (!file) {
        return nullptr;
    }
    return std::make_unique<GifDecoder>(std::move(bytes), std::move(*file));
}

std::unique_ptr<Decoder> OpenGif(const std::filesystem::path& path, std::string& error) {
    std::optional<std::vector<uint8_t>> bytes = ReadWhole(path, kMaxFileBytes);
    if (!bytes) {
        error = "cannot read the file";
        return nullptr;
    }
    return OpenGifBytes(std::move(*bytes), error);
}

}  // namespace vellumo::imaging
