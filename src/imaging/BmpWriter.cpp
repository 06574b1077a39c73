// SaveBmp24: our own 24-bit BMP writer (BITMAPFILEHEADER + BITMAPINFOHEADER).

#include <cstdint>
#include <limits>
#include <memory>
#include <new>

#include "imaging/PageWriters.h"
#include "imaging/WriterFiles.h"

namespace vellumo::imaging {
namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;

void PutLe16(uint8_t* p, uint32_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
}

void PutLe32(uint8_t* p, uint32_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
    p[2] = static_cast<uint8_t>(value >> 16);
    p[3] = static_cast<uint8_t>(value >> 24);
}

WriteOutcome Failed(const std::string& why) {
    return WriteOutcome{false, why};
}

}  // namespace

WriteOutcome SaveBmp24(const PageBitmap& page, const WriteTarget& target) {
    if (page.empty()) {
        return Failed("The page is empty");
    }
    const uint64_t rowBytes = (static_cast<uint64_t>(page.width()) * 3 + 3) & ~uint64_t{3};
    const uint64_t imageBytes = rowBytes * static_cast<uint64_t>(page.height());
    const uint64_t fileBytes = kFileHeaderBytes + kInfoHeaderBytes + imageBytes;
    if (fileBytes > std::numeric_limits<uint32_t>::max()) {
        return Failed("The page is too large for a BMP file");
    }

    uint8_t header[kFileHeaderBytes + kInfoHeaderBytes] = {};
    header[0] = 'B';
    header[1] = 'M';
    PutLe32(header + 2, static_cast<uint32_t>(fileBytes));
    PutLe32(header + 10, kFileHeaderBytes + kInfoHeaderBytes);
    uint8_t* info = header + kFileHeaderBytes;
    PutLe32(info, kInfoHeaderBytes);
    PutLe32(info + 4, static_cast<uint32_t>(page.width()));
    PutLe32(info + 8, static_cast<uint32_t>(page.height()));  // positive: rows bottom-up
    PutLe16(info + 12, 1);                                    // planes
    PutLe16(info + 14, 24);                                   // bits per pixel
    PutLe32(info + 16, 0);                                    // BI_RGB
    PutLe32(info + 20, static_cast<uint32_t>(imageBytes));
    PutLe32(info + 24, static_cast<uint32_t>(DotsPerMeter(page.dpiX())));
    PutLe32(info + 28, static_cast<uint32_t>(DotsPerMeter(page.dpiY())));

    std::unique_ptr<uint8_t[]> line(new (std::nothrow) uint8_t[rowBytes]());
    if (!line) {
        return Failed("Not enough memory to write the BMP file");
    }
    return WriteWholeFile(target, [&](QIODevice& file) -> std::string {
        bool written = WriteAll(file, reinterpret_cast<const char*>(header), sizeof header);
        for (int32_t y = page.height() - 1; written && y >= 0; --y) {
            const uint8_t* rgb = page.row(y);
            uint8_t* bgr = line.get();
            for (int32_t x = 0; x < page.width(); ++x, rgb += 3, bgr += 3) {
                bgr[0] = rgb[2];
                bgr[1] = rgb[1];
                bgr[2] = rgb[0];
            }
            written = WriteAll(file, reinterpret_cast<const char*>(line.get()),
                               static_cast<qint64>(rowBytes));
        }
        return written ? std::string() : file.errorString().toStdString();
    });
}

}  // namespace vellumo::imaging
