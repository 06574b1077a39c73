#pragma once
// Shared by the writer tests: pages with known content, a scratch folder, and a strict
// libtiff reader that fails on any error or warning while reading a file back.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "imaging/PageBitmap.h"

namespace vellumo::imaging::testing {

// A folder of its own under the system's temporary folder, removed at the end.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path File(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// Page content with different compression behaviour.
PageBitmap NoisePage(int32_t width, int32_t height, uint32_t seed);
PageBitmap FlatPage(int32_t width, int32_t height, Rgb colour);
PageBitmap GradientPage(int32_t width, int32_t height);
// A camera photo from the test corpora decoded by Qt, or nullopt when not available.
std::optional<PageBitmap> PhotoPage(const std::string& relativePath);

// One directory of a TIFF file as libtiff reads it.
struct TiffPageInfo {
    uint32_t width = 0, height = 0;
    uint16_t bitsPerSample = 0, samplesPerPixel = 0, photometric = 0, planar = 0;
    uint16_t compression = 0, predictor = 1, resolutionUnit = 0;
    uint32_t subfileType = 0, rowsPerStrip = 0, strips = 0;
    uint16_t pageNumber = 0, pageTotal = 0;
    float xResolution = 0, yResolution = 0;
    std::vector<uint8_t> rgb;  // width * height * 3, rows top-down
};

struct TiffReadResult {
    std::vector<TiffPageInfo> pages;
    std::string problems;  // every libtiff error and warning met while reading
};

// Reads every directory and its pixels (strip by strip, so each strip is decoded by
// libtiff's own decoder; JPEG pages through libtiff's RGBA interface).
TiffReadResult ReadTiff(const std::filesystem::path& path);

// Reads every page with Qt's TIFF reader as 24-bit RGB pages; empty on failure.
std::vector<PageBitmap> ReadTiffWithQt(const std::filesystem::path& path);

// Largest difference of any sample between `page` and `rgb` (same size assumed).
int MaxSampleDifference(const PageBitmap& page, const std::vector<uint8_t>& rgb);
int MaxSampleDifference(const PageBitmap& a, const PageBitmap& b);
double MeanSampleDifference(const PageBitmap& page, const std::vector<uint8_t>& rgb);

std::vector<uint8_t> FileBytes(const std::filesystem::path& path);

}  // namespace vellumo::imaging::testing
