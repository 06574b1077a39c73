#include "imaging/ImageFile.h"

#include <algorithm>

#include "imaging/Decoder.h"
#include "imaging/DecoderTable.h"
#include "imaging/PhotoMetadata.h"
#include "imaging/Resampler.h"

namespace vellumo::imaging {

ImageFile::ImageFile() = default;
ImageFile::ImageFile(ImageFile&&) noexcept = default;
ImageFile& ImageFile::operator=(ImageFile&&) noexcept = default;
ImageFile::~ImageFile() = default;

ImageFile ImageFile::Open(const std::filesystem::path& path) {
    ImageFile file;
    file.decoder_ = OpenDecoder(path, file.error_);
    file.path_ = path;
    if (file.decoder_) {
        file.error_.clear();
    } else if (file.error_.empty()) {
        file.error_ = "cannot open the image";
    }
    return file;
}

bool ImageFile::IsValid() const {
    return decoder_ != nullptr;
}

std::string ImageFile::FormatName() const {
    return decoder_ ? decoder_->FormatName() : std::string();
}

std::vector<FrameDimensionCount> ImageFile::FrameDimensions() const {
    return decoder_ ? decoder_->FrameDimensions() : std::vector<FrameDimensionCount>{};
}

bool ImageFile::SelectActiveFrame(FrameDimension dimension, int32_t index) {
    if (!decoder_) {
        return false;
    }
    if (!decoder_->SelectFrame(dimension, index)) {
        error_ = "the frame cannot be selected";
        return false;
    }
    error_.clear();
    return true;
}

int32_t ImageFile::Width() const {
    return decoder_ ? decoder_->ActiveFrame().width : 0;
}

int32_t ImageFile::Height() const {
    return decoder_ ? decoder_->ActiveFrame().height : 0;
}

double ImageFile::HorizontalResolution() const {
    return decoder_ ? decoder_->ActiveFrame().dpiX : 0.0;
}

int ImageFile::ExifOrientation() const {
    return decoder_ ? decoder_->ExifOrientation() : 0;
}

const CameraData& ImageFile::Camera(bool withGps) {
    if (!camera_ || cameraWithGps_ != withGps) {
        camera_ = ReadCameraData(path_, withGps);
        cameraWithGps_ = withGps;
    }
    return *camera_;
}

IccProfile ImageFile::ColourProfile() const {
    return decoder_ ? decoder_->ColourProfile() : IccProfile{};
}

namespace {

// Brings a decoded frame to 8 bits and, unless `profile` is empty, to sRGB, before it
// is scaled: sRGB frames (most photos) cost one cached profile lookup. A deep frame is
// converted before it is cut to 8 bits, so that a linear or wide-gamut source keeps its
// shadows free of bands. Frames with transparency are converted once drawn over the
// page colour (see DrawActiveFrame), which white keeps. False when memory runs out.
bool ToSrgb(QImage& frame, const IccProfile& profile, int threads) {
    if (frame.format() == QImage::Format_RGBX64) {
        QImage cut(frame.width(), frame.height(), QImage::Format_RGB888);
        if (cut.isNull()) {
            return false;
        }
        if (profile.empty() || !ConvertToSrgb(profile, PixelLayout::Rgbx16, frame.constBits(),
                                              static_cast<size_t>(frame.bytesPerLine()), cut.bits(),
                                              static_cast<size_t>(cut.bytesPerLine()),
                                              frame.width(), frame.height(), threads)) {
            cut = frame.convertToFormat(QImage::Format_RGB888);
        }
        frame = std::move(cut);
        return !frame.isNull();
    }
    if (!profile.empty() && frame.format() == QImage::Format_RGB888) {
        ConvertToSrgb(profile, PixelLayout::Rgb8, frame.bits(), frame.width(), frame.height(),
                      static_cast<size_t>(frame.bytesPerLine()), threads);
    }
    return true;
}

}  // namespace

bool ImageFile::DrawActiveFrame(PageBitmap& page, const Rect& destination, int threads,
                                bool keepColours) {
    if (!decoder_) {
        return false;
    }
    if (page.empty() || destination.width <= 0 || destination.height <= 0) {
        error_ = "nothing to draw into";
        return false;
    }
    std::string why;
    const IccProfile profile = keepColours ? IccProfile{} : decoder_->ColourProfile();
    // A frame that fills the whole page at its own size can be decoded onto the page:
    // no second picture of it in memory, and no copy.
    if (destination.x == 0 && destination.y == 0 && destination.width == page.width() &&
        destination.height == page.height()) {
        if (decoder_->DecodeInto(page.data(), page.stride(), QSize(page.width(), page.height()),
                                 why)) {
            if (!profile.empty()) {
                ConvertToSrgb(profile, PixelLayout::Rgb8, page.data(), page.width(),
                              page.height(), page.stride(), threads);
            }
            error_.clear();
            return true;
        }
        if (!why.empty()) {
            error_ = why;
            return false;
        }
    }
    // Only the destination's size matters to the decoder: it may decode at a reduced
    // scale that still covers it, and the resampler finishes the job.
    QImage frame = decoder_->Decode(QSize(destination.width, destination.height), why);
    if (frame.isNull()) {
        error_ = why.empty() ? "the frame cannot be decoded" : why;
        return false;
    }
    if (!ToSrgb(frame, profile, threads)) {
        error_ = "out of memory for the decoded frame";
        return false;
    }
    SourcePixels source;
    source.data = frame.constBits();
    source.width = frame.width();
    source.height = frame.height();
    source.stride = static_cast<size_t>(frame.bytesPerLine());
    source.layout = frame.format() == QImage::Format_RGB888 ? SourceLayout::Rgb
                                                            : SourceLayout::RgbaPremultiplied;
    TargetPixels target{page.data(), page.width(), page.height(), page.stride()};
    if (!DrawBicubic(source, target, destination, threads)) {
        error_ = "out of memory while scaling the frame";
        return false;
    }
    if (!profile.empty() && frame.format() != QImage::Format_RGB888) {
        const int32_t x = std::clamp(destination.x, 0, page.width());
        const int32_t y = std::clamp(destination.y, 0, page.height());
        const int32_t right = std::clamp(destination.x + destination.width, x, page.width());
        const int32_t bottom = std::clamp(destination.y + destination.height, y, page.height());
        ConvertToSrgb(profile, PixelLayout::Rgb8, page.row(y) + static_cast<size_t>(x) * 3,
                      right - x, bottom - y, page.stride(), threads);
    }
    error_.clear();
    return true;
}

QImage ImageFile::DecodeForDisplay(QSize target, bool keepColours) {
    if (!decoder_) {
        return {};
    }
    std::string why;
    QImage image = decoder_->Decode(target, why);
    error_ = image.isNull() ? why : std::string();
    if (!image.isNull() &&
        !ToSrgb(image, keepColours ? IccProfile{} : decoder_->ColourProfile(), 1)) {
        image = QImage();
        error_ = "out of memory for the decoded frame";
    }
    return image;
}

}  // namespace vellumo::imaging
