// Adding photos from the main window: the file dialog, the folder search and dropped
// files. The files are read off the window's thread; the entries join the list in
// order when all are read, and the view is rebuilt once.
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <filesystem>

#include "app/AppTexts.h"
#include "app/MainWindow.h"
#include "base/QtText.h"
#include "shell/Paths.h"

namespace vellumo::app {
namespace {

using base::ToQString;

bool IsExistingNonFolder(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path p = base::PathFromUtf8(path);
    const auto status = std::filesystem::status(p, ec);
    return !ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

}  // namespace

void MainWindow::AddPhotos() {
    if (activity_ != Activity::Idle || !services_.interaction.openFiles) {
        return;
    }
    OpenFilesRequest request;
    request.title = texts::Tr(texts::kSelectPhotoFiles);
    request.initialFolder =
        store_.ReadString(shell::kOptionSection, texts::kKeyLastPhotoFolder, "");
    request.filters = PhotoFileFilters();
    std::vector<std::string> files = services_.interaction.openFiles(this, request);
    if (files.empty()) {
        return;
    }
    StartAdding({{}, std::move(files)},
                [this] { RememberFolderOfLastEntry(texts::kKeyLastPhotoFolder); });
}

void MainWindow::SearchPhotos() {
    if (activity_ != Activity::Idle) {
        return;
    }
    // Read as the command always has; the picker opens at its own default place.
    (void)store_.ReadString(shell::kOptionSection, texts::kKeyLastBrowseFolder, "");
    const std::optional<std::string> folder = ChooseFolder();
    if (!folder) {
        return;
    }
    AddJob job;
    job.searchRoot = *folder;
    StartAdding(std::move(job), [this] { RememberFolderOfLastEntry(texts::kKeyLastBrowseFolder); });
}

void MainWindow::AddDroppedPaths(const std::vector<std::string>& paths) {
    if (activity_ != Activity::Idle) {
        return;
    }
    AddJob job;
    for (const std::string& path : paths) {
        if (IsExistingNonFolder(path)) {
            job.files.push_back(path);
        }
    }
    if (job.files.empty()) {
        if (list_.photoCount > 0) {
            RefreshPhotoList();
        }
        return;
    }
    StartAdding(std::move(job), nullptr);
}

void MainWindow::OpenPaths(const std::vector<std::string>& paths) {
    if (activity_ != Activity::Idle || paths.empty()) {
        return;
    }
    AddJob job;
    job.files = paths;
    job.searchFolders = true;
    StartAdding(std::move(job), nullptr);
}

std::optional<std::string> MainWindow::ChooseFolder() {
    if (!services_.interaction.chooseFolder) {
        return std::nullopt;
    }
    return services_.interaction.chooseFolder(this, texts::Tr(texts::kChooseFolder));
}

void MainWindow::StartAdding(AddJob job, std::function<void()> afterAppend) {
    activity_ = Activity::Adding;
    UpdateCommandStates();
    progressBeforeAdding_ = controls_.progress->value();
    // A search has no known length: the bar runs busy until files are being read.
    if (!job.searchRoot.empty()) {
        controls_.progress->setRange(0, 0);
    } else {
        controls_.progress->setValue(0);
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool started = adder_.Start(
        this, std::move(job), m_outputPhotoFormat, *toolkit_,
        [this](int done, int total) {
            controls_.progress->setRange(0, kProgressMaximum);
            controls_.progress->setValue(total > 0 ? done * kProgressMaximum / total : 0);
        },
        [this, afterAppend = std::move(afterAppend)](AddResult result) {
            FinishAdding(std::move(result), afterAppend);
        });
    if (!started) {
        QApplication::restoreOverrideCursor();
        controls_.progress->setRange(0, kProgressMaximum);
        controls_.progress->setValue(progressBeforeAdding_);
        activity_ = Activity::Idle;
        UpdateCommandStates();
    }
}

void MainWindow::FinishAdding(AddResult result, const std::function<void()>& afterAppend) {
    QApplication::restoreOverrideCursor();
    controls_.progress->setRange(0, kProgressMaximum);
    controls_.progress->setValue(progressBeforeAdding_);
    activity_ = Activity::Idle;
    for (const photolist::PhotoEntry& entry : result.entries) {
        list_.append(entry);
    }
    // A refused search root changes nothing; otherwise the view is rebuilt once, and the
    // folder of the last entry is remembered, even when this command added nothing.
    if (result.searchSucceeded && list_.photoCount > 0) {
        RefreshPhotoList();
        if (afterAppend) {
            afterAppend();
        }
    } else {
        UpdateCommandStates();
    }
    emit becameIdle();
    CloseIfPending();
}

void MainWindow::RememberFolderOfLastEntry(std::string_view key) {
    if (list_.size() == 0) {
        return;
    }
    store_.WriteString(shell::kOptionSection, key,
                       shell::FolderOfPath(list_[list_.size() - 1].path));
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (activity_ == Activity::Idle && event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths.push_back(QDir::toNativeSeparators(url.toLocalFile()).toStdString());
        }
    }
    event->acceptProposedAction();
    AddDroppedPaths(paths);
}

}  // namespace vellumo::app
