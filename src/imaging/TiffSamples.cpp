#include "imaging/TiffSamples.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <vector>

namespace vellumo::imaging {
namespace {

// The colour model of a page and how its samples become RGB.
enum class Model { Grey, GreyInverted, Palette, Rgb, Cmyk };

struct Layout {
    Model model = Model::Grey;
    uint16_t bits = 8;
    uint16_t samplesPerPixel = 1;
    uint16_t colourSamples = 1;  // samples that carry colour; the rest (alpha) are skipped
    bool isFloat = false;        // 32-bit IEEE samples, 0 to 1
    bool planar = false;
    bool tiled = false;
    uint32_t rowsPerStrip = 0;  // tiled pages: the tile length
    uint32_t tileWidth = 0;
    const uint16_t* palette[3] = {nullptr, nullptr, nullptr};
};

bool ReadLayout(TIFF* tif, Layout& l, std::string& error) {
    uint16_t photometric = 0, planar = PLANARCONFIG_CONTIG, format = SAMPLEFORMAT_UINT;
    l.tiled = TIFFIsTiled(tif) != 0;
    const bool shape = l.tiled
                           ? TIFFGetField(tif, TIFFTAG_TILEWIDTH, &l.tileWidth) == 1 &&
                                 TIFFGetField(tif, TIFFTAG_TILELENGTH, &l.rowsPerStrip) == 1
                           : TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &l.rowsPerStrip) == 1;
    if (!shape || TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &l.bits) != 1 ||
        TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &l.samplesPerPixel) != 1 ||
        TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric) != 1 ||
        TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar) != 1) {
        error = "incomplete TIFF page description";
        return false;
    }
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &format);
    l.isFloat = format == SAMPLEFORMAT_IEEEFP && l.bits == 32;
    if (((l.bits < 1 || l.bits > 16 || format != SAMPLEFORMAT_UINT) && !l.isFloat) ||
        l.rowsPerStrip == 0 || (l.tiled && l.tileWidth == 0)) {
        error = "unsupported TIFF sample format";
        return false;
    }
    if (l.samplesPerPixel > kMaxTiffSamplesPerPixel) {
        error = "too many samples per pixel";
        return false;
    }
    l.planar = planar == PLANARCONFIG_SEPARATE;
    switch (photometric) {
        case PHOTOMETRIC_MINISBLACK:
            l.model = Model::Grey;
            l.colourSamples = 1;
            break;
        case PHOTOMETRIC_MINISWHITE:
            l.model = Model::GreyInverted;
            l.colourSamples = 1;
            break;
        case PHOTOMETRIC_PALETTE:
            l.model = Model::Palette;
            l.colourSamples = 1;
            if (TIFFGetField(tif, TIFFTAG_COLORMAP, &l.palette[0], &l.palette[1], &l.palette[2]) !=
                1) {
                error = "palette page without a colour map";
                return false;
            }
            break;
        case PHOTOMETRIC_RGB:
            l.model = Model::Rgb;
            l.colourSamples = 3;
            break;
        case PHOTOMETRIC_SEPARATED: {
            uint16_t inks = INKSET_CMYK;
            TIFFGetFieldDefaulted(tif, TIFFTAG_INKSET, &inks);
            if (inks != INKSET_CMYK) {
                error = "unsupported ink set";
                return false;
            }
            l.model = Model::Cmyk;
            l.colourSamples = 4;
            break;
        }
        default:
            error = "unsupported TIFF colour model";
            return false;
    }
    if (l.isFloat && l.model == Model::Palette) {
        error = "unsupported TIFF sample format";
        return false;
    }
    if (l.samplesPerPixel < l.colourSamples) {
        error = "too few samples per pixel";
        return false;
    }
    return true;
}

// Float samples are clamped to 0..1 and read on this scale.
constexpr uint32_t kFloatScale = 65535;

// Sample `i` of a row of packed `bits`-bit samples, most significant bit first.
// 16-bit and float samples arrive in the machine's byte order from libtiff.
uint32_t SampleAt(const uint8_t* row, size_t i, uint16_t bits, bool isFloat) {
    if (isFloat) {
        float v;
        std::memcpy(&v, row + i * 4, 4);
        const float clamped = v > 0.0f ? std::min(v, 1.0f) : 0.0f;  // NaN gives 0
        return static_cast<uint32_t>(clamped * kFloatScale + 0.5f);
    }
    if (bits == 8) {
        return row[i];
    }
    if (bits == 16) {
        uint16_t v;
        std::memcpy(&v, row + i * 2, 2);
        return v;
    }
    const size_t bit = i * bits;
    uint32_t v = 0;
    for (uint16_t b = 0; b < bits; ++b) {
        const size_t at = bit + b;
        v = (v << 1) | ((row[at >> 3] >> (7 - (at & 7))) & 1u);
    }
    return v;
}

// Serves the rows of a page, one plane at a time, from its strips or from bands of
// tiles laid side by side; one strip or band is held at a time.
class RowSource {
  public:
    RowSource(TIFF* tif, const Layout& l, size_t rowBytes)
        : m_tif(tif), m_layout(l), m_rowBytes(rowBytes) {}

    // Checks the chunk sizes against the page and makes the buffers.
    bool Allocate(int32_t width, int32_t height, std::string& error) {
        const uint32_t rows =
            std::min<uint32_t>(m_layout.rowsPerStrip, static_cast<uint32_t>(height));
        m_chunkSize = m_layout.tiled ? TIFFTileSize(m_tif) : TIFFStripSize(m_tif);
        const size_t needed =
            m_layout.tiled ? TileRowBytes() * m_layout.rowsPerStrip : m_rowBytes * rows;
        const size_t band = m_rowBytes * m_layout.rowsPerStrip;
        if (m_chunkSize <= 0 || m_chunkSize > kMaxTiffStripBytes ||
            static_cast<size_t>(m_chunkSize) < needed ||
            (m_layout.tiled && (m_layout.tileWidth % 16 != 0 || band > kMaxTiffStripBytes))) {
            error = m_layout.tiled ? "inconsistent TIFF tile size" : "inconsistent TIFF strip size";
            return false;
        }
        m_width = static_cast<uint32_t>(width);
        m_chunk.resize(static_cast<size_t>(m_chunkSize));
        if (m_layout.tiled) {
            m_band.resize(band);
        }
        return true;
    }

    // Row `row` of plane `p` (0 for contiguous pages), or null when its data cannot be
    // decoded.
    const uint8_t* Row(uint32_t row, uint32_t p) {
        const uint32_t chunkRows = m_layout.rowsPerStrip;
        const uint32_t first = row - row % chunkRows;
        if (first != m_loadedRow || p != m_loadedPlane) {
            if (!(m_layout.tiled ? LoadBand(first, p) : LoadStrip(first, p))) {
                return nullptr;
            }
            m_loadedRow = first;
            m_loadedPlane = p;
        }
        const uint8_t* base = m_layout.tiled ? m_band.data() : m_chunk.data();
        return base + (row - first) * m_rowBytes;
    }

  private:
    // Bytes of one row of one tile; a whole number since tile widths are multiples of 16.
    size_t TileRowBytes() const {
        const size_t perRow = m_layout.planar ? 1 : m_layout.samplesPerPixel;
        return static_cast<size_t>(m_layout.tileWidth) * perRow * m_layout.bits / 8;
    }

    bool LoadStrip(uint32_t first, uint32_t p) {
        const uint32_t s = TIFFComputeStrip(m_tif, first, static_cast<uint16_t>(p));
        return TIFFReadEncodedStrip(m_tif, s, m_chunk.data(), m_chunkSize) >= 0;
    }

    bool LoadBand(uint32_t first, uint32_t p) {
        const size_t tileRow = TileRowBytes();
        for (uint32_t x = 0, offset = 0; x < m_width; x += m_layout.tileWidth) {
            const uint32_t t = TIFFComputeTile(m_tif, x, first, 0, static_cast<uint16_t>(p));
            if (TIFFReadEncodedTile(m_tif, t, m_chunk.data(), m_chunkSize) < 0) {
                return false;
            }
            // The last tile of a band reaches past the page's right edge.
            const size_t bytes = std::min(tileRow, m_rowBytes - offset);
            for (uint32_t r = 0; r < m_layout.rowsPerStrip; ++r) {
                std::memcpy(m_band.data() + r * m_rowBytes + offset, m_chunk.data() + r * tileRow,
                            bytes);
            }
            offset += static_cast<uint32_t>(tileRow);
        }
        return true;
    }

    TIFF* m_tif;
    const Layout& m_layout;
    size_t m_rowBytes;
    uint32_t m_width = 0;
    tmsize_t m_chunkSize = 0;
    std::vector<uint8_t> m_chunk;  // one strip or one tile as decoded
    std::vector<uint8_t> m_band;   // tiled pages: one band of tile rows across the page
    uint32_t m_loadedRow = UINT32_MAX;
    uint32_t m_loadedPlane = UINT32_MAX;
};

}  // namespace

QImage DecodeTiffSamples(TIFF* tif, int32_t width, int32_t height, const TiffColour& colour,
                         std::string& error) {
    Layout l;
    if (!ReadLayout(tif, l, error)) {
        return {};
    }
    const SrgbTransform* inks = l.model == Model::Cmyk ? colour.cmyk : nullptr;
    const bool deep = colour.deep && l.model != Model::Palette && l.model != Model::Cmyk;
    const uint32_t maxValue = l.isFloat ? kFloatScale : (1u << l.bits) - 1u;
    if (l.model == Model::Palette && l.bits > 16) {
        error = "palette too large";
        return {};
    }
    QImage image(width, height, deep ? QImage::Format_RGBX64 : QImage::Format_RGB888);
    if (image.isNull()) {
        error = "out of memory for the decoded page";
        return {};
    }
    std::vector<uint8_t> inkRow;  // a row of 8-bit C, M, Y, K for the profile's transform
    // Rows of one plane (planar) or of all samples (contiguous), padded to whole bytes.
    const size_t perRow = l.planar ? 1 : l.samplesPerPixel;
    const size_t rowBytes = (static_cast<size_t>(width) * perRow * l.bits + 7) / 8;
    RowSource rows(tif, l, rowBytes);
    std::vector<uint32_t> plane;  // planar: the samples of the rows in hand, all planes
    try {
        if (!rows.Allocate(width, height, error)) {
            return {};
        }
        if (l.planar) {
            plane.resize(static_cast<size_t>(width) * l.colourSamples);
        }
        if (inks != nullptr) {
            inkRow.resize(static_cast<size_t>(width) * 4);
        }
    } catch (const std::bad_alloc&) {
        error = "out of memory for the decoded page";
        return {};
    }
    auto rowOf = [&](int32_t row, uint32_t p) { return rows.Row(static_cast<uint32_t>(row), p); };

    auto scale = [&](uint32_t v) {
        return static_cast<uint8_t>((v * 255u + maxValue / 2) / maxValue);
    };
    auto scale16 = [&](uint32_t v) {
        return static_cast<uint16_t>((uint64_t{v} * 65535u + maxValue / 2) / maxValue);
    };
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* out = image.scanLine(y);
        std::array<uint32_t, 4> px{};
        const uint8_t* contiguous = nullptr;
        if (l.planar) {
            for (uint32_t p = 0; p < l.colourSamples; ++p) {
                const uint8_t* r = rowOf(y, p);
                if (r == nullptr) {
                    error = "cannot decode the TIFF page";
                    return {};
                }
                for (int32_t x = 0; x < width; ++x) {
                    plane[static_cast<size_t>(x) * l.colourSamples + p] =
                        SampleAt(r, static_cast<size_t>(x), l.bits, l.isFloat);
                }
            }
        } else {
            contiguous = rowOf(y, 0);
            if (contiguous == nullptr) {
                error = "cannot decode the TIFF page";
                return {};
            }
        }
        auto* deepOut = reinterpret_cast<uint16_t*>(out);
        for (int32_t x = 0; x < width; ++x, out += 3, deepOut += 4) {
            for (uint16_t c = 0; c < l.colourSamples; ++c) {
                px[c] = l.planar
                            ? plane[static_cast<size_t>(x) * l.colourSamples + c]
                            : SampleAt(contiguous, static_cast<size_t>(x) * l.samplesPerPixel + c,
                                       l.bits, l.isFloat);
            }
            if (deep) {
                const bool grey = l.model != Model::Rgb;
                for (size_t c = 0; c < 3; ++c) {
                    deepOut[c] = scale16(px[grey ? 0 : c]);
                    if (l.model == Model::GreyInverted) {
                        deepOut[c] = static_cast<uint16_t>(65535u - deepOut[c]);
                    }
                }
                deepOut[3] = 65535;
                continue;
            }
            if (inks != nullptr) {
                for (size_t c = 0; c < 4; ++c) {
                    inkRow[static_cast<size_t>(x) * 4 + c] = scale(px[c]);
                }
                continue;
            }
            switch (l.model) {
                case Model::Grey:
                    out[0] = out[1] = out[2] = scale(px[0]);
                    break;
                case Model::GreyInverted:
                    out[0] = out[1] = out[2] = static_cast<uint8_t>(255 - scale(px[0]));
                    break;
                case Model::Palette:
                    for (int c = 0; c < 3; ++c) {
                        out[c] = static_cast<uint8_t>(l.palette[c][px[0]] >> 8);
                    }
                    break;
                case Model::Rgb:
                    for (int c = 0; c < 3; ++c) {
                        out[c] = scale(px[static_cast<size_t>(c)]);
                    }
                    break;
                case Model::Cmyk: {
                    const unsigned k = 255u - scale(px[3]);
                    for (int c = 0; c < 3; ++c) {
                        out[c] = static_cast<uint8_t>(
                            ((255u - scale(px[static_cast<size_t>(c)])) * k + 127u) / 255u);
                    }
                    break;
                }
            }
        }
        if (inks != nullptr) {
            inks->Row(inkRow.data(), image.scanLine(y), static_cast<size_t>(width));
        }
    }
    return image;
}

}  // namespace vellumo::imaging
