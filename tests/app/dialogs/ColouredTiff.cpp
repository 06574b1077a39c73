#include "ColouredTiff.h"

#include <tiffio.h>

#include <cstdlib>

namespace vellumo::test {

bool WriteColouredTiff(const std::string& path, const std::vector<ColouredPage>& pages) {
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    if (tif == nullptr) {
        return false;
    }
    bool ok = true;
    for (const ColouredPage& page : pages) {
        ok = ok && TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, page.width) == 1 &&
             TIFFSetField(tif, TIFFTAG_IMAGELENGTH, page.height) == 1 &&
             TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3) == 1 &&
             TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8) == 1 &&
             TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB) == 1 &&
             TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) == 1 &&
             TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, page.height) == 1 &&
             TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE) == 1;
        std::vector<uint8_t> row(static_cast<size_t>(page.width) * 3);
        for (uint32_t x = 0; x < page.width; ++x) {
            row[x * 3] = static_cast<uint8_t>(qRed(page.colour));
            row[x * 3 + 1] = static_cast<uint8_t>(qGreen(page.colour));
            row[x * 3 + 2] = static_cast<uint8_t>(qBlue(page.colour));
        }
        for (uint32_t y = 0; y < page.height && ok; ++y) {
            ok = TIFFWriteScanline(tif, row.data(), y, 0) == 1;
        }
        ok = ok && TIFFWriteDirectory(tif) == 1;
    }
    TIFFClose(tif);
    return ok;
}

bool Near(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) < 8 && std::abs(qGreen(a) - qGreen(b)) < 8 &&
           std::abs(qBlue(a) - qBlue(b)) < 8;
}

}  // namespace vellumo::test
