#pragma once
// The few file operations of the engine that differ between platforms: the existence
// test, following links to the file they name, and new files that get a name only when
// they are complete.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vellumo::convert {

// A file exists when it can be opened for reading as an existing regular file.
bool FileExists(const std::filesystem::path& path);

// The file a path finally names: symbolic links followed one by one (a dangling link
// gives the path its target would have). The path itself when it is no link or the
// chain is too long.
std::filesystem::path FinalTarget(const std::filesystem::path& path);

// What identifies one version of a file: replaced, written or truncated, it changes.
struct FileIdentity {
    bool exists = false;
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};
FileIdentity IdentityOf(const std::filesystem::path& path);

// A new file in a folder, open for writing, that no other process can reach by name:
// on Linux it has no name at all until Place (killed before, it leaves nothing behind);
// where the file system refuses nameless files it has a private, unique hidden name and
// is used only through its descriptor.
class TemporaryFile {
  public:
    // `hint` is the name the file will finally have; it only shapes the hidden name.
    // Nothing, with the system's reason in `error`, when the folder takes no new file.
    static std::optional<TemporaryFile> Create(const std::filesystem::path& folder,
                                               std::string_view hint, std::string& error);
    TemporaryFile(TemporaryFile&& other) noexcept;
    TemporaryFile& operator=(TemporaryFile&& other) noexcept;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    // Closes the descriptor and removes the hidden name, if the file was not placed.
    ~TemporaryFile();

    int descriptor() const { return fd_; }
    // Makes the file empty again, to be written from its start; false when it cannot be.
    bool Empty();
    // A path that opens this very file (through the descriptor on Linux), for writers
    // that only take paths.
    std::filesystem::path AccessPath() const;

    // Makes the file's content durable, gives it the permissions of the file it replaces
    // (or of a newly created file) and puts it in the place of `target` in one step,
    // then makes the folder's new entry durable. False with the system's reason when
    // that failed; the content then stays under the name `Keep` gives it.
    bool Place(const std::filesystem::path& target, std::string& error);
    // Gives the file a visible unique name in its folder so its content is not lost; the
    // name, or nothing.
    std::optional<std::filesystem::path> Keep();

  private:
    TemporaryFile(int fd, std::filesystem::path folder, std::filesystem::path name,
                  std::string hint);
    bool GiveName(std::string& error);
    void Release();

    int fd_ = -1;
    std::filesystem::path folder_;
    std::filesystem::path name_;  // empty while the file has no name
    std::string hint_;
};

}  // namespace vellumo::convert
