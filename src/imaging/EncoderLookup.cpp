#include "imaging/EncoderLookup.h"

#include <QByteArray>
#include <QImageWriter>
#include <QList>
#include <vector>

namespace vellumo::imaging {
namespace {

std::vector<EncoderInfo> ListEncoders() {
    // BMP and TIFF are written by our own code; JPEG and PNG by Qt's image plugins,
    // which an installation may lack.
    const QList<QByteArray> qtTypes = QImageWriter::supportedMimeTypes();
    std::vector<EncoderInfo> encoders;
    encoders.push_back({"image/bmp", "BMP"});
    if (qtTypes.contains("image/jpeg")) {
        encoders.push_back({"image/jpeg", "JPEG"});
    }
    if (qtTypes.contains("image/png")) {
        encoders.push_back({"image/png", "PNG"});
    }
    encoders.push_back({"image/tiff", "TIFF"});
    return encoders;
}

}  // namespace

std::span<const EncoderInfo> AvailableEncoders() {
    static const std::vector<EncoderInfo> encoders = ListEncoders();
    return encoders;
}

int FindEncoder(std::string_view mimeType) {
    const std::span<const EncoderInfo> encoders = AvailableEncoders();
    for (size_t i = 0; i < encoders.size(); ++i) {
        if (encoders[i].mimeType == mimeType) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace vellumo::imaging
