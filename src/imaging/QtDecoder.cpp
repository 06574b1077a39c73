#include "imaging/QtDecoder.h"

#include <QImageReader>
#include <QString>
#include <cstdint>
#include <mutex>
#include <optional>

#include "base/QtText.h"
#include "imaging/BmpResolution.h"
#include "imaging/DecodeLimits.h"
#include "imaging/ReadFile.h"

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
    QImage Decode(QSize minimum, std::string& error) override;

  private:
    std::filesystem::path path_;
    QByteArray format_;
    std::string name_;
    Layout layout_;
    int32_t active_ = 0;
};

// Qt's BMP reader leaves pixels it never reaches (a cut file, RLE data that stops
// early or skips ahead) uninitialised. Given an image of the size and format it wants,
// it writes into that image instead, so a second read into a cleared one leaves those
// pixels defined (index 0 or black).
QImage ReadIntoClearedImage(const QString& file, const QByteArray& format, std::string& error) {
    QSize size;
    QImage::Format pixelFormat = QImage::Format_Invalid;
    QList<QRgb> colours;
    {
        QImageReader probe(file, format);
        const QImage first = probe.read();
        if (first.isNull()) {
            error = ErrorOf(probe, "cannot decode the image");
            return {};
        }
        size = first.size();
        pixelFormat = first.format();
        colours = first.colorTable();
    }
    QImage image(size, pixelFormat);
    if (image.isNull()) {
        error = "out of memory for the decoded image";
        return {};
    }
    image.fill(0);
    image.setColorTable(colours);
    const uchar* buffer = image.constBits();
    QImageReader reader(file, format);
    if (!reader.read(&image) || image.constBits() != buffer) {
        error = ErrorOf(reader, "cannot decode the image");
        return {};
    }
    return image;
}

QImage QtDecoder::Decode(QSize, std::string& error) {
    EnsureAllocationLimit();
    QImageReader reader(base::ToQString(path_), format_);
    reader.setAutoTransform(false);
    QImage image;
    if (layout_.dimension == FrameDimension::Time) {
        // Animation frames build on each other: read up to the one asked for.
        for (int32_t i = 0; i <= active_; ++i) {
            image = reader.read();
            if (image.isNull()) {
                break;
            }
        }
    } else if (format_ == "bmp") {
        image = ReadIntoClearedImage(base::ToQString(path_), format_, error);
        if (image.isNull()) {
            return {};
        }
    } else {
        image = reader.read();
    }
    if (image.isNull()) {
        error = ErrorOf(reader, "cannot decode the image");
        return {};
    }
    if (image.size() != layout_.size) {
        error = "the file changed since it was opened";
        return {};
    }
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
    if (format == "bmp" && layout.size.height() < 0 && layout.size.height() > INT32_MIN) {
        layout.size.setHeight(-layout.size.height());  // a top-down bitmap
    }
    if (reader.supportsAnimation() && reader.imageCount() > 1) {
        layout.dimension = FrameDimension::Time;
        layout.frameCount = reader.imageCount();
    }
    if (!layout.size.isValid() || !SourceSizeAllowed(layout.size.width(), layout.size.height())) {
        error = "the image has no size or is too large";
        return nullptr;
    }
    if (format == "bmp") {
        const std::optional<std::vector<uint8_t>> head = ReadHead(path, 64);
        if (head) {
            layout.dpiX = BmpResolution(*head).value_or(96.0);
        }
    }
    return std::make_unique<QtDecoder>(path, format, name, layout);
}

}  // namespace vellumo::imaging
