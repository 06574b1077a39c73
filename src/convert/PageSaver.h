#pragma once
// The save step: writes each finished page in its entry's output format, gathers TIFF
// pages into one multi-page file, keeps the run's page counter and moves the progress.

#include <memory>
#include <set>
#include <string>

#include "convert/OutputEncoders.h"
#include "convert/PreparedPage.h"
#include "convert/StagedOutputs.h"
#include "imaging/PageBitmap.h"
#include "photolist/PhotoEntry.h"
#include "ui/Toolkit.h"

namespace vellumo::convert {

class PageSaver {
  public:
    PageSaver(ui::Toolkit& toolkit, OutputEncoders& writers, StagedOutputs& outputs,
              const imaging::TiffWriteOptions& tiffOptions, int pageTotal);

    // Writes `page` to the entry's outputFilePath. True when the page reached its file;
    // otherwise "Failed to save the file!" with the reason (caption: that path) has been
    // shown, once for each reason: a full disk is told once, not once per page.
    bool Save(const imaging::PageBitmap& page, const photolist::PhotoEntry& entry);
    // Writes a JPEG photo to the entry's PDF as its file's bytes, as Save writes a page.
    bool SaveEmbedded(const EmbeddedJpeg& jpeg, const photolist::PhotoEntry& entry);

    // Finishes the multi-page file (TIFF or PDF), if one was opened; false (after the message) when
    // finishing it failed or a write to it failed. Such a file lacks pages, so it is
    // thrown away and never replaces the file at its name.
    bool Close();

    // The TIFF's existing pages come first (RunSettings::append).
    void SetAppend(bool append) { append_ = append; }

    int pageCounter() const { return pageCounter_; }
    int pagesWritten() const { return pagesWritten_; }

  private:
    bool SaveTiff(const imaging::PageBitmap& page, const std::string& path);
    // The entry's PDF, opened with its first page; null after the failure was told.
    PdfOutput* Pdf(const std::string& path);
    bool PdfWritten(bool ok, const std::string& path);
    bool ClosePdf();
    bool SaveSingle(const imaging::PageBitmap& page, const photolist::PhotoEntry& entry);
    void ReportFailure(const std::string& path, const std::string& reason);
    void CountPage();

    ui::Toolkit& toolkit_;
    OutputEncoders& writers_;
    StagedOutputs& outputs_;
    imaging::TiffWriteOptions tiffOptions_;
    int pageTotal_;
    int pageCounter_ = 0;
    int pagesWritten_ = 0;
    std::unique_ptr<TiffOutput> tiff_;
    std::string tiffPath_;
    bool append_ = false;
    std::unique_ptr<PdfOutput> pdf_;
    std::string pdfPath_;
    std::set<std::string> reported_;  // path and reason of each failure shown
};

}  // namespace vellumo::convert
