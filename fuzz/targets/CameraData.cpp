// Arbitrary bytes as a photo's metadata: read with exiv2 into camera data, summarised,
// encoded again as EXIF for a JPEG and a PNG page, and written into a TIFF page with
// its EXIF and GPS directories. Whatever the photo claims, nothing may crash, and the
// pages written must be readable.
#include <unistd.h>
#include <QBuffer>
#include <QImage>

#include <cstdio>
#include <filesystem>

#include "DecoderFuzz.h"
#include "imaging/ExifEncoder.h"
#include "imaging/MetadataSegments.h"
#include "imaging/MultiPageTiffWriter.h"
#include "imaging/PhotoMetadata.h"

namespace {

QByteArray Encoded(const char* format) {
    QImage pixel(1, 1, QImage::Format_RGB888);
    pixel.fill(Qt::white);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    pixel.save(&buffer, format);
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    vellumo::fuzz::InitQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vellumo::imaging;
    using vellumo::fuzz::Check;
    static const QByteArray jpeg = Encoded("JPEG");
    static const QByteArray png = Encoded("PNG");
    static const std::string page = vellumo::fuzz::InputPath() + ".tif";

    std::FILE* f = std::fopen(vellumo::fuzz::InputPath().c_str(), "wb");
    Check(f != nullptr && std::fwrite(data, 1, size, f) == size);
    Check(std::fclose(f) == 0);
    const CameraData camera = ReadCameraData(vellumo::fuzz::InputPath(), true);
    (void)CameraSummary(camera);

    PageMetadata metadata;
    metadata.pageName = "photo.jpg";
    metadata.pageNumber = 0;
    metadata.pageTotal = 1;
    metadata.camera = camera;
    const std::vector<uint8_t> exif = EncodeExif(metadata);
    Check(AddJpegMetadata(jpeg, exif, {}).size() >= jpeg.size());
    Check(AddPngMetadata(png, exif, {}).size() >= png.size());

    auto bitmap = PageBitmap::Create(1, 1);
    Check(bitmap.has_value());
    bitmap->metadata() = metadata;
    MultiPageTiffWriter writer;
    Check(writer.Open(page));
    Check(writer.AppendPage(*bitmap));
    Check(writer.Close());
    // What the page carries is read back as the photo's was.
    (void)ReadCameraData(page, true);
    ::unlink(page.c_str());
    return 0;
}
