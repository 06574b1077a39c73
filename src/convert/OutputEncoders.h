#pragma once
// The encoders the save step writes pages with. The run uses the imaging layer's
// writers (MakeImagingEncoders); tests may put others in their place to make a write
// fail at a chosen page.

#include <filesystem>
#include <memory>
#include <string>

#include "imaging/PageBitmap.h"
#include "imaging/PageWriters.h"
#include "imaging/PdfWriter.h"
#include "imaging/TiffWriteOptions.h"

namespace vellumo::convert {

// An open multi-page TIFF; every page appended is complete on disk when AppendPage
// returns true.
class TiffOutput {
  public:
    virtual ~TiffOutput() = default;
    virtual bool AppendPage(const imaging::PageBitmap& page) = 0;
    // Copies the pages of the TIFF at `path` as they are, before the pages appended next.
    virtual bool CopyPagesFrom(const std::filesystem::path& path) = 0;
    // Finishes the file; false when that failed.
    virtual bool Close() = 0;
    // Why the last call failed, in the system's words where the system refused.
    virtual std::string Error() const = 0;
    // True once a write failed: the file lacks pages it was given.
    virtual bool HasFailedWrite() const = 0;
};

// An open PDF; its pages are complete only when Close returns true.
class PdfOutput {
  public:
    virtual ~PdfOutput() = default;
    virtual bool AppendJpeg(const imaging::JpegPicture& picture) = 0;
    // Lossless when `jpegQuality` is 0, else JPEG at that quality.
    virtual bool AppendPage(const imaging::PageBitmap& page, int jpegQuality) = 0;
    virtual bool Close() = 0;
    virtual std::string Error() const = 0;
    virtual bool HasFailedWrite() const = 0;
};

class OutputEncoders {
  public:
    virtual ~OutputEncoders() = default;
    // Writes into the empty file open as `descriptor` (the caller's; `name` is for
    // messages). Nothing, with the reason in `error`, when that cannot begin.
    virtual std::unique_ptr<TiffOutput> OpenTiff(int descriptor, const std::string& name,
                                                 const imaging::TiffWriteOptions& options,
                                                 std::string& error) = 0;
    // Writes into the file at `path` (the caller's temporary; `name` is for messages).
    virtual std::unique_ptr<PdfOutput> OpenPdf(const std::filesystem::path& path,
                                               const std::string& name, std::string& error);
    virtual imaging::WriteOutcome SaveBmp24(const imaging::PageBitmap& page,
                                            const imaging::WriteTarget& target) = 0;
    virtual imaging::WriteOutcome SaveJpeg(const imaging::PageBitmap& page,
                                           const imaging::WriteTarget& target, int quality) = 0;
    virtual imaging::WriteOutcome SavePng(const imaging::PageBitmap& page,
                                          const imaging::WriteTarget& target) = 0;
};

std::unique_ptr<OutputEncoders> MakeImagingEncoders();

}  // namespace vellumo::convert
