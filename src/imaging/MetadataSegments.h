#pragma once
// Adds an EXIF block and an ICC profile to an encoded JPEG or PNG file: the JPEG gets an
// APP1 "Exif" segment and APP2 "ICC_PROFILE" segments after its JFIF header, the PNG an
// iCCP and an eXIf chunk after IHDR. Bytes that are not such a file come back unchanged.

#include <QByteArray>
#include <cstdint>
#include <span>

namespace vellumo::imaging {

QByteArray AddJpegMetadata(const QByteArray& jpeg, std::span<const uint8_t> exif,
                           std::span<const uint8_t> icc);
QByteArray AddPngMetadata(const QByteArray& png, std::span<const uint8_t> exif,
                          std::span<const uint8_t> icc);

}  // namespace vellumo::imaging
