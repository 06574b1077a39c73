#pragma once
// The encoders the save step writes pages with. The run uses the imaging layer's
// writers (MakeImagingEncoders); tests may put others in their place to make a write
// fail at a chosen page.

#include <filesystem>
#include <memory>

#include "imaging/PageBitmap.h"
#include "imaging/TiffWriteOptions.h"

namespace vellumo::convert {

// An open multi-page TIFF; every page appended is complete on disk when AppendPage
// returns true.
class TiffOutput {
  public:
    virtual ~TiffOutput() = default;
    virtual bool AppendPage(const imaging::PageBitmap& page) = 0;
    // Finishes the file; false when that failed.
    virtual bool Close() = 0;
};

class OutputEncoders {
  public:
    virtual ~OutputEncoders() = default;
    // Nothing when the file cannot be created.
    virtual std::unique_ptr<TiffOutput> OpenTiff(const std::filesystem::path& path,
                                                 const imaging::TiffWriteOptions& options) = 0;
    virtual bool SaveBmp24(const imaging::PageBitmap& page, const std::filesystem::path& path) = 0;
    virtual bool SaveJpeg(const imaging::PageBitmap& page, const std::filesystem::path& path,
                          int quality) = 0;
    virtual bool SavePng(const imaging::PageBitmap& page, const std::filesystem::path& path) = 0;
};

std::unique_ptr<OutputEncoders> MakeImagingEncoders();

}  // namespace vellumo::convert
