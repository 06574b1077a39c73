// Convert/Stop, the run's events and the output file of the main window.
#include <algorithm>

#include "app/AppTexts.h"
#include "app/MainWindow.h"
#include "app/OutputFileName.h"
#include "base/QtText.h"
#include "convert/ConversionRun.h"
#include "shell/ActivityLog.h"
#include "shell/Paths.h"

namespace vellumo::app {

using base::ToQString;

void MainWindow::ConvertOrStop() {
    if (activity_ == Activity::Converting || run_->IsActive()) {
        run_->RequestStop();
        stopRequested_ = true;
        return;
    }
    if (activity_ != Activity::Idle) {
        return;
    }
    TransferControlsToMembers();

    // The run's snapshot: what the controls hold now, the caption included.
    convert::RunSettings settings;
    settings.outputFilePath = outputFilePath_;
    settings.mainRecord = m_outputPhotoFormat;
    settings.caption.text = base::ToUtf8(controls_.captionText->text());
    settings.caption.positionX = base::ToUtf8(controls_.captionX->text());
    settings.caption.positionY = base::ToUtf8(controls_.captionY->text());
    settings.caption.font = windowSettings_.captionFont;
    settings.caption.color = windowSettings_.captionColor;
    settings.logFilePath = logFilePath_;

    const convert::StartResult started = run_->Convert(list_, settings);
    if (started == convert::StartResult::StopRequested) {
        stopRequested_ = true;
        return;
    }
    if (started != convert::StartResult::Started) {
        return;
    }
    activity_ = Activity::Converting;
    stopRequested_ = false;
    controls_.convert->setText(texts::Tr(texts::kStop));
    UpdateCommandStates();
}

ui::qt::ToolkitHandlers MainWindow::RunEventHandlers() {
    ui::qt::ToolkitHandlers h;
    h.progressChanged = [this](int position) {
        controls_.progress->setValue(std::clamp(position, 0, kProgressMaximum));
    };
    h.logCleared = [this] { controls_.logList->clear(); };
    h.logLineAdded = [this](const QString& line) { AppendLogLine(line); };
    h.captionPositionReset = [this](ui::Axis axis) {
        (axis == ui::Axis::X ? controls_.captionX : controls_.captionY)
            ->setText(QStringLiteral("0"));
    };
    h.runFinished = [this](const ui::RunSummary&) { OnRunFinished(); };
    return h;
}

void MainWindow::AppendLogLine(const QString& line) {
    controls_.logList->addItem(line);
    while (controls_.logList->count() > shell::kMaxLogListLines) {
        delete controls_.logList->takeItem(0);
    }
}

void MainWindow::OnRunFinished() {
    if (activity_ != Activity::Converting) {
        return;
    }
    activity_ = Activity::Idle;
    stopRequested_ = false;
    controls_.convert->setText(texts::Tr(texts::kConvert));
    UpdateCommandStates();
    emit becameIdle();
    CloseIfPending();
}

void MainWindow::BrowseOutputFile() {
    if (activity_ != Activity::Idle || !services_.interaction.saveFile) {
        return;
    }
    SaveFileRequest request;
    request.title = texts::Tr(texts::kSelectOutput);
    request.initialFolder = BrowseStartFolder(base::ToUtf8(controls_.outputFile->text()));
    request.filter = {texts::Tr(texts::kTiffFilter), {QStringLiteral("*.tif")}};
    const std::optional<std::string> chosen = services_.interaction.saveFile(this, request);
    if (!chosen || chosen->empty()) {
        return;
    }
    outputFilePath_ = WithTifExtension(*chosen);
    outputFolder_ = shell::FolderOfPath(outputFilePath_);
    store_.WriteString(shell::kOptionSection, texts::kKeyLastOutputFolder, outputFolder_);
    const QString path = ToQString(outputFilePath_);
    controls_.outputFile->setMaxLength(std::max<int>(kOutputFileMaxTyped, path.size()));
    controls_.outputFile->setText(path);
}

void MainWindow::BrowseOutputFolder() {
    if (activity_ != Activity::Idle) {
        return;
    }
    const std::optional<std::string> folder = ChooseFolder();
    if (!folder) {
        return;
    }
    outputFolder_ = shell::EnsureTrailingBackslash(*folder);
    TransferMembersToControls();
}

}  // namespace vellumo::app
