#include "app/dialogs/PreviewDecode.h"

#include <filesystem>

#include "base/Utf8Path.h"
#include "imaging/ImageFile.h"

namespace vellumo::app::dialogs {

QImage DecodePreviewFrame(const std::string& path, imaging::FrameDimension dimension,
                          int32_t frameIndex, QSize target) {
    if (target.isEmpty()) {
        return {};
    }
    imaging::ImageFile file = imaging::ImageFile::Open(base::PathFromUtf8(path));
    if (!file.IsValid() || !file.SelectActiveFrame(dimension, frameIndex)) {
        return {};
    }
    const QImage decoded = file.DecodeForDisplay(target);
    if (decoded.isNull()) {
        return {};
    }
    if (decoded.size() == target) {
        return decoded;
    }
    return decoded.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace vellumo::app::dialogs
