#pragma once
// Output files are written into temporary files beside their final names and put in
// place only when the run ends, so an existing file (perhaps one of the inputs) is never
// lost: it is replaced by a complete new file or left as it was. An output that is a
// symbolic link is written beside the file the link finally names and replaces that
// file, so the link stays a link.

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "convert/BackgroundSync.h"
#include "convert/PlatformFiles.h"

namespace vellumo::convert {

class StagedOutputs {
  public:
    StagedOutputs() = default;
    // Removes every temporary file that was not put in place.
    ~StagedOutputs() = default;

    StagedOutputs(const StagedOutputs&) = delete;
    StagedOutputs& operator=(const StagedOutputs&) = delete;

    // The temporary file standing for `finalPath` (UTF-8), created on first use in the
    // folder of the file it will replace; null, with the system's reason in `error`,
    // when that folder takes no new file or the target is a folder.
    TemporaryFile* TemporaryFor(const std::string& finalPath, std::string* error = nullptr);
    // The temporary file now holds what `finalPath` should hold (so far: a page is
    // written); it is made durable in the background, so the commit has little left to
    // wait for.
    void MarkWritten(const std::string& finalPath);
    // Throws away the temporary file of `finalPath` (a failed page or file).
    void Discard(const std::string& finalPath);

    struct Failure {
        std::string finalPath;
        std::string reason;  // in the system's words
        std::string keptAs;  // where the new content is kept instead (UTF-8), or empty
    };
    struct CommitResult {
        std::vector<std::string> placed;  // final paths now holding the new files
        std::vector<Failure> failed;      // final paths that were not replaced
    };
    // Puts every written file in place, in the order first asked for, and removes the
    // temporary files that hold nothing. A target changed by someone else since its
    // temporary was made is not replaced; neither is one that cannot be. Either way the
    // new content is kept under a visible hidden name, so its pages are not lost.
    CommitResult Commit();

  private:
    struct Staged {
        std::unique_ptr<TemporaryFile> file;
        std::filesystem::path target;  // the file finally replaced (links followed)
        FileIdentity before;           // the target as it was when the run took it
        bool written = false;
        size_t order = 0;
    };
    std::map<std::string, Staged> staged_;
    // Declared last so that it stops before any temporary file is closed.
    BackgroundSync sync_;
};

}  // namespace vellumo::convert
