#include "imaging/VectorDecoder.h"

#include <QPainter>
#include <QSvgRenderer>
#include <cmath>
#include <optional>
#include <vector>

#include "imaging/DecodeLimits.h"
#include "imaging/MetafileSvg.h"
#include "imaging/ReadFile.h"

namespace vellumo::imaging {
namespace {

// Drawings are small; this only keeps a huge file from filling memory.
constexpr uint64_t kMaxFileBytes = uint64_t{256} << 20;

enum class Kind { Svg, Emf, Wmf };

const char* NameOf(Kind kind) {
    return kind == Kind::Svg ? "SVG" : kind == Kind::Emf ? "EMF" : "WMF";
}

// The file as an SVG document, and for WMF the size libwmf measures.
QByteArray SvgDocument(const std::filesystem::path& path, Kind kind, DrawingSize& wmfSize,
                       std::string& error) {
    const std::optional<std::vector<uint8_t>> bytes = ReadWhole(path, kMaxFileBytes);
    if (!bytes) {
        error = "cannot read the file";
        return {};
    }
    switch (kind) {
        case Kind::Svg:
            return QByteArray(reinterpret_cast<const char*>(bytes->data()),
                              static_cast<qsizetype>(bytes->size()));
        case Kind::Emf:
            return QByteArray::fromStdString(EmfToSvg(*bytes, error));
        case Kind::Wmf:
            return QByteArray::fromStdString(WmfToSvg(*bytes, wmfSize, error));
    }
    return {};
}

// An EMF header's picture frame (in 0.01 mm) at 96 dpi; empty when the header has none.
QSize EmfFrameSize(const std::filesystem::path& path) {
    const auto head = ReadHead(path, 40);
    if (!head || head->size() < 40) {
        return {};
    }
    auto i32 = [&](size_t at) {
        const uint32_t v = uint32_t{(*head)[at]} | (uint32_t{(*head)[at + 1]} << 8) |
                           (uint32_t{(*head)[at + 2]} << 16) | (uint32_t{(*head)[at + 3]} << 24);
        return static_cast<int64_t>(static_cast<int32_t>(v));
    };
    const int64_t width = i32(32) - i32(24);
    const int64_t height = i32(36) - i32(28);
    return QSize(static_cast<int>(std::llround(static_cast<double>(width) * 96.0 / 2540.0)),
                 static_cast<int>(std::llround(static_cast<double>(height) * 96.0 / 2540.0)));
}

class VectorDecoder final : public SingleFrameDecoder {
  public:
    VectorDecoder(std::filesystem::path path, Kind kind, QSize size)
        : path_(std::move(path)), kind_(kind), size_(size) {}

    std::string FormatName() const override { return NameOf(kind_); }
    FrameInfo ActiveFrame() const override { return {size_.width(), size_.height(), 96.0}; }
    QImage Decode(QSize minimum, std::string& error) override;

  private:
    std::filesystem::path path_;
    Kind kind_;
    QSize size_;
};

// Drawn straight at the size asked for (the page's), so nothing is scaled as pixels.
QImage VectorDecoder::Decode(QSize minimum, std::string& error) {
    const QSize target = minimum.isEmpty() ? size_ : minimum;
    if (!SourceSizeAllowed(target.width(), target.height())) {
        error = "the image has no size or is too large";
        return {};
    }
    DrawingSize unused;
    const QByteArray document = SvgDocument(path_, kind_, unused, error);
    if (document.isEmpty()) {
        return {};
    }
    QSvgRenderer renderer(document);
    if (!renderer.isValid()) {
        error = "the drawing cannot be read";
        return {};
    }
    QImage image(target, QImage::Format_RGBA8888_Premultiplied);
    if (image.isNull()) {
        error = "out of memory for the decoded image";
        return {};
    }
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, target.width(), target.height()));
    painter.end();
    return image;
}

std::unique_ptr<Decoder> Open(const std::filesystem::path& path, Kind kind, std::string& error) {
    DrawingSize wmfSize;
    const QByteArray document = SvgDocument(path, kind, wmfSize, error);
    if (document.isEmpty()) {
        if (error.empty()) {
            error = "the drawing is empty";
        }
        return nullptr;
    }
    QSvgRenderer renderer(document);
    if (!renderer.isValid()) {
        error = "the drawing cannot be read";
        return nullptr;
    }
    QSize size = renderer.defaultSize();
    if (kind == Kind::Emf && !EmfFrameSize(path).isEmpty()) {
        size = EmfFrameSize(path);
    } else if (kind == Kind::Wmf) {
        size = QSize(wmfSize.width, wmfSize.height);
    }
    if (!SourceSizeAllowed(size.width(), size.height())) {
        error = "the drawing has no size or is too large";
        return nullptr;
    }
    return std::make_unique<VectorDecoder>(path, kind, size);
}

}  // namespace

std::unique_ptr<Decoder> OpenSvg(const std::filesystem::path& path, std::string& error) {
    return Open(path, Kind::Svg, error);
}
std::unique_ptr<Decoder> OpenEmf(const std::filesystem::path& path, std::string& error) {
    return Open(path, Kind::Emf, error);
}
std::unique_ptr<Decoder> OpenWmf(const std::filesystem::path& path, std::string& error) {
    return Open(path, Kind::Wmf, error);
}

}  // namespace vellumo::imaging
