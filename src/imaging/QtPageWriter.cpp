// SaveJpeg and SavePng through Qt's image writers.

#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

#include "imaging/PageWriters.h"
#include "imaging/WriterFiles.h"

namespace vellumo::imaging {
namespace {

WriteOutcome WriteWithQt(const PageBitmap& page, const std::filesystem::path& path,
                         const char* format, int quality) {
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

    QSaveFile file(QtFilePath(path));
    if (!file.open(QIODevice::WriteOnly)) {
        return WriteOutcome{false, file.errorString().toStdString()};
    }
    QImageWriter writer(&file, format);
    if (quality >= 0) {
        writer.setQuality(quality);
    }
    if (!writer.write(view)) {
        const std::string why = writer.errorString().toStdString();
        file.cancelWriting();
        return WriteOutcome{false, why};
    }
    if (!file.commit()) {
        return WriteOutcome{false, file.errorString().toStdString()};
    }
    return WriteOutcome{true, {}};
}

}  // namespace

WriteOutcome SaveJpeg(const PageBitmap& page, const std::filesystem::path& path, int quality) {
    if (quality < 1 || quality > 100) {
        return WriteOutcome{false, "JPEG quality must be 1 to 100, not " + std::to_string(quality)};
    }
    return WriteWithQt(page, path, "jpeg", quality);
}

WriteOutcome SavePng(const PageBitmap& page, const std::filesystem::path& path) {
    return WriteWithQt(page, path, "png", -1);
}

}  // namespace vellumo::imaging
