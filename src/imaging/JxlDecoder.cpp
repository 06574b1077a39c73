#include "imaging/JxlDecoder.h"

#include <jxl/decode.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "imaging/DecodeLimits.h"
#include "imaging/ExifBlock.h"
#include "imaging/InterleavedImage.h"
#include "imaging/ReadFile.h"

namespace vellumo::imaging {
namespace {

constexpr uint64_t kMaxFileBytes = uint64_t{1} << 30;
constexpr size_t kMaxExifBytes = size_t{1} << 20;
// An animation longer than this is refused rather than listed frame by frame.
constexpr int32_t kMaxFrames = 100000;

struct DecoderFree {
    void operator()(JxlDecoder* d) const { JxlDecoderDestroy(d); }
};
using Session = std::unique_ptr<JxlDecoder, DecoderFree>;

// Starts a session over the whole file, subscribed to `events`.
Session StartSession(const std::vector<uint8_t>& bytes, int events) {
    Session session(JxlDecoderCreate(nullptr));
    if (!session || JxlDecoderSubscribeEvents(session.get(), events) != JXL_DEC_SUCCESS ||
        JxlDecoderSetInput(session.get(), bytes.data(), bytes.size()) != JXL_DEC_SUCCESS) {
        return nullptr;
    }
    JxlDecoderCloseInput(session.get());
    return session;
}

// Size of the shown image: orientations 5 to 8 swap the sides.
QSize ShownSize(const JxlBasicInfo& info) {
    const auto w = static_cast<int>(info.xsize);
    const auto h = static_cast<int>(info.ysize);
    return info.orientation >= JXL_ORIENT_TRANSPOSE ? QSize(h, w) : QSize(w, h);
}

JxlPixelFormat OutputFormat(const JxlBasicInfo& info) {
    const uint32_t colour = info.num_color_channels == 1 ? 1 : 3;
    // Floats, turned into 8 bits here: libjxl's own 8-bit output scales alpha channels of
    // 9 to 15 bits wrongly.
    return {colour + (info.alpha_bits > 0 ? 1 : 0), JXL_TYPE_FLOAT, JXL_NATIVE_ENDIAN, 0};
}

std::string StatusText(JxlDecoderStatus status) {
    return status == JXL_DEC_NEED_MORE_INPUT ? "the JPEG XL data ends early (truncated file)"
                                             : "the JPEG XL data is corrupt";
}

// What opening learns: the header, the frames shown, the EXIF fields. In an animation a
// frame that lasts no time is a layer of the next one, not a frame of its own; `shown`
// holds the decoder's frame numbers of those that last.
struct Scan {
    JxlBasicInfo info{};
    std::vector<int32_t> shown;
    ExifFields exif;
    IccProfile icc;  // of the decoded samples (libjxl's "data" colour space)
    // More than 8 bits, opaque, in a profile that is not sRGB's: handed over with 16 bits
    // so that the colour conversion comes before the cut to 8.
    bool deep = false;
};

// Opaque grey or RGB floats as 16-bit RGBX.
QImage DeepImage(const std::vector<float>& samples, QSize size, uint32_t channels,
                 std::string& error) {
    QImage image(size, QImage::Format_RGBX64);
    if (image.isNull()) {
        error = "out of memory for the decoded image";
        return {};
    }
    const auto width = static_cast<size_t>(size.width());
    for (int y = 0; y < size.height(); ++y) {
        const float* in = samples.data() + static_cast<size_t>(y) * width * channels;
        auto* out = reinterpret_cast<uint16_t*>(image.scanLine(y));
        for (size_t x = 0; x < width; ++x, in += channels, out += 4) {
            for (size_t c = 0; c < 3; ++c) {
                const float v = in[channels == 1 ? 0 : c];
                out[c] = static_cast<uint16_t>(std::clamp(v, 0.0f, 1.0f) * 65535.0f + 0.5f);
            }
            out[3] = 65535;
        }
    }
    return image;
}

class JxlFileDecoder final : public Decoder {
  public:
    JxlFileDecoder(std::filesystem::path path, const Scan& scan)
        : path_(std::move(path)), scan_(scan) {}

    std::string FormatName() const override { return "JPEG XL"; }
    std::vector<FrameDimensionCount> FrameDimensions() const override {
        const auto dimension =
            scan_.info.have_animation ? FrameDimension::Time : FrameDimension::Page;
        return {{dimension, static_cast<uint32_t>(scan_.shown.size())}};
    }
    bool SelectFrame(FrameDimension dimension, int32_t index) override {
        if (dimension != FrameDimensions()[0].dimension || index < 0 ||
            index >= static_cast<int32_t>(scan_.shown.size())) {
            return false;
        }
        active_ = index;
        return true;
    }
    FrameInfo ActiveFrame() const override {
        const QSize size = ShownSize(scan_.info);
        return {size.width(), size.height(), scan_.exif.dpiX.value_or(96.0)};
    }
    IccProfile ColourProfile() const override { return scan_.icc; }
    QImage Decode(QSize minimum, std::string& error) override;

  private:
    bool Restart(std::string& error);
    bool DecodeFrame(int32_t frame, std::vector<float>& samples, std::string& error);

    std::filesystem::path path_;
    Scan scan_;
    int32_t active_ = 0;
    // One session walks the frames in order, so an animation of N frames costs N frame
    // decodes, not N²/2; it starts again only when an earlier frame is asked for.
    std::vector<uint8_t> bytes_;
    Session session_;
    int32_t next_ = 0;  // the decoder's frame number the session reaches next
};

bool JxlFileDecoder::Restart(std::string& error) {
    session_.reset();
    std::optional<std::vector<uint8_t>> bytes = ReadWhole(path_, kMaxFileBytes);
    if (!bytes) {
        error = "cannot read the file";
        return false;
    }
    bytes_ = std::move(*bytes);
    session_ = StartSession(bytes_, JXL_DEC_BASIC_INFO | JXL_DEC_FULL_IMAGE);
    if (!session_) {
        error = "out of memory";
        return false;
    }
    JxlDecoderSetUnpremultiplyAlpha(session_.get(), JXL_TRUE);
    JxlBasicInfo info{};
    if (JxlDecoderProcessInput(session_.get()) != JXL_DEC_BASIC_INFO ||
        JxlDecoderGetBasicInfo(session_.get(), &info) != JXL_DEC_SUCCESS ||
        info.xsize != scan_.info.xsize || info.ysize != scan_.info.ysize) {
        error = "the file changed since it was opened";
        return false;
    }
    next_ = 0;
    return true;
}

bool JxlFileDecoder::DecodeFrame(int32_t frame, std::vector<float>& samples, std::string& error) {
    if (!session_ || frame < next_) {
        if (!Restart(error)) {
            return false;
        }
    }
    JxlDecoder* dec = session_.get();
    if (frame > next_) {
        JxlDecoderSkipFrames(dec, static_cast<size_t>(frame - next_));
    }
    const JxlPixelFormat format = OutputFormat(scan_.info);
    const QSize size = ShownSize(scan_.info);
    const size_t values = static_cast<size_t>(size.width()) * format.num_channels *
                          static_cast<size_t>(size.height());
    for (;;) {
        const JxlDecoderStatus status = JxlDecoderProcessInput(dec);
        if (status == JXL_DEC_NEED_IMAGE_OUT_BUFFER) {
            size_t needed = 0;
            if (JxlDecoderImageOutBufferSize(dec, &format, &needed) != JXL_DEC_SUCCESS ||
                needed != values * sizeof(float)) {
                error = "the JPEG XL frame does not match its header";
                return false;
            }
            samples.assign(values, 0.0f);
            if (JxlDecoderSetImageOutBuffer(dec, &format, samples.data(), needed) !=
                JXL_DEC_SUCCESS) {
                error = "the JPEG XL frame cannot be decoded";
                return false;
            }
        } else if (status == JXL_DEC_FULL_IMAGE) {
            next_ = frame + 1;
            return true;
        } else {
            error = status == JXL_DEC_SUCCESS ? "the JPEG XL frame is missing" : StatusText(status);
            return false;
        }
    }
}

QImage JxlFileDecoder::Decode(QSize, std::string& error) {
    std::vector<float> samples;
    const bool decoded = DecodeFrame(scan_.shown[static_cast<size_t>(active_)], samples, error);
    if (!decoded || active_ + 1 == static_cast<int32_t>(scan_.shown.size())) {
        // Nothing follows (or the session is unusable): give its memory back.
        session_.reset();
        bytes_ = {};
    }
    if (!decoded) {
        return {};
    }
    const JxlPixelFormat format = OutputFormat(scan_.info);
    const QSize size = ShownSize(scan_.info);
    // Out-of-range values (HDR, float images) are clamped to [0, 1].
    if (scan_.deep) {
        return DeepImage(samples, size, format.num_channels, error);
    }
    std::vector<uint8_t> pixels(samples.size());
    std::transform(samples.begin(), samples.end(), pixels.begin(), [](float v) {
        return static_cast<uint8_t>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f);
    });
    samples = {};
    InterleavedPixels view;
    view.data = pixels.data();
    view.stride = static_cast<size_t>(size.width()) * format.num_channels;
    view.width = size.width();
    view.height = size.height();
    view.channels = static_cast<int>(format.num_channels);
    return CopyInterleaved(view, error);
}

// Reads the EXIF box the decoder is positioned at; boxes it cannot hold are skipped.
class ExifBox {
  public:
    void Begin(JxlDecoder* dec) {
        uint64_t size = 0;
        if (JxlDecoderGetBoxSizeRaw(dec, &size) != JXL_DEC_SUCCESS || size > kMaxExifBytes) {
            return;
        }
        buffer_.assign(kMaxExifBytes, 0);
        active_ = JxlDecoderSetBoxBuffer(dec, buffer_.data(), buffer_.size()) == JXL_DEC_SUCCESS;
    }
    // Called at the next event after Begin.
    void End(JxlDecoder* dec, ExifFields& exif) {
        if (!active_) {
            return;
        }
        active_ = false;
        const size_t unused = JxlDecoderReleaseBoxBuffer(dec);
        if (unused <= buffer_.size() && exif.orientation == 0 && !exif.dpiX) {
            exif = ReadExifBlock(std::span<const uint8_t>(buffer_.data(), buffer_.size() - unused));
        }
        buffer_.clear();
    }

  private:
    std::vector<uint8_t> buffer_;
    bool active_ = false;
};

std::optional<Scan> ScanFile(const std::vector<uint8_t>& bytes, std::string& error) {
    const Session session = StartSession(
        bytes, JXL_DEC_BASIC_INFO | JXL_DEC_COLOR_ENCODING | JXL_DEC_FRAME | JXL_DEC_BOX);
    if (!session) {
        error = "out of memory";
        return std::nullopt;
    }
    JxlDecoder* dec = session.get();
    JxlDecoderSetDecompressBoxes(dec, JXL_TRUE);
    Scan scan;
    ExifBox exifBox;
    bool haveInfo = false;
    int32_t frames = 0;
    for (;;) {
        const JxlDecoderStatus status = JxlDecoderProcessInput(dec);
        exifBox.End(dec, scan.exif);
        if (status == JXL_DEC_BASIC_INFO) {
            if (JxlDecoderGetBasicInfo(dec, &scan.info) != JXL_DEC_SUCCESS ||
                !SourceSizeAllowed(scan.info.xsize, scan.info.ysize)) {
                error = "the image has no size or is too large";
                return std::nullopt;
            }
            haveInfo = true;
        } else if (status == JXL_DEC_COLOR_ENCODING) {
            size_t size = 0;
            if (JxlDecoderGetICCProfileSize(dec, nullptr, JXL_COLOR_PROFILE_TARGET_DATA, &size) ==
                    JXL_DEC_SUCCESS &&
                size > 0 && size <= kMaxExifBytes) {
                scan.icc.resize(size);
                if (JxlDecoderGetColorAsICCProfile(dec, nullptr, JXL_COLOR_PROFILE_TARGET_DATA,
                                                   scan.icc.data(), size) != JXL_DEC_SUCCESS) {
                    scan.icc.clear();
                }
            }
        } else if (status == JXL_DEC_BOX) {
            JxlBoxType type{};
            if (JxlDecoderGetBoxType(dec, type, JXL_TRUE) == JXL_DEC_SUCCESS &&
                std::memcmp(type, "Exif", 4) == 0) {
                exifBox.Begin(dec);
            }
        } else if (status == JXL_DEC_FRAME) {
            JxlFrameHeader header{};
            if (++frames > kMaxFrames) {
                error = "the animation has too many frames";
                return std::nullopt;
            }
            if (JxlDecoderGetFrameHeader(dec, &header) != JXL_DEC_SUCCESS) {
                error = "the JPEG XL data is corrupt";
                return std::nullopt;
            }
            if (!scan.info.have_animation ? scan.shown.empty() : header.duration > 0) {
                scan.shown.push_back(frames - 1);
            }
        } else if (status == JXL_DEC_BOX_NEED_MORE_OUTPUT) {
            continue;  // a box larger than we keep: End gives up on it at the next event
        } else if (status == JXL_DEC_SUCCESS) {
            break;
        } else {
            error = StatusText(status);
            return std::nullopt;
        }
    }
    scan.deep = scan.info.bits_per_sample > 8 && scan.info.alpha_bits == 0 &&
                !IsSrgbEquivalent(scan.icc) && DescribesRgbPixels(scan.icc);
    if (haveInfo && scan.shown.empty() && frames > 0) {
        scan.shown.push_back(frames - 1);  // an animation of layers only: its final picture
    }
    if (!haveInfo || scan.shown.empty()) {
        error = "the JPEG XL file holds no image";
        return std::nullopt;
    }
    return scan;
}

}  // namespace

std::unique_ptr<Decoder> OpenJxl(const std::filesystem::path& path, std::string& error) {
    const std::optional<std::vector<uint8_t>> bytes = ReadWhole(path, kMaxFileBytes);
    if (!bytes) {
        error = "cannot read the file";
        return nullptr;
    }
    const std::optional<Scan> scan = ScanFile(*bytes, error);
    if (!scan) {
        return nullptr;
    }
    return std::make_unique<JxlFileDecoder>(path, *scan);
}

}  // namespace vellumo::imaging
