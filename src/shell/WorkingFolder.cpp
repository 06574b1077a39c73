#include "shell/WorkingFolder.h"

#include <QDir>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

#include "base/Utf8Path.h"
#include "shell/Paths.h"

namespace vellumo::shell {
namespace {

constexpr std::string_view kNoPicturesFolder = "Can not get My Documents directory!";
constexpr std::string_view kCannotCreate = "Can not create the directory";
constexpr std::string_view kErrorCaption = "Error";

// The pictures folder without trailing separators (a root keeps its own).
std::string WithoutTrailingSeparators(std::string folder) {
    while (folder.size() > 1 && folder.back() == NativeSeparator()) {
        folder.pop_back();
    }
    return folder;
}

bool IsOrBecomesFolder(const std::string& folder) {
    std::error_code ec;
    const std::filesystem::path path = base::PathFromUtf8(folder);
    if (std::filesystem::is_directory(path, ec)) {
        return true;
    }
    // Create the whole chain: a fresh profile may not have a pictures folder yet.
    std::filesystem::create_directories(path, ec);
    return !ec && std::filesystem::is_directory(path, ec);
}

}  // namespace

std::optional<std::string> SystemPicturesFolder() {
    const QString location = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (location.isEmpty()) {
        return std::nullopt;
    }
    return QDir::toNativeSeparators(location).toStdString();
}

std::string FolderFallback() {
    return EnsureTrailingBackslash(QDir::toNativeSeparators(QDir::homePath()).toStdString());
}

std::string ResolveFolderSetting(SettingsStore& store, std::string_view section,
                                 std::string_view key, const std::string& fallback,
                                 options::Reporter& reporter,
                                 const PicturesFolderQuery& picturesFolder) {
    const std::optional<std::string> pictures = picturesFolder ? picturesFolder() : std::nullopt;
    if (!pictures || pictures->empty()) {
        reporter.Report(kNoPicturesFolder, kErrorCaption);
        return store.ReadString(section, key, fallback);
    }

    const std::string base = WithoutTrailingSeparators(*pictures);
    const auto cut = fallback.rfind(NativeSeparator());
    const std::string joint =
        cut == std::string::npos ? std::string(1, NativeSeparator()) : fallback.substr(cut);
    // A root pictures folder already ends in the separator the fallback's tail starts with.
    std::string folder = base.back() == NativeSeparator() ? base + joint.substr(1) : base + joint;
    folder = EnsureTrailingBackslash(folder + std::string(kWorkingFolderName));
    if (!IsOrBecomesFolder(folder)) {
        reporter.Report(kCannotCreate, folder);
        folder = EnsureTrailingBackslash(base);
    }
    return store.ReadString(section, key, folder);
}

}  // namespace vellumo::shell
