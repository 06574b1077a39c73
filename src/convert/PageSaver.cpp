#include "convert/PageSaver.h"

#include <cerrno>
#include <system_error>

#include "base/Utf8Path.h"
#include "convert/IndexedOutput.h"
#include "convert/Messages.h"
#include "options/OutputPhotoFormat.h"
#include "options/PixelFormats.h"

namespace vellumo::convert {

namespace {

// The writer's message ends with the system's reason after the last ": "; the path
// before it is the temporary's, which means nothing to the user.
std::string SystemPart(const std::string& error) {
    const size_t cut = error.rfind(": ");
    return cut == std::string::npos ? error : error.substr(cut + 2);
}

}  // namespace

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
        case options::kFormatPdf: {
            const bool jpeg = tiffOptions_.compression == imaging::TiffCompression::Jpeg;
            PdfOutput* pdf = Pdf(path);
            written = pdf != nullptr &&
                      PdfWritten(pdf->AppendPage(page, jpeg ? tiffOptions_.jpegQuality : 0), path);
            CountPage();
            break;
        }
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
            ReportFailure(path, {});
            CountPage();
            break;
    }
    if (written) {
        ++pagesWritten_;
    }
    return written;
}

bool PageSaver::SaveEmbedded(const EmbeddedJpeg& jpeg, const photolist::PhotoEntry& entry) {
    const std::string& path = entry.outputFilePath;
    PdfOutput* pdf = Pdf(path);
    imaging::JpegPicture picture;
    picture.bytes = jpeg.bytes;
    picture.width = jpeg.width;
    picture.height = jpeg.height;
    picture.components = jpeg.components;
    picture.dpiX = jpeg.dpi;
    picture.dpiY = jpeg.dpi;
    picture.icc = jpeg.icc;
    const bool written = pdf != nullptr && PdfWritten(pdf->AppendJpeg(picture), path);
    CountPage();
    if (written) {
        ++pagesWritten_;
    }
    return written;
}

PdfOutput* PageSaver::Pdf(const std::string& path) {
    if (!pdf_) {
        std::string error;
        TemporaryFile* temporary = outputs_.TemporaryFor(path, &error);
        if (temporary != nullptr) {
            pdf_ = writers_.OpenPdf(temporary->AccessPath(), path, error);
        }
        if (!pdf_) {
            outputs_.Discard(path);
            ReportFailure(path, SystemPart(error));
            return nullptr;
        }
        pdfPath_ = path;
    }
    return pdf_->HasFailedWrite() ? nullptr : pdf_.get();
}

bool PageSaver::PdfWritten(bool ok, const std::string& path) {
    if (!ok) {
        ReportFailure(path, pdf_->HasFailedWrite() ? SystemPart(pdf_->Error()) : pdf_->Error());
        return false;
    }
    outputs_.MarkWritten(pdfPath_);
    return true;
}

bool PageSaver::ClosePdf() {
    if (!pdf_) {
        return true;
    }
    const bool closed = pdf_->Close();
    if (!closed) {
        ReportFailure(pdfPath_, SystemPart(pdf_->Error()));
        outputs_.Discard(pdfPath_);
    }
    pdf_.reset();
    return closed;
}

bool PageSaver::SaveTiff(const imaging::PageBitmap& page, const std::string& path) {
    if (!tiff_) {
        // The first page of the run creates the file; if that failed, later pages try again.
        std::string error;
        TemporaryFile* temporary = outputs_.TemporaryFor(path, &error);
        if (temporary != nullptr) {
            tiff_ = writers_.OpenTiff(temporary->descriptor(), path, tiffOptions_, error);
        }
        if (!tiff_) {
            outputs_.Discard(path);
            ReportFailure(path, error);
            return false;
        }
        // The album's own pages first; if they cannot be copied, nothing replaces it.
        const std::filesystem::path existing = base::PathFromUtf8(path);
        if (append_ && FileExists(existing) && !tiff_->CopyPagesFrom(existing)) {
            tiffPath_ = path;
            ReportFailure(path, tiff_->Error());
            return false;
        }
        tiffPath_ = path;
    }
    if (tiff_->HasFailedWrite()) {
        return false;  // told once, when the write failed
    }
    if (!tiff_->AppendPage(page)) {
        ReportFailure(path, tiff_->HasFailedWrite() ? SystemPart(tiff_->Error()) : tiff_->Error());
        return false;
    }
    outputs_.MarkWritten(tiffPath_);
    return true;
}

bool PageSaver::SaveSingle(const imaging::PageBitmap& page, const photolist::PhotoEntry& entry) {
    const std::string& path = entry.outputFilePath;
    std::string error;
    TemporaryFile* temporary = outputs_.TemporaryFor(path, &error);
    if (temporary == nullptr) {
        ReportFailure(path, error);
        return false;
    }
    if (!temporary->Empty()) {
        outputs_.Discard(path);
        ReportFailure(path, std::generic_category().message(errno));
        return false;
    }
    imaging::WriteOutcome outcome;
    const auto& record = entry.outputFormat;
    const imaging::WriteTarget target(temporary->descriptor());
    if (record.nOuptputFormat == options::kFormatBmp) {
        const auto& pixelFormat = options::PixelFormatAt(record.iComboPixelFormat);
        if (pixelFormat.indexed) {
            // The indexed path shows its own messages, the failed save among them.
            const std::filesystem::path folder = base::PathFromUtf8(path).parent_path();
            if (!WriteIndexedBmp(toolkit_, writers_, page, temporary->AccessPath(),
                                 folder.empty() ? std::filesystem::path(".") : folder, path,
                                 pixelFormat.bitsPerPixel, pixelFormat.paletteSize)) {
                outputs_.Discard(path);
                return false;
            }
            outcome.ok = true;
        } else {
            // Every direct pixel format is written as the 24-bit page it is.
            outcome = writers_.SaveBmp24(page, target);
        }
    } else if (record.nOuptputFormat == options::kFormatJpg) {
        outcome = writers_.SaveJpeg(page, target, record.nCurrentJpegQuality);
    } else {
        outcome = writers_.SavePng(page, target);
    }
    if (!outcome.ok) {
        outputs_.Discard(path);
        ReportFailure(path, outcome.error);
        return false;
    }
    outputs_.MarkWritten(path);
    return true;
}

bool PageSaver::Close() {
    // A PDF is not a PDF until its end is written: it is finished even after a stop.
    if (!ClosePdf()) {
        return false;
    }
    if (!tiff_) {
        return true;
    }
    const bool failedWrite = tiff_->HasFailedWrite();
    const bool closed = tiff_->Close();
    if (!closed) {
        ReportFailure(tiffPath_, SystemPart(tiff_->Error()));
    }
    tiff_.reset();
    if (failedWrite || !closed) {
        outputs_.Discard(tiffPath_);
        return false;
    }
    return true;
}

void PageSaver::ReportFailure(const std::string& path, const std::string& reason) {
    if (!reported_.insert(path + '\n' + reason).second) {
        return;
    }
    std::string message(text::TrUtf8(text::kFailedToSave));
    if (!reason.empty()) {
        message += " (" + reason + ")";
    }
    toolkit_.MessageBox(message, path, ui::MessageStyle::Error);
    toolkit_.Problem(path, reason.empty() ? "the file cannot be saved" : reason);
}

void PageSaver::CountPage() {
    ++pageCounter_;
    const int64_t position =
        pageTotal_ > 0 ? int64_t{pageCounter_} * 1000 / pageTotal_ : int64_t{0};
    toolkit_.ProgressChanged(static_cast<int>(position));
}

}  // namespace vellumo::convert
