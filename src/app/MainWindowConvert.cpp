// Convert/Stop and the output file of the main window.
#include "app/AppTexts.h"
#include "app/MainWindow.h"
#include "app/OutputFileName.h"
#include "convert/ConversionRun.h"
#include "shell/Paths.h"

namespace vellumo::app {
namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

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

    convert::RunSettings settings;
    settings.outputFilePath = outputFilePath_;
    settings.mainRecord = m_outputPhotoFormat;
    settings.captionFont = windowSettings_.captionFont;
    settings.captionColor = windowSettings_.captionColor;
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
    runFinishing_ = false;
    UpdateCommandStates();
    runPoll_.start();
}

void MainWindow::OnConvertButtonText(const QString& text) {
    // The worker puts "Convert" back once it is done with the photos; it may still be
    // closing the output file then.
    if (activity_ == Activity::Converting && text == ToQString(texts::kConvert)) {
        runFinishing_ = true;
    }
}

void MainWindow::PollRun() {
    if (activity_ != Activity::Converting || run_->IsActive()) {
        return;
    }
    runPoll_.stop();
    activity_ = Activity::Idle;
    stopRequested_ = false;
    runFinishing_ = false;
    controls_.convert->setText(ToQString(texts::kConvert));
    UpdateCommandStates();
    emit becameIdle();
    CloseIfPending();
}

void MainWindow::BrowseOutputFile() {
    if (activity_ != Activity::Idle || !services_.interaction.saveFile) {
        return;
    }
    SaveFileRequest request;
    request.title = ToQString(texts::kSelectOutput);
    request.initialFolder = BrowseStartFolder(controls_.outputFile->text().toStdString());
    request.filter = {ToQString(texts::kTiffFilter), {QStringLiteral("*.tif")}};
    const std::optional<std::string> chosen = services_.interaction.saveFile(this, request);
    if (!chosen || chosen->empty()) {
        return;
    }
    outputFilePath_ = WithTifExtension(*chosen);
    outputFolder_ = shell::FolderOfPath(outputFilePath_);
    store_.WriteString(shell::kOptionSection, texts::kKeyLastOutputFolder, outputFolder_);
    const QString path = QString::fromStdString(outputFilePath_);
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
