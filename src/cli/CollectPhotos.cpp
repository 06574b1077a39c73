#include "cli/CollectPhotos.h"

#include "cli/CliText.h"
#include "cli/PrintableName.h"
#include "options/OutputPhotoFormat.h"

#include <QCoreApplication>
#include <filesystem>
#include <system_error>
#include <vector>

#include "photolist/AddPhotos.h"
#include "photolist/ColumnSort.h"
#include "photolist/PhotoFinder.h"

namespace fs = std::filesystem;

namespace vellumo::cli {
namespace {

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(fs::path(path), ec);
}

// With -r, an input written with a trailing separator is meant as a folder even when it
// does not exist, so that the search reports it as such.
bool IsFolderInput(const std::string& path) {
    return IsFolder(path) || (!path.empty() && path.back() == '/');
}

// Why an input gave no photo, in a few words.
std::string WhyNoPhoto(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(fs::path(path), ec);
    if (ec || !fs::exists(status)) {
        return ec ? ec.message() : "No such file or directory";
    }
    if (!fs::is_regular_file(status)) {
        return QCoreApplication::translate("vellumo-cli", "not a regular file").toStdString();
    }
    return QCoreApplication::translate("vellumo-cli", "not an image that can be read")
        .toStdString();
}

void AddFile(const std::string& path, const CliOptions& options, ui::Toolkit& toolkit,
             CollectResult& result) {
    if (photolist::AddPhotoFile(path, options.record, toolkit, result.list) == 0) {
        ++result.inputsFailed;
        toolkit.Problem(path,
                        WhyNoPhoto(path) + ", " + Tr(QT_TRANSLATE_NOOP("vellumo-cli", "skipped")));
    }
}

// True when `path` is the output (or one of its numbered files) of this run.
bool IsOutput(const std::string& path, const CliOptions& options) {
    std::error_code ec;
    if (fs::equivalent(fs::path(path), fs::path(options.output), ec)) {
        return true;
    }
    if (options.record.nOuptputFormat == options::kFormatTif ||
        options.record.nOuptputFormat == options::kFormatPdf) {
        return false;
    }
    // album.jpg of several pages gives album-1.jpg, album-01.jpg, ...
    const fs::path output(options.output);
    const fs::path candidate(path);
    const std::string stem = output.stem().string() + "-";
    const std::string name = candidate.stem().string();
    if (candidate.extension() != output.extension() || !name.starts_with(stem) ||
        name.size() == stem.size() ||
        name.find_first_not_of("0123456789", stem.size()) != std::string::npos) {
        return false;
    }
    return fs::equivalent(candidate.parent_path().empty() ? "." : candidate.parent_path(),
                          output.parent_path().empty() ? "." : output.parent_path(), ec);
}

}  // namespace

CollectResult CollectPhotos(const CliOptions& options, ui::Toolkit& toolkit, std::FILE* err) {
    CollectResult result;
    if (!options.recursive) {
        for (const auto& input : options.inputs) {
            if (IsFolder(input)) {
                result.usageError =
                    QCoreApplication::translate("vellumo-cli",
                                                "%1 is a folder (use -r to search it for photos)")
                        .arg(QString::fromStdString(input))
                        .toStdString();
                return result;
            }
        }
    }
    for (const auto& input : options.inputs) {
        if (!IsFolderInput(input)) {
            AddFile(input, options, toolkit, result);
            continue;
        }
        std::vector<std::string> found;
        photolist::PhotoFinder finder(toolkit);
        if (!finder.Search(input, found)) {
            ++result.inputsFailed;
            continue;
        }
        if (found.empty() && !options.quiet) {
            const QString none = QCoreApplication::translate("vellumo-cli", "%1: no photos found")
                                     .arg(QString::fromStdString(Printable(input)));
            std::fprintf(err, "vellumo-cli: %s\n", none.toStdString().c_str());
        }
        for (const auto& path : found) {
            // A run's own output is no photo for the next run over the same folder.
            if (IsOutput(path, options)) {
                continue;
            }
            // A file the search found but that is no image is passed over silently, as
            // the window's search does; it was not named by the user.
            photolist::AddPhotoFile(path, options.record, toolkit, result.list);
        }
    }
    ApplySortOrder(result.list, options.sort);
    return result;
}

void ApplySortOrder(photolist::PhotoList& list, SortOrder order) {
    switch (order) {
        case SortOrder::None:
            return;
        case SortOrder::Name:
        case SortOrder::NameDesc:
            list.fileNameSortToggle = order == SortOrder::NameDesc;
            photolist::SortByColumn(list, photolist::kFileNameColumn);
            return;
        case SortOrder::Time:
        case SortOrder::TimeDesc:
            list.modifiedSortToggle = order == SortOrder::TimeDesc;
            photolist::SortByColumn(list, photolist::kModifiedColumn);
            return;
    }
}

}  // namespace vellumo::cli
