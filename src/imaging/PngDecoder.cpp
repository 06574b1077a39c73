#include "imaging/PngDecoder.h"

#include <png.h>

#include <bit>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <vector>

#include "imaging/ApngDecoder.h"
#include "imaging/ApngFrames.h"
#include "imaging/DecodeLimits.h"
#include "imaging/ReadFile.h"

namespace vellumo::imaging {
namespace {

constexpr double kInchesPerMetre = 0.0254;

// Where an animation control chunk is looked for (it comes before the image data), and
// the largest animated file we read into memory.
constexpr size_t kAnimationSearchBytes = 256 * 1024;
constexpr uint64_t kMaxAnimationBytes = uint64_t{512} * 1024 * 1024;

// libpng reports fatal errors through a function that must not return: we jump back
// to the setjmp of the phase that was running, whose frame holds no C++ objects.
struct ErrorState {
    std::jmp_buf jump;
    char message[256];
};

[[noreturn]] void OnPngError(png_structp png, png_const_charp message) {
    auto* state = static_cast<ErrorState*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", message);
    std::longjmp(state->jump, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// Bytes already in memory (a PNG inside an icon file).
struct MemorySource {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t pos = 0;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (source->size - source->pos < length) {
        png_error(png, "Read Error");
    }
    std::memcpy(out, source->data + source->pos, length);
    source->pos += length;
}

// One read session: the libpng objects, destroyed on every path by the owner below.
struct Session {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ErrorState error{};
    MemorySource memory;

    Session() = default;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session() {
        if (png != nullptr) {
            png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
        }
    }
};

struct Header {
    uint32_t width = 0;
    uint32_t height = 0;
    int colourType = 0;
    int bitDepth = 0;
    bool transparency = false;  // alpha channel or tRNS
    double dpiX = 96.0;
    IccProfile icc;
    // 16 bits per sample kept until the colour conversion (opaque files whose profile
    // is not sRGB's): cut first, a linear or wide-gamut file would band in the shadows.
    bool deep = false;
};

// PNG's own gamma for sRGB-like files, 1/2.2 in units of 1/100000, and how far from it a
// file may be and still count as sRGB.
constexpr int kSrgbLikeGamma = 45455;
constexpr int kGammaSlack = 1000;

// The colour description: iCCP, else sRGB, else a profile made from cHRM and gAMA. Called
// inside ReadInfo's setjmp.
IccProfile ColourOf(png_structp png, png_infop info) {
    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 length = 0;
    if (png_get_iCCP(png, info, &name, &compression, &profile, &length) != 0 &&
        profile != nullptr) {
        return IccProfile(profile, profile + length);
    }
    int intent = 0;
    if (png_get_sRGB(png, info, &intent) != 0) {
        return {};
    }
    png_fixed_point gamma = 0;
    const bool hasGamma = png_get_gAMA_fixed(png, info, &gamma) != 0 && gamma > 0;
    Chromaticities c;
    double wx, wy, rx, ry, gx, gy, bx, by;
    const bool hasChromaticities =
        png_get_cHRM(png, info, &wx, &wy, &rx, &ry, &gx, &gy, &bx, &by) != 0;
    if (hasChromaticities) {
        c = {wx, wy, rx, ry, gx, gy, bx, by};
    }
    if (!hasChromaticities && (!hasGamma || std::abs(gamma - kSrgbLikeGamma) < kGammaSlack)) {
        return {};
    }
    if (!hasGamma) {
        return MakeRgbProfile(c, ToneCurve::Srgb, 2.2, "PNG cHRM");
    }
    return MakeRgbProfile(c, ToneCurve::Gamma, 100000.0 / gamma, "PNG gAMA/cHRM");
}

bool CreateSession(Session& s) {
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s.error, OnPngError, OnPngWarning);
    if (s.png == nullptr) {
        return false;
    }
    s.info = png_create_info_struct(s.png);
    return s.info != nullptr;
}

// Phase 1: signature, header and the chunks before the image data, from the file or,
// when `file` is null, from s.memory.
bool ReadInfo(Session& s, std::FILE* file, Header& h) {
    if (setjmp(s.error.jump) != 0) {
        return false;
    }
    if (file != nullptr) {
        png_init_io(s.png, file);
    } else {
        png_set_read_fn(s.png, &s.memory, ReadFromMemory);
    }
    // Our own pixel limit is checked below; libpng's limit only has to let it through.
    png_set_user_limits(s.png, 0x7FFFFFFF, 0x7FFFFFFF);
    png_read_info(s.png, s.info);
    h.width = png_get_image_width(s.png, s.info);
    h.height = png_get_image_height(s.png, s.info);
    h.colourType = png_get_color_type(s.png, s.info);
    h.bitDepth = png_get_bit_depth(s.png, s.info);
    h.transparency = (h.colourType & PNG_COLOR_MASK_ALPHA) != 0 ||
                     png_get_valid(s.png, s.info, PNG_INFO_tRNS) != 0;
    png_uint_32 resX = 0, resY = 0;
    int unit = 0;
    if (png_get_pHYs(s.png, s.info, &resX, &resY, &unit) != 0 && unit == PNG_RESOLUTION_METER &&
        resX > 0) {
        h.dpiX = resX * kInchesPerMetre;
    }
    h.icc = ColourOf(s.png, s.info);
    h.deep = h.bitDepth == 16 && !h.transparency && !IsSrgbEquivalent(h.icc) &&
             DescribesRgbPixels(h.icc);
    return true;
}

// Phase 2: asks for 8-bit RGB or RGBA whatever the file holds, or 16-bit RGBX for a
// deep file.
bool SetTransforms(Session& s, const Header& h, size_t& rowBytes) {
    if (setjmp(s.error.jump) != 0) {
        return false;
    }
    if (h.colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(s.png);
    }
    if (h.colourType == PNG_COLOR_TYPE_GRAY && h.bitDepth < 8) {
        png_set_expand_gray_1_2_4_to_8(s.png);
    }
    if (png_get_valid(s.png, s.info, PNG_INFO_tRNS) != 0) {
        png_set_tRNS_to_alpha(s.png);
    }
    if (h.deep) {
        if constexpr (std::endian::native == std::endian::little) {
            png_set_swap(s.png);  // PNG stores samples big-endian
        }
    } else if (h.bitDepth == 16) {
        png_set_scale_16(s.png);
    }
    if ((h.colourType & PNG_COLOR_MASK_COLOR) == 0) {
        png_set_gray_to_rgb(s.png);
    }
    if (h.deep) {
        png_set_filler(s.png, 0xFFFF, PNG_FILLER_AFTER);
    }
    png_set_interlace_handling(s.png);
    png_read_update_info(s.png, s.info);
    rowBytes = png_get_rowbytes(s.png, s.info);
    return true;
}

// Phase 3: all rows (interlaced files need them all at once).
bool ReadRows(Session& s, png_bytepp rows) {
    if (setjmp(s.error.jump) != 0) {
        return false;
    }
    png_read_image(s.png, rows);
    return true;
}

void Premultiply(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        uint8_t* p = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x, p += 4) {
            const unsigned a = p[3];
            for (int c = 0; c < 3; ++c) {
                p[c] = static_cast<uint8_t>((p[c] * a + 127u) / 255u);
            }
        }
    }
}

class PngDecoder final : public SingleFrameDecoder {
  public:
    PngDecoder(std::filesystem::path path, const Header& header)
        : path_(std::move(path)), header_(header) {}

    std::string FormatName() const override { return "PNG"; }
    FrameInfo ActiveFrame() const override {
        return {static_cast<int32_t>(header_.width), static_cast<int32_t>(header_.height),
                header_.dpiX};
    }
    IccProfile ColourProfile() const override { return header_.icc; }
    QImage Decode(QSize minimum, std::string& error) override;

  private:
    std::filesystem::path path_;
    Header header_;
};

// Everything after the header: transforms, rows, premultiplied alpha.
QImage DecodeRest(Session& s, const Header& h, std::string& error) {
    size_t rowBytes = 0;
    if (!SetTransforms(s, h, rowBytes)) {
        error = s.error.message;
        return {};
    }
    const size_t pixelBytes = h.deep ? 8 : h.transparency ? 4 : 3;
    if (rowBytes != static_cast<size_t>(h.width) * pixelBytes) {
        error = "unexpected PNG row layout";
        return {};
    }
    QImage image(static_cast<int>(h.width), static_cast<int>(h.height),
                 h.deep           ? QImage::Format_RGBX64
                 : h.transparency ? QImage::Format_RGBA8888
                                  : QImage::Format_RGB888);
    if (image.isNull()) {
        error = "out of memory for the decoded image";
        return {};
    }
    std::vector<png_bytep> rows(h.height);
    for (uint32_t y = 0; y < h.height; ++y) {
        rows[y] = image.scanLine(static_cast<int>(y));
    }
    if (!ReadRows(s, rows.data())) {
        error = s.error.message;
        return {};
    }
    if (h.transparency) {
        Premultiply(image);
        image.reinterpretAsFormat(QImage::Format_RGBA8888_Premultiplied);
    }
    return image;
}

QImage PngDecoder::Decode(QSize, std::string& error) {
    FileHandle file = OpenForReading(path_);
    Session s;
    if (!file || !CreateSession(s)) {
        error = "cannot open the file";
        return {};
    }
    Header h;
    if (!ReadInfo(s, file.get(), h)) {
        error = s.error.message;
        return {};
    }
    if (h.width != header_.width || h.height != header_.height) {
        error = "the file changed since it was opened";
        return {};
    }
    return DecodeRest(s, h, error);
}

}  // namespace

std::unique_ptr<Decoder> OpenPng(const std::filesystem::path& path, std::string& error) {
    FileHandle file = OpenForReading(path);
    Session s;
    if (!file || !CreateSession(s)) {
        error = "cannot open the file";
        return nullptr;
    }
    Header h;
    if (!ReadInfo(s, file.get(), h)) {
        error = s.error.message;
        return nullptr;
    }
    if (!SourceSizeAllowed(h.width, h.height)) {
        error = "the image is too large";
        return nullptr;
    }
    // An animation control chunk among the first chunks makes the file an animated PNG,
    // whose frames are indexed now, reading the whole file once.
    const auto head = ReadHead(path, kAnimationSearchBytes);
    if (head && HasAnimationControl(*head)) {
        std::optional<std::vector<uint8_t>> bytes = ReadWhole(path, kMaxAnimationBytes);
        if (!bytes) {
            error = "cannot read the file";
            return nullptr;
        }
        std::optional<ApngIndex> index = IndexApng(*bytes);
        if (index && index->width == h.width && index->height == h.height) {
            return OpenApng(std::move(*bytes), std::move(*index), h.dpiX);
        }
    }
    return std::make_unique<PngDecoder>(path, h);
}

std::optional<QSize> PngSize(std::span<const uint8_t> bytes) {
    Session s;
    if (!CreateSession(s)) {
        return std::nullopt;
    }
    s.memory = {bytes.data(), bytes.size(), 0};
    Header h;
    if (!ReadInfo(s, nullptr, h) || !SourceSizeAllowed(h.width, h.height)) {
        return std::nullopt;
    }
    return QSize(static_cast<int>(h.width), static_cast<int>(h.height));
}

QImage DecodePngBytes(std::span<const uint8_t> bytes, std::string& error) {
    Session s;
    if (!CreateSession(s)) {
        error = "out of memory";
        return {};
    }
    s.memory = {bytes.data(), bytes.size(), 0};
    Header h;
    if (!ReadInfo(s, nullptr, h)) {
        error = s.error.message;
        return {};
    }
    if (!SourceSizeAllowed(h.width, h.height)) {
        error = "the image is too large";
        return {};
    }
    // Icons and animation frames are composited as 8-bit pixels and report no profile.
    h.deep = false;
    return DecodeRest(s, h, error);
}

}  // namespace vellumo::imaging
