#include "imaging/PsdDecoder.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "imaging/DecodeLimits.h"
#include "imaging/ExifReader.h"
#include "imaging/InterleavedImage.h"
#include "imaging/ReadFile.h"

namespace vellumo::imaging {
namespace {

constexpr uint64_t kMaxFileBytes = uint64_t{2} << 30;
constexpr uint16_t kResolutionInfo = 0x03ED;
constexpr uint16_t kExifData = 0x0422;

enum Mode : uint16_t { kBitmap = 0, kGrey = 1, kIndexed = 2, kRgb = 3, kCmyk = 4, kDuotone = 8 };

// Big-endian reads that never pass the end: a failed read leaves `ok` false.
class Reader {
  public:
    explicit Reader(const std::vector<uint8_t>& bytes) : b_(bytes) {}
    uint64_t Read(size_t count) {
        if (!ok || count > b_.size() - at_) {
            ok = false;
            return 0;
        }
        uint64_t v = 0;
        for (size_t i = 0; i < count; ++i) {
            v = (v << 8) | b_[at_++];
        }
        return v;
    }
    // A section whose length is given first; returns its start and skips it.
    std::optional<std::pair<size_t, size_t>> Section(size_t lengthBytes) {
        const uint64_t length = Read(lengthBytes);
        if (!ok || length > b_.size() - at_) {
            ok = false;
            return std::nullopt;
        }
        const size_t start = at_;
        at_ += static_cast<size_t>(length);
        return std::make_pair(start, static_cast<size_t>(length));
    }
    size_t at() const { return at_; }
    void Seek(size_t at) { at_ = std::min(at, b_.size()); }
    bool ok = true;

  private:
    const std::vector<uint8_t>& b_;
    size_t at_ = 0;
};

struct Header {
    bool large = false;  // PSB
    uint16_t channels = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t depth = 0;
    uint16_t mode = 0;
    double dpi = 96.0;
    int orientation = 0;
    std::vector<uint8_t> palette;  // indexed: 256 reds, greens, blues
    size_t imageData = 0;          // offset of the merged picture
};

int ColourChannels(uint16_t mode) {
    return mode == kRgb ? 3 : mode == kCmyk ? 4 : 1;
}

// Resolution and EXIF orientation from the image resources.
void ReadResources(const std::vector<uint8_t>& b, size_t start, size_t length, Header& h) {
    Reader r(b);
    r.Seek(start);
    while (r.ok && r.at() + 12 <= start + length) {
        if (r.Read(4) != 0x3842494D) {  // "8BIM"
            return;
        }
        const auto id = static_cast<uint16_t>(r.Read(2));
        const auto nameLength = static_cast<size_t>(r.Read(1));
        r.Seek(r.at() + nameLength + ((nameLength + 1) % 2));  // Pascal name, padded to even
        const auto data = r.Section(4);
        if (!data) {
            return;
        }
        const auto [at, size] = *data;
        if (id == kResolutionInfo && size >= 4) {
            const double ppi =
                ((b[at] << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3]) / 65536.0;
            h.dpi = ppi > 0 ? ppi : h.dpi;
        } else if (id == kExifData) {
            std::vector<uint8_t> segment = {'E', 'x', 'i', 'f', 0, 0};
            segment.insert(segment.end(), b.begin() + static_cast<std::ptrdiff_t>(at),
                           b.begin() + static_cast<std::ptrdiff_t>(at + size));
            h.orientation = ReadExifFields(segment).orientation;
        }
        r.Seek(r.at() + (size % 2));
    }
}

std::optional<Header> ParseHeader(const std::vector<uint8_t>& b, std::string& error) {
    Reader r(b);
    Header h;
    const uint64_t signature = r.Read(4);
    const uint64_t version = r.Read(2);
    r.Read(6);
    h.channels = static_cast<uint16_t>(r.Read(2));
    h.height = static_cast<int32_t>(std::min<uint64_t>(r.Read(4), INT32_MAX));
    h.width = static_cast<int32_t>(std::min<uint64_t>(r.Read(4), INT32_MAX));
    h.depth = static_cast<uint16_t>(r.Read(2));
    h.mode = static_cast<uint16_t>(r.Read(2));
    h.large = version == 2;
    if (!r.ok || signature != 0x38425053 || (version != 1 && version != 2)) {
        error = "not a readable Photoshop file";
        return std::nullopt;
    }
    const bool modeOk = h.mode == kBitmap || h.mode == kGrey || h.mode == kIndexed ||
                        h.mode == kRgb || h.mode == kCmyk || h.mode == kDuotone;
    const bool depthOk = h.mode == kBitmap ? h.depth == 1
                                           : (h.depth == 8 || h.depth == 16 || h.depth == 32) &&
                                                 !(h.mode == kIndexed && h.depth != 8);
    if (!modeOk || !depthOk || h.channels < ColourChannels(h.mode) || h.channels > 56) {
        error = "unsupported Photoshop colour mode or depth";
        return std::nullopt;
    }
    if (!SourceSizeAllowed(h.width, h.height)) {
        error = "the image has no size or is too large";
        return std::nullopt;
    }
    const auto colourData = r.Section(4);
    if (colourData && h.mode == kIndexed) {
        if (colourData->second < 768) {
            error = "the Photoshop palette is cut short";
            return std::nullopt;
        }
        h.palette.assign(b.begin() + static_cast<std::ptrdiff_t>(colourData->first),
                         b.begin() + static_cast<std::ptrdiff_t>(colourData->first + 768));
    }
    const auto resources = r.Section(4);
    if (resources) {
        ReadResources(b, resources->first, resources->second, h);
    }
    r.Section(h.large ? 8 : 4);  // layers and masks: the merged picture follows them
    if (!r.ok) {
        error = "the Photoshop file is cut short";
        return std::nullopt;
    }
    h.imageData = r.at();
    return h;
}

// PackBits: a count byte n, then n+1 literal bytes (n < 128) or one byte repeated
// 257-n times (n > 128); 128 is a no-op.
bool UnpackBits(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize) {
    size_t i = 0, o = 0;
    while (o < outSize && i < inSize) {
        const uint8_t n = in[i++];
        if (n < 128) {
            const size_t count = n + 1u;
            if (i + count > inSize || o + count > outSize) {
                return false;
            }
            std::memcpy(out + o, in + i, count);
            i += count;
            o += count;
        } else if (n > 128) {
            const size_t count = 257u - n;
            if (i >= inSize || o + count > outSize) {
                return false;
            }
            std::memset(out + o, in[i++], count);
            o += count;
        }
    }
    return o == outSize;
}

// Every colour channel's rows, unpacked, each row `rowBytes` long.
std::optional<std::vector<uint8_t>> ReadPlanes(const std::vector<uint8_t>& b, const Header& h,
                                               int planes, size_t rowBytes, std::string& error) {
    Reader r(b);
    r.Seek(h.imageData);
    const uint64_t compression = r.Read(2);
    const size_t rows = static_cast<size_t>(h.height) * planes;
    std::vector<uint8_t> data(rows * rowBytes);
    if (compression == 0) {
        if (!r.ok || r.at() + data.size() > b.size()) {
            error = "the Photoshop data ends early (truncated file)";
            return std::nullopt;
        }
        std::memcpy(data.data(), b.data() + r.at(), data.size());
        return data;
    }
    if (compression != 1) {
        error = "unsupported Photoshop compression";
        return std::nullopt;
    }
    // The byte count of every row of every channel (all channels, not only ours), then
    // the rows themselves.
    const size_t countBytes = h.large ? 4 : 2;
    const size_t allRows = static_cast<size_t>(h.height) * h.channels;
    std::vector<size_t> counts(rows);
    for (size_t i = 0; i < allRows && r.ok; ++i) {
        const auto count = static_cast<size_t>(r.Read(countBytes));
        if (i < rows) {
            counts[i] = count;
        }
    }
    size_t at = r.at();
    for (size_t i = 0; i < rows && r.ok; ++i) {
        if (counts[i] > b.size() - std::min(at, b.size()) ||
            !UnpackBits(b.data() + at, counts[i], data.data() + i * rowBytes, rowBytes)) {
            error = "the Photoshop data is damaged or ends early";
            return std::nullopt;
        }
        at += counts[i];
    }
    if (!r.ok) {
        error = "the Photoshop data ends early (truncated file)";
        return std::nullopt;
    }
    return data;
}

// One sample of a plane as 8 bits (16-bit: the high byte; 32-bit: float clamped to [0,1]).
uint8_t Sample(const uint8_t* row, int32_t x, uint16_t depth) {
    if (depth == 8) {
        return row[x];
    }
    if (depth == 16) {
        return row[2 * x];
    }
    const uint8_t* p = row + 4 * static_cast<size_t>(x);
    const uint32_t bits =
        (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
    float v = 0;
    std::memcpy(&v, &bits, 4);
    return static_cast<uint8_t>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f);
}

class PsdDecoder final : public SingleFrameDecoder {
  public:
    PsdDecoder(std::filesystem::path path, Header header)
        : path_(std::move(path)), header_(std::move(header)) {}

    std::string FormatName() const override { return header_.large ? "PSB" : "PSD"; }
    FrameInfo ActiveFrame() const override { return {header_.width, header_.height, header_.dpi}; }
    int ExifOrientation() const override { return header_.orientation; }
    QImage Decode(QSize minimum, std::string& error) override;

  private:
    std::filesystem::path path_;
    Header header_;
};

QImage PsdDecoder::Decode(QSize, std::string& error) {
    const std::optional<std::vector<uint8_t>> file = ReadWhole(path_, kMaxFileBytes);
    if (!file) {
        error = "cannot read the file";
        return {};
    }
    const std::optional<Header> parsed = ParseHeader(*file, error);
    if (!parsed) {
        return {};
    }
    const Header& h = *parsed;
    if (h.width != header_.width || h.height != header_.height) {
        error = "the file changed since it was opened";
        return {};
    }
    const int planes = ColourChannels(h.mode);
    const size_t rowBytes = h.depth == 1 ? (static_cast<size_t>(h.width) + 7) / 8
                                         : static_cast<size_t>(h.width) * (h.depth / 8);
    const std::optional<std::vector<uint8_t>> data = ReadPlanes(*file, h, planes, rowBytes, error);
    if (!data) {
        return {};
    }
    const size_t planeBytes = rowBytes * static_cast<size_t>(h.height);
    std::vector<uint8_t> rgb(static_cast<size_t>(h.width) * h.height * 3);
    for (int32_t y = 0; y < h.height; ++y) {
        const uint8_t* row[4] = {};
        for (int p = 0; p < planes; ++p) {
            row[p] = data->data() + p * planeBytes + static_cast<size_t>(y) * rowBytes;
        }
        uint8_t* out = rgb.data() + static_cast<size_t>(y) * h.width * 3;
        for (int32_t x = 0; x < h.width; ++x, out += 3) {
            if (h.mode == kBitmap) {
                const bool black = (row[0][x / 8] >> (7 - x % 8)) & 1;
                out[0] = out[1] = out[2] = black ? 0 : 255;
            } else if (h.mode == kIndexed) {
                const uint8_t i = row[0][x];
                out[0] = h.palette[i];
                out[1] = h.palette[256 + i];
                out[2] = h.palette[512 + i];
            } else if (h.mode == kRgb) {
                for (int c = 0; c < 3; ++c) {
                    out[c] = Sample(row[c], x, h.depth);
                }
            } else if (h.mode == kCmyk) {
                // Stored inverted (0 is full ink), so the product of the two is the colour.
                const unsigned k = Sample(row[3], x, h.depth);
                for (int c = 0; c < 3; ++c) {
                    out[c] = static_cast<uint8_t>(Sample(row[c], x, h.depth) * k / 255u);
                }
            } else {
                out[0] = out[1] = out[2] = Sample(row[0], x, h.depth);
            }
        }
    }
    InterleavedPixels view;
    view.data = rgb.data();
    view.width = h.width;
    view.height = h.height;
    view.stride = static_cast<size_t>(h.width) * 3;
    return CopyInterleaved(view, error);
}

}  // namespace

std::unique_ptr<Decoder> OpenPsd(const std::filesystem::path& path, std::string& error) {
    // The header, colour data and resources come first; the layers that follow can be
    // large, so the whole file is read (PSDs are rarely larger than their pixels).
    const std::optional<std::vector<uint8_t>> file = ReadWhole(path, kMaxFileBytes);
    if (!file) {
        error = "cannot read the file";
        return nullptr;
    }
    std::optional<Header> header = ParseHeader(*file, error);
    if (!header) {
        return nullptr;
    }
    return std::make_unique<PsdDecoder>(path, std::move(*header));
}

}  // namespace vellumo::imaging
