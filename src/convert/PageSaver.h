#pragma once
// The save step: writes each finished page in its entry's output format, gathers TIFF
// pages into one multi-page file, keeps the run's page counter and moves the progress.

#include <memory>
#include <set>
#include <string>

#include "convert/OutputEncoders.h"
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

    // Finishes the multi-page file, if one was opened; false (after the message) when
    // finishing it failed or a write to it failed. Such a file lacks pages, so it is
    // thrown away and never replaces the file at its name.
    bool Close();

    int pageCounter() const { return pageCounter_; }
    int pagesWritten() const { return pagesWritten_; }

  private:
    bool SaveTiff(const imaging::PageBitmap& page, const std::string& path);
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
    std::set<std::string> reported_;  // path and reason of each failure shown
};

}  // namespace vellumo::convert
