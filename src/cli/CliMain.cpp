#include "cli/CliMain.h"

#include <atomic>
#include <limits>

#include "base/Utf8Path.h"
#include "cli/CliOptions.h"
#include "cli/CollectPhotos.h"
#include "cli/InfoCommand.h"
#include "cli/PrintableName.h"
#include "cli/Terminal.h"
#include "cli/TerminalToolkit.h"
#include "cli/UsageText.h"
#include "convert/ConversionRun.h"
#include "convert/PagePreparation.h"
#include "convert/RotateFlipTable.h"
#include "imaging/ImageFile.h"
#include "options/OutputSize.h"

#ifndef VELLUMO_VERSION
#define VELLUMO_VERSION "unknown"
#endif

namespace vellumo::cli {
namespace {

// The run a Ctrl-C stops; RequestStop only sets an atomic flag, as a signal handler may.
std::atomic<convert::ConversionRun*> g_run{nullptr};

void OnInterrupt() {
    if (convert::ConversionRun* run = g_run.load()) {
        run->RequestStop();
    }
}

int UsageError(std::FILE* err, const std::string& message) {
    std::fprintf(err, "vellumo-cli: %s\nTry 'vellumo-cli --help' for more information.\n",
                 message.c_str());
    return kExitUsageOrNothing;
}

// The record the caption position is checked against before the run. The check can
// only be right for a side the options fix; a side that follows each photo is left
// unbounded here and checked per page by the pipeline instead. The caption is drawn
// before the page is turned, so the sides are those of the unturned page.
options::OutputPhotoFormat PositionCheckRecord(const options::OutputPhotoFormat& record) {
    options::OutputPhotoFormat check = record;
    constexpr int32_t kUnbounded = std::numeric_limits<int32_t>::max();
    const bool custom = record.nOuputSizeType == options::kSizeCustom;
    if (!custom || record.nKeepAspectRatio == options::kKeepWithHeight) {
        check.nOutputWidth = kUnbounded;
    }
    if (!custom || record.nKeepAspectRatio == options::kKeepWithWidth) {
        check.nOutputHeight = kUnbounded;
    }
    return check;
}

convert::RunSettings MakeRunSettings(const CliOptions& options) {
    convert::RunSettings settings;
    settings.outputFilePath = options.output;
    settings.mainRecord = PositionCheckRecord(options.record);
    settings.caption = {options.captionText, options.captionX, options.captionY, options.font,
                        options.color};
    settings.tiff.compression = options.compression;
    settings.tiff.jpegQuality = options.tiffJpegQuality;
    settings.autoOrient = options.autoOrient;
    settings.metadata = options.metadata;
    settings.logFilePath = options.logFile;
    settings.threads = options.threads;
    return settings;
}

void PrintSummary(const convert::RunSummary& summary, std::FILE* out) {
    const char* pages = summary.pagesWritten == 1 ? "page" : "pages";
    if (summary.outputFiles.size() == 1) {
        std::fprintf(out, "wrote %d %s to %s\n", summary.pagesWritten, pages,
                     Printable(summary.outputFiles.front()).c_str());
        return;
    }
    std::fprintf(out, "wrote %d %s to %zu files:\n", summary.pagesWritten, pages,
                 summary.outputFiles.size());
    for (const auto& file : summary.outputFiles) {
        std::fprintf(out, "  %s\n", Printable(file).c_str());
    }
}

// The page size before the entry's own turn: the listed one, or with --auto-orient the
// one the size rule gives the photo standing upright.
options::PageSize DrawnSize(const photolist::PhotoEntry& e, bool autoOrient) {
    const options::PageSize listed{e.outputFormat.nOutputWidth, e.outputFormat.nOutputHeight};
    if (!autoOrient) {
        return listed;
    }
    imaging::ImageFile image = imaging::ImageFile::Open(base::PathFromUtf8(e.path));
    if (!image.SelectActiveFrame(e.frameDimension, e.frameIndex)) {
        return listed;
    }
    const int orientation = convert::UprightOrientation(image);
    if (!convert::SwapsSides(convert::UprightTypeForExif(orientation))) {
        return listed;
    }
    std::vector<convert::PendingMessage> ignored;  // the run reports them
    convert::DeferredReporter reporter(ignored);
    const auto size = options::ComputeOutputSize(e.height, e.width, e.outputFormat, reporter);
    return size ? *size : listed;
}

// --list: the pages a conversion would make, one line each, without writing anything.
int ListPages(const CollectResult& collected, bool autoOrient, std::FILE* out) {
    int page = 0;
    for (const auto& e : collected.list) {
        // The page as written: upright when asked, then a quarter turn swaps its sides.
        const options::PageSize drawn = DrawnSize(e, autoOrient);
        const bool turned = e.outputFormat.nRotateAngel == 90 || e.outputFormat.nRotateAngel == 270;
        const int32_t width = turned ? drawn.height : drawn.width;
        const int32_t height = turned ? drawn.width : drawn.height;
        std::fprintf(out, "%d\t%s\tframe %d of %d\t%dx%d\t%dx%d\n", ++page,
                     Printable(e.path).c_str(), e.frameIndex + 1, e.totalFrames, e.width, e.height,
                     width, height);
    }
    std::fflush(out);
    if (collected.list.empty()) {
        return kExitUsageOrNothing;
    }
    return collected.inputsFailed > 0 ? kExitSomeFailed : kExitOk;
}

int Convert(const CliOptions& options, const CliStreams& streams) {
    TerminalSettings terminal;
    terminal.assumeYes = options.overwrite;
    terminal.quiet = options.quiet;
    terminal.askQuestions = streams.askQuestions;
    terminal.progressBar = streams.progressBar;
    terminal.columns = streams.columns;
    TerminalToolkit toolkit(streams.err, streams.in, terminal);

    CollectResult collected = CollectPhotos(options, toolkit, streams.err);
    if (!collected.usageError.empty()) {
        return UsageError(streams.err, collected.usageError);
    }
    if (options.mode == Mode::List) {
        return ListPages(collected, options.autoOrient, streams.out);
    }
    if (collected.list.empty()) {
        std::fprintf(streams.err, "vellumo-cli: no photos to convert; nothing written\n");
        return kExitUsageOrNothing;
    }

    convert::ConversionRun run(toolkit);
    if (streams.stopOnInterrupt) {
        g_run.store(&run);
        InstallInterruptHandler(OnInterrupt);
    }
    const convert::StartResult start = run.Convert(collected.list, MakeRunSettings(options));
    if (streams.stopOnInterrupt && start != convert::StartResult::Started) {
        g_run.store(nullptr);
    }
    switch (start) {
        case convert::StartResult::Started:
            break;
        case convert::StartResult::Declined:
            std::fprintf(streams.err,
                         "vellumo-cli: %s exists and was not replaced (use -y or --overwrite to "
                         "replace it); nothing written\n",
                         Printable(options.output).c_str());
            return kExitUsageOrNothing;
        case convert::StartResult::EmptyList:
        case convert::StartResult::StopRequested:
        case convert::StartResult::ThreadFailed:
            std::fprintf(streams.err, "vellumo-cli: the conversion could not start\n");
            return kExitUsageOrNothing;
    }
    run.Wait();
    g_run.store(nullptr);
    toolkit.FinishProgress();

    const convert::RunSummary summary = run.Summary();
    const int failed = summary.photosFailed + collected.inputsFailed;
    if (summary.pagesWritten == 0 || summary.outputFailed) {
        std::fprintf(streams.err, "vellumo-cli: nothing written\n");
        return kExitUsageOrNothing;
    }
    if (!options.quiet) {
        PrintSummary(summary, streams.out);
    }
    if (summary.stopped) {
        std::fprintf(streams.err, "vellumo-cli: stopped after %d of %d pages\n",
                     summary.pagesWritten, summary.pageTotal);
    }
    if (failed > 0) {
        std::fprintf(streams.err, "vellumo-cli: %d photo%s failed\n", failed,
                     failed == 1 ? "" : "s");
    }
    std::fflush(streams.out);
    return failed > 0 || summary.stopped ? kExitSomeFailed : kExitOk;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, const CliStreams& streams) {
    const ParseResult parsed = ParseCommandLine(args);
    if (!parsed.options) {
        return UsageError(streams.err, parsed.error);
    }
    const CliOptions& options = *parsed.options;
    switch (options.mode) {
        case Mode::Help:
            std::fputs(kUsage.data(), streams.out);
            return kExitOk;
        case Mode::Version:
            std::fprintf(streams.out, "vellumo-cli %s\n", VELLUMO_VERSION);
            return kExitOk;
        case Mode::Info:
            return RunInfo(options.inputs, streams.out, streams.err);
        case Mode::Convert:
        case Mode::List:
            break;
    }
    return Convert(options, streams);
}

}  // namespace vellumo::cli
