#pragma once
// Files for the tests of adding photos and of the command line: a temporary folder that
// cleans up after itself, and small real images written with libtiff and Qt.

#include <tiffio.h>
#include <unistd.h>

#include <QColor>
#include <QImage>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/TiffPages.h"

namespace vellumo::test {

class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vellumo-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~TempFolder() {
        if (!path_.empty()) {
            std::error_code ec;
            // Folders a test made unreadable must be readable again to be removed.
            for (auto it = std::filesystem::recursive_directory_iterator(
                     path_, std::filesystem::directory_options::skip_permission_denied, ec);
                 !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
                std::error_code ignored;
                if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
                    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                                 std::filesystem::perm_options::add, ignored);
                }
            }
            std::filesystem::remove_all(path_, ec);
        }
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

struct PageSpec {
    int width = 0;
    int height = 0;
    uint8_t r = 0, g = 0, b = 0;
};

// A multi-page RGB TIFF, one flat-coloured page per spec. False if libtiff refuses.
inline bool WriteMultiPageTiff(const std::string& path, const std::vector<PageSpec>& pages) {
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    if (tif == nullptr) {
        return false;
    }
    bool ok = true;
    for (const auto& page : pages) {
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(page.width));
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(page.height));
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(page.height));
        TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        std::vector<uint8_t> row(static_cast<size_t>(page.width) * 3);
        for (int x = 0; x < page.width; ++x) {
            row[x * 3] = page.r;
            row[x * 3 + 1] = page.g;
            row[x * 3 + 2] = page.b;
        }
        for (int y = 0; y < page.height && ok; ++y) {
            ok = TIFFWriteScanline(tif, row.data(), static_cast<uint32_t>(y), 0) == 1;
        }
        ok = ok && TIFFWriteDirectory(tif) == 1;
    }
    TIFFClose(tif);
    return ok;
}

// A flat-coloured image in the format the extension names (PNG, BMP, JPEG), written by Qt.
inline bool WriteImage(const std::string& path, int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image.save(QString::fromStdString(path));
}

// A file with the given bytes.
inline bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out.flush());
}

// The RGBA pixels of one TIFF directory decoded by libtiff; empty on failure.
inline std::vector<uint32_t> ReadTiffRgba(const std::string& path, int directory, uint32_t& width,
                                          uint32_t& height) {
    bool ok = false;
    std::vector<TiffPage> pages = ReadTiffPages(path, &ok);
    if (!ok || directory < 0 || static_cast<size_t>(directory) >= pages.size()) {
        return {};
    }
    TiffPage& page = pages[static_cast<size_t>(directory)];
    width = static_cast<uint32_t>(page.width);
    height = static_cast<uint32_t>(page.height);
    return std::move(page.abgr);
}

}  // namespace vellumo::test
