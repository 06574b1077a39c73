#pragma once
// The tests' one reader of TIFF files: every directory as libtiff reads it, with its
// pixels decoded by libtiff's RGBA reader (an independent check of what we wrote).

#include <tiffio.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vellumo::test {

struct TiffPage {
    int width = 0;
    int height = 0;
    int samplesPerPixel = 0;
    int bitsPerSample = 0;
    int compression = 0;
    float xResolution = 0;
    std::vector<uint32_t> abgr;  // top-down, as libtiff's RGBA reader gives it
    uint32_t at(int x, int y) const { return abgr[static_cast<size_t>(y) * width + x]; }
    int red(int x, int y) const { return static_cast<int>(TIFFGetR(at(x, y))); }
    int green(int x, int y) const { return static_cast<int>(TIFFGetG(at(x, y))); }
    int blue(int x, int y) const { return static_cast<int>(TIFFGetB(at(x, y))); }
};

// Every page of a TIFF file; empty when libtiff cannot open it. `ok` is false when the
// file cannot be opened or a page could not be decoded.
inline std::vector<TiffPage> ReadTiffPages(const std::string& path, bool* ok = nullptr) {
    std::vector<TiffPage> pages;
    if (ok) {
        *ok = true;
    }
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif) {
        if (ok) {
            *ok = false;
        }
        return pages;
    }
    do {
        TiffPage page;
        uint32_t w = 0;
        uint32_t h = 0;
        uint16_t spp = 0;
        uint16_t bps = 0;
        uint16_t compression = 0;
        TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
        TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
        TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &spp);
        TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bps);
        TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
        TIFFGetField(tif, TIFFTAG_XRESOLUTION, &page.xResolution);
        page.width = static_cast<int>(w);
        page.height = static_cast<int>(h);
        page.samplesPerPixel = spp;
        page.bitsPerSample = bps;
        page.compression = compression;
        page.abgr.resize(static_cast<size_t>(w) * h);
        if (!TIFFReadRGBAImageOriented(tif, w, h, page.abgr.data(), ORIENTATION_TOPLEFT, 1) && ok) {
            *ok = false;
        }
        pages.push_back(std::move(page));
    } while (TIFFReadDirectory(tif));
    TIFFClose(tif);
    return pages;
}

}  // namespace vellumo::test
