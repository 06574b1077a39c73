#include "imaging/QtDecoder.h"

#include <QColorSpace>
#include <QImageReader>
#include <QString>
#include <cstdint>
#include <memory>
#include <mutex>

#include "base/QtText.h"
#include "imaging/DecodeLimits.h"

namespace vellumo::imaging {
namespace {

// Qt refuses images over 256 MB decoded by default, which a 100-megapixel photo
// exceeds; our own pixel limit is checked before Qt is asked to decode.
void EnsureAllocationLimit() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (QImageReader::allocationLimit() < kQtAllocationLimitMb) {
            QImageReader::setAllocationLimit(kQtAllocationLimitMb);
        }
    });
}

std::string ErrorOf(const QImageReader& reader, const char* fallback) {
    const QString text = reader.errorString();
    return text.isEmpty() ? std::string(fallback) : text.toStdString();
}

// What the decoder learned at open.
struct Layout {
    FrameDimension dimension = FrameDimension::Page;
    int32_t frameCount = 1;
    QSize size;
    double dpiX = 96.0;
};

class QtDecoder final : public Decoder {
  public:
    QtDecoder(std::filesystem::path path, QByteArray format, std::string name, const Layout& layout)
        : path_(std::move(path)),
          format_(std::move(format)),
          name_(std::move(name)),
          layout_(layout) {}

    std::string FormatName() const override { return name_; }
    std::vector<FrameDimensionCount> FrameDimensions() const override {
        return {{layout_.dimension, static_cast<uint32_t>(layout_.frameCount)}};
    }
    bool SelectFrame(FrameDimension dimension, int32_t index) override {
        if (dimension != layout_.dimension || index < 0 || index >= layout_.frameCount) {
            return false;
        }
        active_ = index;
        return true;
    }
    FrameInfo ActiveFrame() const override {
        return {layout_.size.width(), layout_.size.height(), layout_.dpiX};
    }
    // Known once a frame was decoded: Qt's readers hand the profile over with the pixels.
    IccProfile ColourProfile() const override { return icc_; }
    QImage Decode(QSize minimum, std::string& error) override;

  private:
    std::filesystem::path path_;
    IccProfile icc_;
    QByteArray format_;
    std::string name_;
    Layout layout_;
    int32_t active_ = 0;
    // Animations: the reader stays open at the frame read last, since each frame builds
    // on the one before and reading from the start for each would cost O(N^2).
    std::unique_ptr<QImageReader> reader_;
    int32_t read_ = -1;
    QImage frame_;
};

QImage QtDecoder::Decode(QSize, std::string& error) {
    EnsureAllocationLimit();
    if (!reader_ || layout_.dimension != FrameDimension::Time || read_ > active_) {
        reader_ = std::make_unique<QImageReader>(base::ToQString(path_), format_);
        reader_->setAutoTransform(false);
        read_ = -1;
        frame_ = QImage();
    }
    while (read_ < active_) {
        frame_ = reader_->read();
        if (frame_.isNull()) {
            error = ErrorOf(*reader_, "cannot decode the image");
            reader_.reset();
            return {};
        }
        ++read_;
    }
    QImage image = frame_;
    if (layout_.dimension != FrameDimension::Time) {
        reader_.reset();  // a single image is read once: nothing to keep open
        frame_ = QImage();
    }
    if (image.size() != layout_.size) {
        error = "the file changed since it was opened";
        return {};
    }
    const QByteArray icc =
        image.colorSpace().isValid() ? image.colorSpace().iccProfile() : QByteArray();
    icc_.assign(icc.begin(), icc.end());
    image.convertTo(image.hasAlphaChannel() ? QImage::Format_RGBA8888_Premultiplied
                                            : QImage::Format_RGB888);
    if (image.isNull()) {
        error = "out of memory for the decoded image";
        return {};
    }
    return image;
}

}  // namespace

std::unique_ptr<Decoder> OpenWithQt(const std::filesystem::path& path, const char* qtFormat,
                                    const char* name, std::string& error) {
    EnsureAllocationLimit();
    const QByteArray format(qtFormat);
    QImageReader reader(base::ToQString(path), format);
    reader.setAutoTransform(false);
    if (!reader.canRead()) {
        error = ErrorOf(reader, "not a readable image");
        return nullptr;
    }
    Layout layout;
    layout.size = reader.size();
    if (reader.supportsAnimation() && reader.imageCount() > 1) {
        layout.dimension = FrameDimension::Time;
        layout.frameCount = reader.imageCount();
    }
    if (!layout.size.isValid() || !SourceSizeAllowed(layout.size.width(), layout.size.height())) {
        error = "the image has no size or is too large";
        return nullptr;
    }
    return std::make_unique<QtDecoder>(path, format, name, layout);
}

}  // namespace vellumo::imaging
