#include "app/PhotoAdder.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "base/Utf8Path.h"

#include "photolist/AddPhotos.h"
#include "photolist/PhotoFinder.h"

namespace vellumo::app {

PhotoAdder::~PhotoAdder() {
    Cancel();
    Join();
}

void PhotoAdder::Join() {
    if (worker_.joinable()) {
        worker_.join();
    }
}

bool PhotoAdder::Start(QObject* context, AddJob job, const options::OutputPhotoFormat& mainRecord,
                       options::Reporter& reporter, Progress progress, Done done) {
    if (running_.load()) {
        return false;
    }
    Join();
    cancelled_.store(false);
    running_.store(true);
    QPointer<QObject> target(context);
    worker_ = std::thread([this, target, job = std::move(job), mainRecord, &reporter,
                           progress = std::move(progress), done = std::move(done)]() mutable {
        AddResult result;
        std::vector<std::string> files;
        if (job.searchFolders) {
            for (std::string& path : job.files) {
                std::error_code error;
                if (std::filesystem::is_directory(base::PathFromUtf8(path), error)) {
                    photolist::PhotoFinder finder(reporter);
                    finder.Search(path, files);
                } else {
                    files.push_back(std::move(path));
                }
            }
        } else {
            files = std::move(job.files);
        }
        if (!job.searchRoot.empty()) {
            photolist::PhotoFinder finder(reporter);
            result.searchSucceeded = finder.Search(job.searchRoot, files);
        }
        const int total = static_cast<int>(files.size());
        for (int i = 0; i < total && result.searchSucceeded; ++i) {
            if (cancelled_.load()) {
                result.cancelled = true;
                break;
            }
            std::vector<photolist::PhotoEntry> entries =
                photolist::EntriesForPhotoFile(files[static_cast<size_t>(i)], mainRecord, reporter);
            for (photolist::PhotoEntry& entry : entries) {
                result.entries.push_back(std::move(entry));
            }
            if (target && progress) {
                QMetaObject::invokeMethod(
                    target.data(), [progress, done = i + 1, total] { progress(done, total); },
                    Qt::QueuedConnection);
            }
        }
        // The job counts as running until `done` has been delivered on the context's
        // thread, so the owner never tears down the context before that.
        if (target) {
            QMetaObject::invokeMethod(
                target.data(),
                [this, done = std::move(done), result = std::move(result)]() mutable {
                    running_.store(false);
                    if (done) {
                        done(std::move(result));
                    }
                },
                Qt::QueuedConnection);
        } else {
            running_.store(false);
        }
    });
    return true;
}

}  // namespace vellumo::app
