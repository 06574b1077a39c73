#include "convert/ConversionRun.h"

#include <atomic>
#include <filesystem>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>

#include "base/Utf8Path.h"
#include "convert/CaptionPosition.h"
#include "convert/Messages.h"
#include "convert/OutputEncoders.h"
#include "convert/OutputNaming.h"
#include "convert/PlatformFiles.h"
#include "convert/RunWorker.h"
#include "convert/TiffSizeRule.h"

namespace vellumo::convert {

struct ConversionRun::State {
    explicit State(ui::Toolkit& t) : toolkit(t) {}

    ui::Toolkit& toolkit;
    mutable std::mutex mutex;
    std::thread worker;
    // Set from the moment a Convert command begins a start (the replace question
    // included) until the worker has closed its files, so no second run can begin.
    bool active = false;
    // Lock-free, so that RequestStop may be called from a signal handler.
    std::atomic<bool> stop{false};
    static_assert(std::atomic<bool>::is_always_lock_free);
    RunSummary summary;
    // What the worker reads; written before it starts, not touched while it runs.
    photolist::PhotoList snapshot;
    RunSettings settings;
};

namespace {

std::string ReplaceQuestion(const std::string& path) {
    const std::string pattern = text::TrUtf8(text::kReplaceQuestion);
    const size_t at = pattern.find("%s");
    if (at == std::string::npos) {
        return path + " " + pattern;  // a translation that lost the path's place
    }
    return std::string(pattern.substr(0, at)) + path + std::string(pattern.substr(at + 2));
}

// The first file of the run's outputs that exists already, if any.
std::optional<std::string> FirstExistingOutput(const photolist::PhotoList& list,
                                               const std::string& outputPath) {
    const int count = static_cast<int>(list.size());
    std::set<std::string> asked;
    for (int i = 0; i < count; ++i) {
        const std::string path = OutputPathForEntry(
            outputPath, list[static_cast<size_t>(i)].outputFormat.nOuptputFormat, i, count);
        if (asked.insert(path).second && FileExists(base::PathFromUtf8(path))) {
            return path;
        }
    }
    return std::nullopt;
}

uint64_t FileSize(const std::string& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(base::PathFromUtf8(path), ec);
    return ec ? 0 : static_cast<uint64_t>(size);
}

}  // namespace

ConversionRun::ConversionRun(ui::Toolkit& toolkit) : state_(std::make_unique<State>(toolkit)) {}

ConversionRun::~ConversionRun() {
    Wait();
}

StartResult ConversionRun::Convert(const photolist::PhotoList& list, const RunSettings& settings) {
    State& s = *state_;
    {
        std::lock_guard lock(s.mutex);
        if (s.active) {
            s.stop = true;
            return StartResult::StopRequested;
        }
        s.active = true;  // taken now: a second Convert during this start only asks to stop
        s.stop = false;
    }
    // The previous worker has ended (active was false); collect its thread.
    if (s.worker.joinable()) {
        s.worker.join();
    }
    const auto idle = [&](StartResult result) {
        std::lock_guard lock(s.mutex);
        s.active = false;
        return result;
    };

    ui::Toolkit& toolkit = s.toolkit;
    toolkit.LogCleared();
    RunSettings snapshot = settings;
    CheckCaptionBeforeRun(toolkit, settings.mainRecord, snapshot.caption);
    if (list.empty()) {
        return idle(StartResult::EmptyList);
    }
    const auto existing =
        settings.append ? std::nullopt : FirstExistingOutput(list, settings.outputFilePath);
    if (existing) {
        const ui::Answer answer =
            toolkit.MessageBox(ReplaceQuestion(*existing), text::TrUtf8(text::kWarning),
                               ui::MessageStyle::YesNoExclamation);
        if (answer != ui::Answer::Yes) {
            return idle(StartResult::Declined);
        }
        // Nothing is deleted here: the new file takes the old one's place when the run ends.
    }

    // Known before the first page: whether the pages could pass what a classic TIFF holds.
    const uint64_t kept = settings.append ? FileSize(settings.outputFilePath) : 0;
    snapshot.tiff.bigTiff =
        settings.tiff.bigTiff || NeedsBigTiff(list, settings.tiff.compression, kept);
    s.snapshot = list;
    s.settings = std::move(snapshot);
    try {
        s.worker = std::thread([&s] {
            auto writers = MakeImagingEncoders();
            const RunSummary summary =
                ExecuteRun(s.toolkit, *writers, s.snapshot, s.settings, s.stop);
            {
                std::lock_guard lock(s.mutex);
                s.summary = summary;
                s.active = false;
            }
            // Last: a front end that starts a new run on this event finds this one idle.
            s.toolkit.RunFinished(summary);
        });
    } catch (const std::system_error&) {
        toolkit.MessageBox(text::TrUtf8(text::kCannotBeginThread), text::TrUtf8(text::kError),
                           ui::MessageStyle::Error);
        return idle(StartResult::ThreadFailed);
    }
    return StartResult::Started;
}

bool ConversionRun::IsActive() const {
    std::lock_guard lock(state_->mutex);
    return state_->active;
}

void ConversionRun::RequestStop() {
    state_->stop.store(true);
}

void ConversionRun::Wait() {
    if (state_->worker.joinable()) {
        state_->worker.join();
    }
}

RunSummary ConversionRun::Summary() const {
    std::lock_guard lock(state_->mutex);
    return state_->summary;
}

SyncResult ConvertAndWait(ui::Toolkit& toolkit, const photolist::PhotoList& list,
                          const RunSettings& settings) {
    ConversionRun run(toolkit);
    SyncResult result;
    result.start = run.Convert(list, settings);
    run.Wait();
    if (result.start == StartResult::Started) {
        result.summary = run.Summary();
    }
    return result;
}

}  // namespace vellumo::convert
