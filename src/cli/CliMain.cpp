#include "cli/CliMain.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <algorithm>
#include <atomic>
#include <limits>

#include "base/Utf8Path.h"
#include "cli/CliOptions.h"
#include "cli/CliText.h"
#include "cli/CollectPhotos.h"
#include "cli/HelpText.h"
#include "cli/InfoCommand.h"
#include "cli/PrintableName.h"
#include "cli/StreamFiles.h"
#include "cli/Terminal.h"
#include "cli/TerminalToolkit.h"
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

// One line on the error stream, after the program's name.
void Fail(std::FILE* err, const QString& text) {
    std::fprintf(err, "vellumo-cli: %s\n", text.toStdString().c_str());
}

int UsageError(std::FILE* err, const std::string& message) {
    std::fprintf(
        err, "vellumo-cli: %s\n%s\n", message.c_str(),
        Tr(QT_TRANSLATE_NOOP("vellumo-cli", "Try 'vellumo-cli --help' for more information."))
            .c_str());
    return kExitUsageOrNothing;
}

// A caption font family the system does not have is drawn in another one: say so.
void CheckFontFamily(const CliOptions& options, TerminalToolkit& toolkit) {
    const std::string& family = options.font.lfFaceName;
    if (options.captionText.empty() || family.empty() || QGuiApplication::instance() == nullptr) {
        return;
    }
    const QStringList families = QFontDatabase::families();
    const QString wanted = QString::fromStdString(family);
    const bool known = std::any_of(families.begin(), families.end(), [&](const QString& f) {
        return f.compare(wanted, Qt::CaseInsensitive) == 0;
    });
    if (!known) {
        toolkit.Say(Tr(QT_TRANSLATE_NOOP(
                           "vellumo-cli",
                           "warning: the font family '%1' is not installed; the caption uses the "
                           "closest one (fc-list lists the installed families)"),
                       {family}));
    }
}

// Standard input as an input photo, when "-" is one; false after the message.
bool TakeStandardInput(CliOptions& options, std::optional<StdinPhoto>& photo, std::FILE* in,
                       TerminalToolkit& toolkit) {
    const auto count = std::count(options.inputs.begin(), options.inputs.end(), "-");
    if (count == 0) {
        return true;
    }
    if (count > 1) {
        toolkit.Say(
            Tr(QT_TRANSLATE_NOOP("vellumo-cli", "-: standard input can be read once only")));
        return false;
    }
    std::string error;
    photo = StdinPhoto::Read(in, error);
    if (!photo) {
        toolkit.Problem("-", error);
        return false;
    }
    std::replace(options.inputs.begin(), options.inputs.end(), std::string("-"), photo->Path());
    toolkit.SetStandardInputPath(photo->Path());
    return true;
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

convert::RunSettings MakeRunSettings(const CliOptions& options, const std::string& output) {
    convert::RunSettings settings;
    settings.outputFilePath = output;
    settings.tiff.bigTiff = options.bigTiff;
    settings.append = options.append;
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
    const QString pages = summary.pagesWritten == 1
                              ? QCoreApplication::translate("vellumo-cli", "page")
                              : QCoreApplication::translate("vellumo-cli", "pages");
    if (summary.outputFiles.size() == 1) {
        const QString line =
            QCoreApplication::translate("vellumo-cli", "wrote %1 %2 to %3")
                .arg(summary.pagesWritten)
                .arg(pages, QString::fromStdString(Printable(summary.outputFiles.front())));
        std::fprintf(out, "%s\n", line.toStdString().c_str());
        return;
    }
    const QString line = QCoreApplication::translate("vellumo-cli", "wrote %1 %2 to %3 files:")
                             .arg(summary.pagesWritten)
                             .arg(pages)
                             .arg(summary.outputFiles.size());
    std::fprintf(out, "%s\n", line.toStdString().c_str());
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

int Convert(CliOptions options, const CliStreams& streams) {
    const bool toStdout = options.mode == Mode::Convert && options.output == "-";
    const bool fromStdin =
        std::find(options.inputs.begin(), options.inputs.end(), "-") != options.inputs.end();
    TerminalSettings terminal;
    terminal.assumeYes = options.overwrite || toStdout;
    terminal.quiet = options.quiet;
    // Standard input holding a photo cannot also answer a question.
    terminal.askQuestions = streams.askQuestions && !fromStdin;
    terminal.progressBar = streams.progressBar;
    terminal.columns = streams.columns;
    terminal.logFile = options.logFile;
    TerminalToolkit toolkit(streams.err, streams.in, terminal);

    // Output problems that need no photo are found before any photo is read.
    if (options.mode == Mode::Convert && !toStdout) {
        if (const auto refusal = OutputRefusal(options.output)) {
            toolkit.Problem(
                options.output,
                *refusal + "; " + Tr(QT_TRANSLATE_NOOP("vellumo-cli", "nothing written")));
            return kExitUsageOrNothing;
        }
    }
    if (options.mode == Mode::Convert) {
        for (const std::string& warning : OptionWarnings(options)) {
            toolkit.Say(Tr(QT_TRANSLATE_NOOP("vellumo-cli", "warning: %1"), {warning}));
        }
        CheckFontFamily(options, toolkit);
    }
    std::optional<StdinPhoto> stdinPhoto;
    if (!TakeStandardInput(options, stdinPhoto, streams.in, toolkit)) {
        return kExitUsageOrNothing;
    }

    CollectResult collected = CollectPhotos(options, toolkit, streams.err);
    if (!collected.usageError.empty()) {
        return UsageError(streams.err, collected.usageError);
    }
    if (options.mode == Mode::List) {
        return ListPages(collected, options.autoOrient, streams.out);
    }
    if (collected.list.empty()) {
        toolkit.Say(Tr(QT_TRANSLATE_NOOP("vellumo-cli", "no photos to convert; nothing written")));
        return kExitUsageOrNothing;
    }

    // Standard output: the file is made in a private folder and copied out when complete.
    std::optional<StagingFolder> staging;
    std::string output = options.output;
    if (toStdout) {
        const int32_t format = options.record.nOuptputFormat;
        const bool onePicture = format != options::kFormatTif && format != options::kFormatPdf;
        if (onePicture && collected.list.size() > 1) {
            return UsageError(
                streams.err, Tr(QT_TRANSLATE_NOOP("vellumo-cli",
                                                  "-o - takes one page of a single-picture format; "
                                                  "these inputs give %1"),
                                {std::to_string(collected.list.size())}));
        }
        std::string error;
        staging = StagingFolder::Create(error);
        if (!staging) {
            toolkit.Problem("-", error);
            return kExitUsageOrNothing;
        }
        output = (staging->path() / "standard-output").string();
    }

    convert::ConversionRun run(toolkit);
    if (streams.stopOnInterrupt) {
        g_run.store(&run);
        InstallInterruptHandler(OnInterrupt);
    }
    const convert::StartResult start =
        run.Convert(collected.list, MakeRunSettings(options, output));
    if (streams.stopOnInterrupt && start != convert::StartResult::Started) {
        g_run.store(nullptr);
    }
    switch (start) {
        case convert::StartResult::Started:
            break;
        case convert::StartResult::Declined:
            toolkit.Problem(
                options.output,
                terminal.askQuestions
                    ? Tr(QT_TRANSLATE_NOOP(
                          "vellumo-cli",
                          "exists and was not replaced (use -y or --overwrite to replace it); "
                          "nothing written"))
                    : Tr(QT_TRANSLATE_NOOP(
                          "vellumo-cli",
                          "exists and was left alone: nobody can answer the question whether to "
                          "replace it (use -y or --overwrite to replace it); nothing written")));
            return kExitUsageOrNothing;
        case convert::StartResult::EmptyList:
        case convert::StartResult::StopRequested:
        case convert::StartResult::ThreadFailed:
            Fail(streams.err,
                 QCoreApplication::translate("vellumo-cli", "the conversion could not start"));
            return kExitUsageOrNothing;
    }
    run.Wait();
    g_run.store(nullptr);
    toolkit.FinishProgress();

    const convert::RunSummary summary = run.Summary();
    const int failed = summary.photosFailed + collected.inputsFailed;
    if (summary.pagesWritten == 0 || summary.outputFailed) {
        toolkit.Say(Tr(QT_TRANSLATE_NOOP("vellumo-cli", "nothing written")));
        return kExitUsageOrNothing;
    }
    if (toStdout) {
        std::string error;
        if (summary.outputFiles.size() != 1 ||
            !CopyToStream(summary.outputFiles.front(), streams.out, error)) {
            toolkit.Problem("-", error);
            return kExitUsageOrNothing;
        }
    } else if (!options.quiet) {
        PrintSummary(summary, streams.out);
    }
    if (summary.stopped) {
        Fail(streams.err, QCoreApplication::translate("vellumo-cli", "stopped after %1 of %2 pages")
                              .arg(summary.pagesWritten)
                              .arg(summary.pageTotal));
    }
    if (failed > 0) {
        Fail(streams.err,
             (failed == 1 ? QCoreApplication::translate("vellumo-cli", "%1 photo failed")
                          : QCoreApplication::translate("vellumo-cli", "%1 photos failed"))
                 .arg(failed));
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
            std::fputs(HelpText().c_str(), streams.out);
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
