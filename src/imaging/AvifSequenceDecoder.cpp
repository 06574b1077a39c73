#include "imaging/AvifSequenceDecoder.h"

#include <avif/avif.h>

#include <QTransform>
#include <algorithm>
#include <optional>
#include <vector>

#include "imaging/DecodeLimits.h"
#include "imaging/InterleavedImage.h"
#include "imaging/ReadFile.h"

namespace vellumo::imaging {
namespace {

constexpr uint64_t kMaxFileBytes = uint64_t{1} << 30;
// A sequence longer than this is refused rather than listed frame by frame.
constexpr uint32_t kMaxFrames = 100000;

struct DecoderFree {
    void operator()(avifDecoder* d) const { avifDecoderDestroy(d); }
};
using Session = std::unique_ptr<avifDecoder, DecoderFree>;

struct RgbPixels {
    avifRGBImage rgb{};
    ~RgbPixels() { avifRGBImageFreePixels(&rgb); }
};

std::string Reason(avifResult result, const avifDecoder* decoder) {
    const std::string detail = decoder->diag.error;
    return detail.empty() ? avifResultToString(result) : detail;
}

// The container's rotation (quarter turns anticlockwise) and then its mirroring, as the
// format requires them to be shown.
QImage Transformed(QImage image, const avifImage& source) {
    if ((source.transformFlags & AVIF_TRANSFORM_IROT) != 0 && source.irot.angle % 4 != 0) {
        image = image.transformed(QTransform().rotate(-90.0 * (source.irot.angle % 4)));
    }
    if ((source.transformFlags & AVIF_TRANSFORM_IMIR) != 0) {
        const bool leftRight = source.imir.mode == 1;
        image = image.mirrored(leftRight, !leftRight);
    }
    return image;
}

class AvifSequenceDecoder final : public Decoder {
  public:
    AvifSequenceDecoder(std::vector<uint8_t> bytes, Session session)
        : bytes_(std::move(bytes)), session_(std::move(session)) {
        const avifImage& image = *session_->image;
        const bool turned =
            (image.transformFlags & AVIF_TRANSFORM_IROT) != 0 && image.irot.angle % 2 == 1;
        width_ = static_cast<int32_t>(turned ? image.height : image.width);
        height_ = static_cast<int32_t>(turned ? image.width : image.height);
    }

    std::string FormatName() const override { return "AVIF"; }
    std::vector<FrameDimensionCount> FrameDimensions() const override {
        return {{FrameDimension::Time, static_cast<uint32_t>(session_->imageCount)}};
    }
    bool SelectFrame(FrameDimension dimension, int32_t index) override {
        if (dimension != FrameDimension::Time || index < 0 || index >= session_->imageCount) {
            return false;
        }
        active_ = index;
        return true;
    }
    FrameInfo ActiveFrame() const override { return {width_, height_, 96.0}; }
    QImage Decode(QSize minimum, std::string& error) override;

  private:
    std::vector<uint8_t> bytes_;  // libavif reads them in place
    Session session_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t active_ = 0;
};

QImage AvifSequenceDecoder::Decode(QSize, std::string& error) {
    avifDecoder* decoder = session_.get();
    // Frames asked for in order decode one after the other; libavif goes back to the
    // nearest key frame only for a jump.
    const avifResult result = avifDecoderNthImage(decoder, static_cast<uint32_t>(active_));
    if (result != AVIF_RESULT_OK) {
        error = Reason(result, decoder);
        return {};
    }
    const avifImage& image = *decoder->image;
    if (!SourceSizeAllowed(image.width, image.height)) {
        error = "the image has no size or is too large";
        return {};
    }
    RgbPixels pixels;
    avifRGBImageSetDefaults(&pixels.rgb, decoder->image);
    pixels.rgb.depth = 8;
    pixels.rgb.format = decoder->alphaPresent ? AVIF_RGB_FORMAT_RGBA : AVIF_RGB_FORMAT_RGB;
    avifRGBImageAllocatePixels(&pixels.rgb);
    if (pixels.rgb.pixels == nullptr) {
        error = "out of memory";
        return {};
    }
    const avifResult converted = avifImageYUVToRGB(decoder->image, &pixels.rgb);
    if (converted != AVIF_RESULT_OK) {
        error = avifResultToString(converted);
        return {};
    }
    InterleavedPixels view;
    view.data = pixels.rgb.pixels;
    view.stride = pixels.rgb.rowBytes;
    view.width = static_cast<int32_t>(pixels.rgb.width);
    view.height = static_cast<int32_t>(pixels.rgb.height);
    view.channels = decoder->alphaPresent ? 4 : 3;
    view.premultiplied = pixels.rgb.alphaPremultiplied != AVIF_FALSE;
    QImage out = CopyInterleaved(view, error);
    if (out.isNull()) {
        return {};
    }
    out = Transformed(std::move(out), image);
    // Every frame must have the size the file announced: the page was laid out for it.
    if (out.width() != width_ || out.height() != height_) {
        error = "a frame of the sequence has another size";
        return {};
    }
    return out;
}

}  // namespace

std::unique_ptr<Decoder> OpenAvifSequence(const std::filesystem::path& path, std::string& error) {
    std::optional<std::vector<uint8_t>> bytes = ReadWhole(path, kMaxFileBytes);
    if (!bytes) {
        error = "cannot read the file";
        return nullptr;
    }
    Session session(avifDecoderCreate());
    if (!session) {
        error = "out of memory";
        return nullptr;
    }
    avifDecoder* decoder = session.get();
    decoder->maxThreads = 1;  // the run spreads its own threads over the pages
    // libavif refuses any bound above its own default.
    decoder->imageSizeLimit = static_cast<uint32_t>(
        std::min<int64_t>(kMaxSourcePixels, AVIF_DEFAULT_IMAGE_SIZE_LIMIT));
    decoder->imageCountLimit = kMaxFrames;
    decoder->ignoreXMP = AVIF_TRUE;
    avifResult result = avifDecoderSetIOMemory(decoder, bytes->data(), bytes->size());
    if (result == AVIF_RESULT_OK) {
        result = avifDecoderParse(decoder);
    }
    if (result != AVIF_RESULT_OK) {
        error = Reason(result, decoder);
        return nullptr;
    }
    if (decoder->imageCount < 1 || static_cast<uint32_t>(decoder->imageCount) > kMaxFrames ||
        !SourceSizeAllowed(decoder->image->width, decoder->image->height)) {
        error = "the image has no size or is too large";
        return nullptr;
    }
    return std::make_unique<AvifSequenceDecoder>(std::move(*bytes), std::move(session));
}

}  // namespace vellumo::imaging
