#pragma once
// The encoders this program can write with, found by MIME type.

#include <span>
#include <string>
#include <string_view>

namespace vellumo::imaging {

struct EncoderInfo {
    std::string mimeType;    // "image/bmp", "image/jpeg", "image/png", "image/tiff"
    std::string formatName;  // "BMP", "JPEG", "PNG", "TIFF"
};

// The available encoders in a fixed order (BMP, JPEG, PNG, TIFF); JPEG and PNG are
// listed only when Qt's writer for them is present.
std::span<const EncoderInfo> AvailableEncoders();

// Position in AvailableEncoders() of the first encoder whose MIME type equals `mimeType`
// exactly (case-sensitive); -1 when there is none.
int FindEncoder(std::string_view mimeType);

}  // namespace vellumo::imaging
