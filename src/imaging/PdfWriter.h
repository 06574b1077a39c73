#pragma once
// Writes pages into one PDF as they come, one page per picture, each page as large in
// points as its picture is at its resolution. A JPEG file may be embedded as it is (its
// bytes become the page's DCTDecode stream, nothing decoded or encoded again); other
// pages are stored losslessly with Flate and the PNG predictors, or as JPEG at a given
// quality. Only one page's data is held at a time.
//
// The object structure is small and written in order; the page tree, catalogue and
// cross-reference table follow the last page. Until Close the file is not a PDF.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "imaging/PageBitmap.h"

namespace vellumo::imaging {

// What a JPEG picture embedded as it is needs to say about itself.
struct JpegPicture {
    std::span<const uint8_t> bytes;  // the whole file: SOI to EOI
    int32_t width = 0;
    int32_t height = 0;
    int components = 3;  // 1 grey, 3 YCbCr colour
    double dpiX = 96;
    double dpiY = 96;
    std::span<const uint8_t> icc;  // the RGB colours' profile; none: device RGB
};

class PdfWriter {
  public:
    PdfWriter() = default;
    PdfWriter(const PdfWriter&) = delete;
    PdfWriter& operator=(const PdfWriter&) = delete;

    // Creates (or empties) the file at `path`; `name` is the file's name in messages.
    bool Open(const std::filesystem::path& path, const std::string& name);
    // The next page shows `picture`, its bytes embedded unchanged.
    bool AppendJpeg(const JpegPicture& picture);
    // The next page shows `page`: lossless when `jpegQuality` is 0, else JPEG at it.
    bool AppendPage(const PageBitmap& page, int jpegQuality = 0);
    // Writes the page tree, the catalogue and the cross-reference table.
    bool Close();

    bool HasFailedWrite() const { return failed_; }
    int PageCount() const { return static_cast<int>(pages_.size()); }
    const std::string& Error() const { return error_; }

  private:
    int NewObject();
    void BeginObject(int number);
    void Write(std::string_view text);
    void Write(const uint8_t* data, size_t size);
    bool CheckStream(const char* what);
    bool AddPage(int imageObject, int32_t width, int32_t height, double dpiX, double dpiY);
    bool WriteFlateImage(const PageBitmap& page, int imageObject);
    std::string RgbSpace(std::span<const uint8_t> icc);

    std::ofstream out_;
    std::string name_;
    uint64_t offset_ = 0;
    std::vector<uint64_t> objectOffsets_;           // by object number; [0] unused
    std::vector<int> pages_;                        // page object numbers
    std::map<std::vector<uint8_t>, int> profiles_;  // ICC profile streams written, by bytes
    bool failed_ = false;
    std::string error_;
};

}  // namespace vellumo::imaging
