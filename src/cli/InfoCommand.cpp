#include "cli/InfoCommand.h"

#include "cli/PrintableName.h"

#include <QCryptographicHash>
#include <QString>
#include <cinttypes>
#include <filesystem>

#include "imaging/ImageFile.h"
#include "imaging/PhotoMetadata.h"
#include "imaging/Rect.h"

namespace vellumo::cli {
namespace {

const char* DimensionName(imaging::FrameDimension dimension) {
    switch (dimension) {
        case imaging::FrameDimension::Page:
            return "page";
        case imaging::FrameDimension::Time:
            return "time";
        case imaging::FrameDimension::Resolution:
            return "resolution";
        case imaging::FrameDimension::None:
            break;
    }
    return "none";
}

// One frame's line; false when the frame could not be selected or decoded.
bool PrintFrame(imaging::ImageFile& image, imaging::FrameDimension dimension, uint32_t index,
                std::FILE* out) {
    std::fprintf(out, "  %s %" PRIu32 ": ", DimensionName(dimension), index);
    if (!image.SelectActiveFrame(dimension, static_cast<int32_t>(index))) {
        std::fprintf(out, "cannot be selected\n");
        return false;
    }
    const int32_t width = image.Width();
    const int32_t height = image.Height();
    std::fprintf(out, "%" PRId32 "x%" PRId32 ", %.2f dpi, ", width, height,
                 image.HorizontalResolution());
    auto page = imaging::PageBitmap::Create(width, height, imaging::kWhite);
    if (!page) {
        std::fprintf(out, "too large to decode\n");
        return false;
    }
    if (!image.DrawActiveFrame(*page, imaging::Rect{0, 0, width, height})) {
        std::fprintf(out, "cannot be decoded: %s\n", image.Error().c_str());
        return false;
    }
    std::fprintf(out, "sha256 %s\n", PagePixelHash(*page).c_str());
    // Known once the frame is decoded: some formats give the profile with the pixels.
    const imaging::IccProfile profile = image.ColourProfile();
    std::fprintf(out, "    colour: %s\n",
                 profile.empty() ? "none" : imaging::ProfileDescription(profile).c_str());
    return true;
}

bool PrintFile(const std::string& path, std::FILE* out, std::FILE* err) {
    imaging::ImageFile image = imaging::ImageFile::Open(std::filesystem::path(path));
    if (!image.IsValid()) {
        std::fprintf(err, "vellumo-cli: %s: %s\n", Printable(path).c_str(),
                     image.Error().empty() ? "not a readable image" : image.Error().c_str());
        return false;
    }
    std::fprintf(out, "%s: %s\n", Printable(path).c_str(), image.FormatName().c_str());
    if (const int orientation = image.ExifOrientation(); orientation != 0) {
        std::fprintf(out, "  exif orientation %d\n", orientation);
    }
    const imaging::CameraData camera = imaging::ReadCameraData(std::filesystem::path(path), true);
    if (const std::string summary = imaging::CameraSummary(camera); !summary.empty()) {
        std::fprintf(out, "  camera: %s\n", Printable(summary).c_str());
    }
    if (!camera.gps.empty()) {
        std::fprintf(out, "  gps: present (left out of pages unless --keep-gps)\n");
    }
    bool ok = true;
    const auto dimensions = image.FrameDimensions();
    for (const auto& d : dimensions) {
        std::fprintf(out, "  dimension %s: %" PRIu32 " frame%s\n", DimensionName(d.dimension),
                     d.count, d.count == 1 ? "" : "s");
    }
    for (const auto& d : dimensions) {
        for (uint32_t i = 0; i < d.count; ++i) {
            ok = PrintFrame(image, d.dimension, i, out) && ok;
        }
    }
    return ok;
}

}  // namespace

std::string PagePixelHash(const imaging::PageBitmap& page) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (int32_t y = 0; y < page.height(); ++y) {
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(page.row(y)),
                                    static_cast<qsizetype>(page.stride())));
    }
    return hash.result().toHex().toStdString();
}

int RunInfo(const std::vector<std::string>& files, std::FILE* out, std::FILE* err) {
    bool ok = true;
    for (const auto& file : files) {
        ok = PrintFile(file, out, err) && ok;
    }
    std::fflush(out);
    return ok ? 0 : 1;
}

}  // namespace vellumo::cli
