#include "convert/RunWorker.h"

#include <QDateTime>
#include <algorithm>
#include <exception>
#include <string>
#include <thread>

#include "base/Utf8Path.h"
#include "convert/CaptionPosition.h"
#include "convert/Messages.h"
#include "convert/OrderedPrefetch.h"
#include "convert/OutputNaming.h"
#include "convert/PageMemory.h"
#include "convert/PagePreparation.h"
#include "convert/PageSaver.h"
#include "convert/PlatformFiles.h"
#include "convert/StagedOutputs.h"
#include "convert/ToolkitLogSink.h"
#include "imaging/Caption.h"
#include "shell/ActivityLog.h"

namespace vellumo::convert {

namespace {

void ShowPending(ui::Toolkit& toolkit, const std::vector<PendingMessage>& messages) {
    for (const auto& m : messages) {
        toolkit.MessageBox(m.text, m.caption, ui::MessageStyle::Error);
    }
}

class Run {
  public:
    Run(ui::Toolkit& toolkit, OutputEncoders& writers, photolist::PhotoList& snapshot,
        const RunSettings& settings, const std::atomic<bool>& stop)
        : toolkit_(toolkit),
          writers_(writers),
          snapshot_(snapshot),
          settings_(settings),
          caption_(settings.caption),
          threads_(RunThreads(settings.threads)),
          stop_(stop),
          logSink_(toolkit),
          log_(logSink_, settings.logFilePath.empty() ? std::filesystem::path()
                                                      : base::PathFromUtf8(settings.logFilePath)) {}

    ui::RunSummary Execute() {
        toolkit_.ProgressChanged(0);

        const int total = static_cast<int>(snapshot_.size());
        summary_.pageTotal = total;
        for (int i = 0; i < total; ++i) {
            snapshot_[static_cast<size_t>(i)].outputFilePath = OutputPathForEntry(
                settings_.outputFilePath,
                snapshot_[static_cast<size_t>(i)].outputFormat.nOuptputFormat, i, total);
        }

        // A folder that takes no new file gets one message, not one per page.
        std::string error;
        if (total > 0 && outputs_.TemporaryFor(snapshot_[0].outputFilePath, &error) == nullptr) {
            toolkit_.MessageBox(text::TrUtf8(text::kFailedToSave) + " (" + error + ")",
                                snapshot_[0].outputFilePath, ui::MessageStyle::Error);
            toolkit_.Problem(snapshot_[0].outputFilePath, error);
            summary_.outputFailed = true;
            summary_.photosFailed = total;
        } else {
            ConvertAll(total);
        }

        ReleaseRunMemory();
        toolkit_.ProgressChanged(999);
        return summary_;
    }

  private:
    void ConvertAll(int total) {
        // Scaling a large page may take the whole budget: decoding, the part before it,
        // runs on one thread, and the page being written leaves the cores mostly idle.
        const int helpers = PrefetchHelpersFor(threads_);
        imaging::TiffWriteOptions tiffOptions = settings_.tiff;
        tiffOptions.threads = threads_;
        // A progressive JPEG of 15 megapixels takes longer to decode than the page before
        // it to compress; the compressors then only slowed the decoding the writer waits
        // for. Measured on 33 photos: 4% faster, CPU/wall 1.67 to 1.74.
        tiffOptions.busyElsewhere = helpers > 0 ? &pagesBeingMade_ : nullptr;
        PageSaver saver(toolkit_, writers_, outputs_, tiffOptions, total);
        saver.SetAppend(settings_.append);

        const bool withCaption = !caption_.text.empty();
        OpenImageFiles files(static_cast<size_t>(helpers) + 1);
        const PreparationOptions preparation{
            settings_.autoOrient, !withCaption, threads_, &files, !withCaption, settings_.metadata};
        // One page ahead per helper: one more kept 60 MB more of an album of 20-megapixel
        // photos in memory and did not make the run faster (the writer seldom waits).
        OrderedPrefetch<PreparedPage> pages(
            static_cast<size_t>(total),
            [&](size_t i) {
                pagesBeingMade_.fetch_add(1, std::memory_order_relaxed);
                PreparedPage page = PreparePage(snapshot_[i], preparation);
                pagesBeingMade_.fetch_sub(1, std::memory_order_relaxed);
                return page;
            },
            helpers,
            static_cast<size_t>(std::max(helpers, 1)));

        int handled = 0;
        for (int i = 0; i < total; ++i) {
            if (stop_.load()) {
                summary_.stopped = true;
                break;
            }
            const auto& entry = snapshot_[static_cast<size_t>(i)];
            toolkit_.PageStarted(i, total, entry.path);
            std::optional<PreparedPage> prepared = pages.Next();
            ++handled;
            if (!prepared) {
                break;
            }
            ShowPending(toolkit_, prepared->messages);
            if (prepared->jpeg) {
                saver.SaveEmbedded(*prepared->jpeg, entry);
                continue;
            }
            if (!prepared->page) {
                toolkit_.Problem(entry.path, prepared->failure);
                continue;
            }
            imaging::PageBitmap& page = *prepared->page;
            if (withCaption) {
                DrawCaptionOn(page, entry);
            }
            if (!prepared->rotated) {
                std::vector<PendingMessage> messages;
                ApplyEntryRotation(page, entry.outputFormat, messages);
                ShowPending(toolkit_, messages);
            }
            Stamp(page.metadata(), i, total);
            saver.Save(page, entry);
        }
        pages.Cancel();
        files.CloseAll();

        // A file that failed to close or lost a write is thrown away by Close, so the file
        // at its name stays as it was.
        bool complete = saver.Close();
        // Appending is all or nothing: a stopped run leaves the album as it was.
        if (settings_.append && summary_.stopped && total > 0) {
            outputs_.Discard(snapshot_[0].outputFilePath);
            complete = false;
        }
        const StagedOutputs::CommitResult placed = outputs_.Commit();
        for (const auto& failure : placed.failed) {
            std::string message = text::TrUtf8(text::kFailedToSave) + " (" + failure.reason + ")";
            if (!failure.keptAs.empty()) {
                message += "; the new file is kept as " + failure.keptAs;
            }
            toolkit_.MessageBox(message, failure.finalPath, ui::MessageStyle::Error);
            toolkit_.Problem(failure.finalPath, failure.reason);
        }
        summary_.outputFiles = placed.placed;
        summary_.outputFailed = !complete || !placed.failed.empty();
        summary_.pagesWritten = saver.pagesWritten();
        summary_.photosFailed = handled - saver.pagesWritten();
    }

    // The page's place in the album, and who wrote it when.
    void Stamp(imaging::PageMetadata& metadata, int index, int total) const {
        metadata.pageNumber = index;
        metadata.pageTotal = total;
        if (!settings_.metadata.strip) {
            metadata.software = std::string("Vellumo ") + VELLUMO_VERSION;
            metadata.dateTime =
                QDateTime::currentDateTime().toString("yyyy:MM:dd HH:mm:ss").toStdString();
        }
    }

    void DrawCaptionOn(imaging::PageBitmap& page, const photolist::PhotoEntry& entry) {
        const CaptionPoint at =
            PlaceCaption(toolkit_, log_, caption_, entry.path, page.width(), page.height());
        // Like the other drawing steps before it, a caption that cannot be drawn is not
        // a reason to lose the page.
        imaging::DrawCaption(page, at.x, at.y, caption_.text, caption_.font, caption_.color);
    }

    ui::Toolkit& toolkit_;
    OutputEncoders& writers_;
    photolist::PhotoList& snapshot_;
    const RunSettings& settings_;
    // The caption's position may be reset to 0 by a page, for every following page.
    CaptionSettings caption_;
    const int threads_;
    std::atomic<int> pagesBeingMade_{0};  // helpers making a page right now
    const std::atomic<bool>& stop_;
    ToolkitLogSink logSink_;
    shell::ActivityLog log_;
    StagedOutputs outputs_;
    ui::RunSummary summary_;
};

}  // namespace

int RunThreads(int requested) {
    if (requested > 0) {
        return requested;
    }
    // The one place the core count is read: every part of the run takes its share of this.
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(cores);
}

int PrefetchHelpersFor(int threads) {
    return std::clamp(threads - 1, 0, 3);
}

ui::RunSummary ExecuteRun(ui::Toolkit& toolkit, OutputEncoders& writers,
                          photolist::PhotoList& snapshot, const RunSettings& settings,
                          const std::atomic<bool>& stop) {
    try {
        Run run(toolkit, writers, snapshot, settings, stop);
        return run.Execute();
    } catch (const std::exception&) {
        // Only running out of memory gets here; the files written so far stay, the
        // temporary ones are removed, and the front end is left ready for a new run.
        toolkit.ProgressChanged(999);
        ui::RunSummary failed;
        failed.pageTotal = static_cast<int>(snapshot.size());
        failed.outputFailed = true;
        return failed;
    }
}

}  // namespace vellumo::convert
