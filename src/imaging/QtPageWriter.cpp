// SaveJpeg and SavePng through Qt's image writers.

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <cstring>

#include "imaging/ExifEncoder.h"
#include "imaging/MetadataSegments.h"
#include "imaging/PageWriters.h"
#include "imaging/WriterFiles.h"

namespace vellumo::imaging {
namespace {

WriteOutcome WriteWithQt(const PageBitmap& page, const WriteTarget& target, const char* format,
                         int quality) {
    if (page.empty()) {
        return WriteOutcome{false, "The page is empty"};
    }
    // A read-only view of the page's own memory: Qt's R,G,B byte order is the page's,
    // so nothing is copied here (a writer may still convert rows as it encodes them).
    QImage view(page.data(), page.width(), page.height(), static_cast<qsizetype>(page.stride()),
                QImage::Format_RGB888);
    if (view.isNull()) {
        return WriteOutcome{false, "The page cannot be handed to the image writer"};
    }
    view.setDotsPerMeterX(DotsPerMeter(page.dpiX()));
    view.setDotsPerMeterY(DotsPerMeter(page.dpiY()));

    const std::vector<uint8_t> exif = EncodeExif(page.metadata());
    const IccProfile& icc = page.metadata().icc;
    const bool jpeg = std::strcmp(format, "jpeg") == 0;
    return WriteWholeFile(target, [&](QIODevice& file) -> std::string {
        const auto write = [&](QIODevice& into) -> std::string {
            QImageWriter writer(&into, format);
            if (quality >= 0) {
                writer.setQuality(quality);
            }
            return writer.write(view) ? std::string() : writer.errorString().toStdString();
        };
        if (exif.empty() && icc.empty()) {
            return write(file);
        }
        // The metadata goes into the encoded file's header, so it is made in memory first.
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        if (std::string why = write(buffer); !why.empty()) {
            return why;
        }
        const QByteArray whole = jpeg ? AddJpegMetadata(buffer.data(), exif, icc)
                                      : AddPngMetadata(buffer.data(), exif, icc);
        return WriteAll(file, whole.constData(), whole.size()) ? std::string()
                                                               : "the file could not be written";
    });
}

}  // namespace

WriteOutcome SaveJpeg(const PageBitmap& page, const WriteTarget& target, int quality) {
    if (quality < 1 || quality > 100) {
        return WriteOutcome{false, "JPEG quality must be 1 to 100, not " + std::to_string(quality)};
    }
    return WriteWithQt(page, target, "jpeg", quality);
}

WriteOutcome SavePng(const PageBitmap& page, const WriteTarget& target) {
    return WriteWithQt(page, target, "png", -1);
}

}  // namespace vellumo::imaging
