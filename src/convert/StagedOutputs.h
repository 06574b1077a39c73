#pragma once
// Output files are written under unique temporary names beside their final names and
// put in place only when the run ends, so an existing file (perhaps one of the inputs)
// is never lost: it is replaced by a complete new file or left as it was.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vellumo::convert {

class StagedOutputs {
  public:
    StagedOutputs() = default;
    // Removes every temporary file that was not put in place.
    ~StagedOutputs();

    StagedOutputs(const StagedOutputs&) = delete;
    StagedOutputs& operator=(const StagedOutputs&) = delete;

    // The temporary file standing for `finalPath` (UTF-8), created on first use in the
    // same folder; nothing when the folder takes no new file or `finalPath` is a folder.
    std::optional<std::filesystem::path> TemporaryFor(const std::string& finalPath);
    // The temporary file now holds what `finalPath` should hold.
    void MarkWritten(const std::string& finalPath);
    // Throws away the temporary file of `finalPath` (a failed page).
    void Discard(const std::string& finalPath);

    struct CommitResult {
        std::vector<std::string> placed;  // final paths now holding the new files
        std::vector<std::string> failed;  // final paths that could not be replaced
    };
    // Puts every written file in place, in the order first asked for, and removes the
    // temporary files that hold nothing. A file that cannot be put in place keeps its
    // temporary name, so its pages are not lost.
    CommitResult Commit();

  private:
    struct Staged {
        std::filesystem::path temporary;
        bool written = false;
        size_t order = 0;
    };
    std::map<std::string, Staged> staged_;
};

}  // namespace vellumo::convert
