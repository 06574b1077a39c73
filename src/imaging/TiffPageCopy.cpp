#include "imaging/TiffPageCopy.h"

#include <cstdint>
#include <vector>

namespace vellumo::imaging {
namespace {

template <typename T>
bool CopyOne(TIFF* in, TIFF* out, uint32_t tag) {
    T value{};
    return TIFFGetField(in, tag, &value) != 1 || TIFFSetField(out, tag, value) == 1;
}

bool CopyText(TIFF* in, TIFF* out, uint32_t tag) {
    const char* value = nullptr;
    return TIFFGetField(in, tag, &value) != 1 || value == nullptr ||
           TIFFSetField(out, tag, value) == 1;
}

// Counted arrays (ICC profile, JPEG tables, XMP, IPTC): count then data.
bool CopyBlock(TIFF* in, TIFF* out, uint32_t tag) {
    uint32_t count = 0;
    void* data = nullptr;
    return TIFFGetField(in, tag, &count, &data) != 1 || TIFFSetField(out, tag, count, data) == 1;
}

bool CopyPair16(TIFF* in, TIFF* out, uint32_t tag) {
    uint16_t a = 0;
    uint16_t b = 0;
    return TIFFGetField(in, tag, &a, &b) != 1 || TIFFSetField(out, tag, a, b) == 1;
}

bool CopyTags(TIFF* in, TIFF* out) {
    bool ok = CopyOne<uint32_t>(in, out, TIFFTAG_SUBFILETYPE) &&
              CopyOne<uint32_t>(in, out, TIFFTAG_IMAGEWIDTH) &&
              CopyOne<uint32_t>(in, out, TIFFTAG_IMAGELENGTH) &&
              CopyOne<uint16_t>(in, out, TIFFTAG_BITSPERSAMPLE) &&
              CopyOne<uint16_t>(in, out, TIFFTAG_SAMPLESPERPIXEL) &&
              CopyOne<uint16_t>(in, out, TIFFTAG_COMPRESSION) &&
              CopyOne<uint16_t>(in, out, TIFFTAG_PHOTOMETRIC) &&
              CopyOne<uint16_t>(in, out, TIFFTAG_FILLORDER) &&
              CopyOne<uint16_t>(in, out, TIFFTAG_ORIENTATION) &&
              CopyOne<uint16_t>(in, out, TIFFTAG_PLANARCONFIG) &&
              CopyOne<uint16_t>(in, out, TIFFTAG_SAMPLEFORMAT) &&
              CopyOne<uint16_t>(in, out, TIFFTAG_RESOLUTIONUNIT) &&
              CopyOne<float>(in, out, TIFFTAG_XRESOLUTION) &&
              CopyOne<float>(in, out, TIFFTAG_YRESOLUTION) &&
              CopyOne<uint16_t>(in, out, TIFFTAG_INKSET) &&
              CopyOne<uint16_t>(in, out, TIFFTAG_YCBCRPOSITIONING) &&
              CopyPair16(in, out, TIFFTAG_YCBCRSUBSAMPLING) &&
              CopyPair16(in, out, TIFFTAG_PAGENUMBER) && CopyText(in, out, TIFFTAG_DOCUMENTNAME) &&
              CopyText(in, out, TIFFTAG_PAGENAME) && CopyText(in, out, TIFFTAG_IMAGEDESCRIPTION) &&
              CopyText(in, out, TIFFTAG_MAKE) && CopyText(in, out, TIFFTAG_MODEL) &&
              CopyText(in, out, TIFFTAG_SOFTWARE) && CopyText(in, out, TIFFTAG_DATETIME) &&
              CopyText(in, out, TIFFTAG_ARTIST) && CopyText(in, out, TIFFTAG_COPYRIGHT) &&
              CopyBlock(in, out, TIFFTAG_ICCPROFILE) && CopyBlock(in, out, TIFFTAG_XMLPACKET) &&
              CopyBlock(in, out, TIFFTAG_JPEGTABLES);
    uint16_t predictor = 0;
    if (ok && TIFFGetField(in, TIFFTAG_PREDICTOR, &predictor) == 1) {
        ok = TIFFSetField(out, TIFFTAG_PREDICTOR, predictor) == 1;
    }
    uint16_t extraCount = 0;
    uint16_t* extra = nullptr;
    if (ok && TIFFGetField(in, TIFFTAG_EXTRASAMPLES, &extraCount, &extra) == 1) {
        ok = TIFFSetField(out, TIFFTAG_EXTRASAMPLES, extraCount, extra) == 1;
    }
    uint16_t* red = nullptr;
    uint16_t* green = nullptr;
    uint16_t* blue = nullptr;
    if (ok && TIFFGetField(in, TIFFTAG_COLORMAP, &red, &green, &blue) == 1) {
        ok = TIFFSetField(out, TIFFTAG_COLORMAP, red, green, blue) == 1;
    }
    if (ok && TIFFIsTiled(in)) {
        ok = CopyOne<uint32_t>(in, out, TIFFTAG_TILEWIDTH) &&
             CopyOne<uint32_t>(in, out, TIFFTAG_TILELENGTH);
    } else if (ok) {
        ok = CopyOne<uint32_t>(in, out, TIFFTAG_ROWSPERSTRIP);
    }
    return ok;
}

}  // namespace

bool CopyTiffDirectory(TIFF* in, uint64_t inSize, TIFF* out, std::string& error) {
    uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(in, TIFFTAG_COMPRESSION, &compression);
    // Old-style JPEG keeps its tables in offsets into the old file; they cannot move.
    if (compression == COMPRESSION_OJPEG) {
        error = "a page in old-style JPEG compression cannot be copied as it is";
        return false;
    }
    if (!CopyTags(in, out)) {
        error = "a tag of the page cannot be copied";
        return false;
    }
    const bool tiled = TIFFIsTiled(in) != 0;
    const uint32_t chunks = tiled ? TIFFNumberOfTiles(in) : TIFFNumberOfStrips(in);
    uint64_t* sizes = nullptr;
    if (TIFFGetField(in, tiled ? TIFFTAG_TILEBYTECOUNTS : TIFFTAG_STRIPBYTECOUNTS, &sizes) != 1 ||
        sizes == nullptr) {
        error = "the page has no data sizes";
        return false;
    }
    std::vector<uint8_t> buffer;
    for (uint32_t i = 0; i < chunks; ++i) {
        const uint64_t size = sizes[i];
        // The raw data is read whole: a size the file cannot hold is a lie.
        if (size > inSize || size > (uint64_t{1} << 31)) {
            error = "a strip of the page claims more data than the file holds";
            return false;
        }
        buffer.resize(static_cast<size_t>(size));
        const tmsize_t got =
            tiled ? TIFFReadRawTile(in, i, buffer.data(), static_cast<tmsize_t>(size))
                  : TIFFReadRawStrip(in, i, buffer.data(), static_cast<tmsize_t>(size));
        if (got < 0 || static_cast<uint64_t>(got) != size) {
            error = "the page's data cannot be read";
            return false;
        }
        const tmsize_t put = tiled ? TIFFWriteRawTile(out, i, buffer.data(), got)
                                   : TIFFWriteRawStrip(out, i, buffer.data(), got);
        if (put != got) {
            error = "the page's data cannot be written";
            return false;
        }
    }
    return true;
}

}  // namespace vellumo::imaging
