#pragma once
// Adding photos off the window's thread: an optional folder search, then the entries
// of each file in order. The window stays responsive and is told the progress; the
// entries come back in one piece, in file order, for the window to append.

#include <QObject>
#include <QPointer>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "options/OutputPhotoFormat.h"
#include "options/Reporter.h"
#include "photolist/PhotoEntry.h"

namespace vellumo::app {

struct AddJob {
    // Searched first when not empty; the files found are added after `files`.
    std::string searchRoot;
    std::vector<std::string> files;
    // A folder among `files` is searched in its place, as Search photos would.
    bool searchFolders = false;
};

struct AddResult {
    bool searchSucceeded = true;  // false: the search root was refused (and reported)
    bool cancelled = false;
    std::vector<photolist::PhotoEntry> entries;  // in file order, frames in order
};

class PhotoAdder {
  public:
    // Called on the thread of the context object given to Start.
    using Progress = std::function<void(int filesDone, int filesTotal)>;
    using Done = std::function<void(AddResult result)>;

    PhotoAdder() = default;
    PhotoAdder(const PhotoAdder&) = delete;
    PhotoAdder& operator=(const PhotoAdder&) = delete;
    // Cancels and joins. The owner must first let a worker that waits on the owner's
    // thread (a message box) finish, see MainWindow::WaitUntilIdle.
    ~PhotoAdder();

    // Starts `job` on a worker. `mainRecord` is copied into every entry; `reporter` must
    // be usable from the worker. False when a job is still running.
    bool Start(QObject* context, AddJob job, const options::OutputPhotoFormat& mainRecord,
               options::Reporter& reporter, Progress progress, Done done);
    // True from Start until `done` has been delivered.
    bool IsRunning() const { return running_.load(); }
    // The worker stops after its current file; what it has is still delivered.
    void Cancel() { cancelled_.store(true); }

  private:
    void Join();

    std::thread worker_;
    std::atomic<bool> running_{false};
    std::atomic<bool> cancelled_{false};
};

}  // namespace vellumo::app
