#include "convert/PageSaver.h"

#include "convert/IndexedOutput.h"
#include "convert/Messages.h"
#include "options/OutputPhotoFormat.h"
#include "options/PixelFormats.h"

namespace vellumo::convert {

PageSaver::PageSaver(ui::Toolkit& toolkit, OutputEncoders& writers, StagedOutputs& outputs,
                     const imaging::TiffWriteOptions& tiffOptions, int pageTotal)
    : toolkit_(toolkit),
      writers_(writers),
      outputs_(outputs),
      tiffOptions_(tiffOptions),
      pageTotal_(pageTotal) {}

bool PageSaver::Save(const imaging::PageBitmap& page, const photolist::PhotoEntry& entry) {
    const std::string& path = entry.outputFilePath;
    bool written = false;
    switch (entry.outputFormat.nOuptputFormat) {
        case options::kFormatTif:
            written = SaveTiff(page, path);
            CountPage();  // a failed TIFF page counts too: the run moves on past it
            break;
        case options::kFormatBmp:
            // A BMP page that was not written ends the photo without counting it.
            written = SaveSingle(page, entry);
            if (written) {
                CountPage();
            }
            break;
        case options::kFormatJpg:
        case options::kFormatPng:
            written = SaveSingle(page, entry);
            CountPage();
            break;
        default:
            // No encoder for the value: nothing is written, and the user is told so.
            ReportFailure(path);
            CountPage();
            break;
    }
    if (written) {
        ++pagesWritten_;
    }
    return written;
}

bool PageSaver::SaveTiff(const imaging::PageBitmap& page, const std::string& path) {
    if (!tiff_) {
        // The first page of the run creates the file; if that failed, later pages try again.
        const auto temporary = outputs_.TemporaryFor(path);
        if (temporary) {
            tiff_ = writers_.OpenTiff(*temporary, tiffOptions_);
        }
        if (!tiff_) {
            ReportFailure(path);
            return false;
        }
        tiffPath_ = path;
    }
    if (!tiff_->AppendPage(page)) {
        ReportFailure(path);
        return false;
    }
    outputs_.MarkWritten(tiffPath_);
    return true;
}

bool PageSaver::SaveSingle(const imaging::PageBitmap& page, const photolist::PhotoEntry& entry) {
    const std::string& path = entry.outputFilePath;
    const auto temporary = outputs_.TemporaryFor(path);
    if (!temporary) {
        ReportFailure(path);
        return false;
    }
    bool ok = false;
    const auto& record = entry.outputFormat;
    if (record.nOuptputFormat == options::kFormatBmp) {
        const auto& pixelFormat = options::PixelFormatAt(record.iComboPixelFormat);
        if (pixelFormat.indexed) {
            // The indexed path shows its own messages, the failed save among them.
            ok = WriteIndexedBmp(toolkit_, writers_, page, *temporary, path,
                                 pixelFormat.bitsPerPixel, pixelFormat.paletteSize);
            if (!ok) {
                outputs_.Discard(path);
                return false;
            }
        } else {
            // Every direct pixel format is written as the 24-bit page it is.
            ok = writers_.SaveBmp24(page, *temporary);
        }
    } else if (record.nOuptputFormat == options::kFormatJpg) {
        ok = writers_.SaveJpeg(page, *temporary, record.nCurrentJpegQuality);
    } else {
        ok = writers_.SavePng(page, *temporary);
    }
    if (!ok) {
        outputs_.Discard(path);
        ReportFailure(path);
        return false;
    }
    outputs_.MarkWritten(path);
    return true;
}

bool PageSaver::Close() {
    if (!tiff_) {
        return true;
    }
    const bool ok = tiff_->Close();
    tiff_.reset();
    if (!ok) {
        ReportFailure(tiffPath_);
    }
    return ok;
}

void PageSaver::ReportFailure(const std::string& path) {
    toolkit_.MessageBox(text::kFailedToSave, path, ui::MessageStyle::Error);
}

void PageSaver::CountPage() {
    ++pageCounter_;
    const int64_t position =
        pageTotal_ > 0 ? int64_t{pageCounter_} * 1000 / pageTotal_ : int64_t{0};
    toolkit_.ProgressChanged(static_cast<int>(position));
}

}  // namespace vellumo::convert
