#include "photolist/PhotoFinder.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <set>
#include <system_error>

#include "photolist/AddPhotosTexts.h"
#include "photolist/PlatformFiles.h"
#include "ui/Toolkit.h"

namespace fs = std::filesystem;

namespace vellumo::photolist {
namespace {

constexpr char kSeparator = static_cast<char>(fs::path::preferred_separator);

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

struct FolderItem {
    std::string name;
    bool isFolder = false;
    bool isRegularFile = false;
};

// The items of one folder sorted by name; empty when the folder cannot be listed (an
// error in the middle keeps what was listed before it). `ec` says why.
std::vector<FolderItem> ListFolder(const std::string& folder, std::error_code& ec) {
    std::vector<FolderItem> items;
    fs::directory_iterator it(fs::path(folder), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        FolderItem item;
        item.name = it->path().filename().string();
        std::error_code typeError;
        const fs::file_status status = it->status(typeError);  // links followed
        item.isFolder = !typeError && fs::is_directory(status);
        item.isRegularFile = !typeError && fs::is_regular_file(status);
        items.push_back(std::move(item));
    }
    std::sort(items.begin(), items.end(),
              [](const FolderItem& a, const FolderItem& b) { return a.name < b.name; });
    return items;
}

}  // namespace

bool MatchesPhotoExtension(std::string_view path) {
    const size_t nameStart = path.find_last_of("/\\");
    const std::string_view name =
        nameStart == std::string_view::npos ? path : path.substr(nameStart + 1);
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return false;
    }
    std::string extension(name.substr(dot));
    std::transform(extension.begin(), extension.end(), extension.begin(), AsciiLower);
    return std::find(kPhotoExtensions.begin(), kPhotoExtensions.end(), extension) !=
           kPhotoExtensions.end();
}

bool PhotoFinder::Search(const std::string& root, std::vector<std::string>& results) {
    root_ = root;
    if (root_.empty() || root_.back() != kSeparator) {
        root_ += kSeparator;
    }
    const std::string applicationName(ui::kApplicationName);
    // An empty root would otherwise become the file system's root.
    if (root.empty()) {
        reporter_.Report(texts::TrUtf8(texts::kOccursError), applicationName);
        return false;
    }
    std::error_code ec;
    const fs::file_status status = fs::status(root, ec);
    if (ec == std::errc::not_a_directory) {
        reporter_.Report(root_ + texts::TrUtf8(texts::kNotARightDirectory), applicationName);
        return false;
    }
    if (ec || !fs::exists(status)) {
        reporter_.Report(root_ + texts::TrUtf8(texts::kOccursError), applicationName);
        return false;
    }
    if (!fs::is_directory(status)) {
        reporter_.Report(root_ + texts::TrUtf8(texts::kNotARightDirectory), applicationName);
        return false;
    }

    std::set<FolderIdentity> folderRead;
    std::deque<std::string> queue{root_};
    while (!queue.empty()) {
        const std::string folder = std::move(queue.front());
        queue.pop_front();
        int error = 0;
        const auto identity = IdentifyFolder(folder, &error);
        if (!identity) {
            SkippedFolder(folder, std::generic_category().message(error));
            continue;
        }
        if (!folderRead.insert(*identity).second) {
            continue;
        }
        std::error_code listError;
        const std::vector<FolderItem> items = ListFolder(folder, listError);
        if (listError) {
            SkippedFolder(folder, listError.message());
        }
        for (const FolderItem& item : items) {
            if (item.isFolder) {
                queue.push_back(folder + item.name + kSeparator);
            } else if (item.isRegularFile && MatchesPhotoExtension(item.name)) {
                results.push_back(folder + item.name);
            }
        }
    }
    return true;
}

void PhotoFinder::SkippedFolder(const std::string& folder, const std::string& reason) {
    reporter_.Report(folder + ": " + reason + texts::TrUtf8(texts::kFolderSkipped),
                     ui::kApplicationName);
}

}  // namespace vellumo::photolist
