#include "app/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QHeaderView>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include "app/AppTexts.h"
#include "app/OutputFileName.h"
#include "app/dialogs/AppIcon.h"
#include "app/dialogs/PreviewPane.h"
#include "base/QtText.h"
#include "convert/ConversionRun.h"
#include "shell/ActivityLog.h"
#include "shell/Paths.h"

namespace vellumo::app {
namespace {

using base::ToQString;

// The pane fills the inside of the window's preview area, within its border.
dialogs::PreviewPane* AddPreviewPane(QWidget* area) {
    auto* pane = new dialogs::PreviewPane(area);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pane);
    return pane;
}

}  // namespace

MainWindow::MainWindow(shell::SettingsStore& store, MainWindowServices services)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      store_(store),
      services_(std::move(services)) {
    setWindowTitle(ToQString(texts::kWindowTitle));
    setWindowIcon(dialogs::ApplicationIcon());
    controls_ = BuildMainWindowControls(this, DialogUnits(font()));
    previewPane_ = AddPreviewPane(controls_.preview);
    toolkit_ = std::make_unique<ui::qt::QtToolkit>(this, RunEventHandlers(), services_.messageBox);
    run_ = std::make_unique<convert::ConversionRun>(*toolkit_);

    // Construction: the list is empty, m_outputPhotoFormat has its start-up values, the
    // caption font, colour and rename prefix come from the store.
    windowSettings_ = LoadWindowSettings(store_);
    notRename_ = true;

    ConnectCommands();
    Initialise();
}

MainWindow::~MainWindow() {
    // A worker may be waiting on this thread (a message box): let it finish first.
    adder_.Cancel();
    if (run_ && run_->IsActive()) {
        run_->RequestStop();
    }
    WaitUntilIdle();
}

ui::Toolkit& MainWindow::toolkit() {
    return *toolkit_;
}

void MainWindow::Initialise() {
    // The list view and its columns exist; the count and the sort directions start clear.
    list_.photoCount = static_cast<int32_t>(list_.size());
    list_.fileNameSortToggle = false;
    list_.modifiedSortToggle = false;

    // The log lies in the folder of "photo_output_folder", fixed for the whole session.
    const std::string fallback = services_.folderFallback;
    outputFolder_ = shell::EnsureTrailingBackslash(
        shell::ResolveFolderSetting(store_, shell::kOptionSection, texts::kKeyPhotoOutputFolder,
                                    fallback, *toolkit_, services_.picturesFolder));
    logFilePath_ = shell::LogFilePathIn(outputFolder_);

    controls_.logList->hide();
    controls_.viewLog->hide();
    controls_.saveList->hide();
    controls_.loadList->hide();

    controls_.progress->setRange(0, kProgressMaximum);
    controls_.progress->setValue(0);

    SetListCommandsEnabled(false);

    for (QWidget* w :
         {static_cast<QWidget*>(controls_.captionTextLabel),
          static_cast<QWidget*>(controls_.captionText),
          static_cast<QWidget*>(controls_.captionPositionLabel),
          static_cast<QWidget*>(controls_.fontFace), static_cast<QWidget*>(controls_.font),
          static_cast<QWidget*>(controls_.captionY), static_cast<QWidget*>(controls_.captionX),
          static_cast<QWidget*>(controls_.renamePrefixLabel),
          static_cast<QWidget*>(controls_.renamePrefix),
          static_cast<QWidget*>(controls_.renameSuffixLabel),
          static_cast<QWidget*>(controls_.notRename)}) {
        w->hide();
    }

    // The output file is proposed in the last output folder, joined as stored.
    outputFolder_ =
        shell::ResolveFolderSetting(store_, shell::kOptionSection, texts::kKeyLastOutputFolder,
                                    fallback, *toolkit_, services_.picturesFolder);
    outputFilePath_ = ProposedOutputFile(outputFolder_);

    controls_.outputFolderLabel->hide();
    controls_.outputFolder->hide();
    controls_.browseFolder->hide();

    setAcceptDrops(true);
    TransferMembersToControls();
    UpdateCommandStates();
}

void MainWindow::ConnectCommands() {
    const MainWindowControls& c = controls_;
    connect(c.addPhotos, &QPushButton::clicked, this, [this] { AddPhotos(); });
    connect(c.searchPhotos, &QPushButton::clicked, this, [this] { SearchPhotos(); });
    connect(c.options, &QPushButton::clicked, this, [this] { EditOptions(); });
    connect(c.convert, &QPushButton::clicked, this, [this] { ConvertOrStop(); });
    connect(c.help, &QPushButton::clicked, this, [this] { RunDialog(services_.dialogs.help); });
    connect(c.edit, &QPushButton::clicked, this, [this] { EditSelected(); });
    connect(c.up, &QPushButton::clicked, this, [this] { MoveUp(); });
    connect(c.down, &QPushButton::clicked, this, [this] { MoveDown(); });
    connect(c.remove, &QPushButton::clicked, this, [this] { DeleteSelected(); });
    connect(c.clear, &QPushButton::clicked, this, [this] { ClearList(); });
    connect(c.browseOutput, &QPushButton::clicked, this, [this] { BrowseOutputFile(); });
    connect(c.browseFolder, &QPushButton::clicked, this, [this] { BrowseOutputFolder(); });
    connect(c.font, &QPushButton::clicked, this, [this] { OnFontClicked(); });
    connect(c.notRename, &QCheckBox::clicked, this, [this] { OnNotRenameClicked(); });
    connect(c.about, &QPushButton::clicked, this, [this] { RunDialog(services_.dialogs.about); });
    connect(c.update, &QPushButton::clicked, this, [this] { RunDialog(services_.dialogs.update); });
    connect(c.viewLog, &QPushButton::clicked, this,
            [this] { RunDialog(services_.dialogs.viewLog); });
    connect(c.loadList, &QPushButton::clicked, this,
            [this] { RunDialog(services_.dialogs.loadList); });
    connect(c.exit, &QPushButton::clicked, this, [this] { close(); });
    connect(c.photoList, &PhotoListView::rowClicked, this, [this] { OnRowClicked(); });
    connect(c.photoList, &PhotoListView::editRequested, this, [this] { EditSelected(); });
    connect(c.photoList->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { SortByColumn(column); });
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, [this] { RunDialog(services_.dialogs.help); });
}

void MainWindow::RunDialog(const std::function<void(MainWindow&)>& dialog) {
    if (dialog) {
        dialog(*this);
    }
}

void MainWindow::TransferMembersToControls() {
    controls_.outputFolder->setText(ToQString(outputFolder_));
    controls_.renamePrefix->setText(ToQString(windowSettings_.batchRenamePrefix));
    controls_.notRename->setChecked(notRename_);
    const QString path = ToQString(outputFilePath_);
    // Typing is limited; a longer path chosen by Browse is kept whole, never cut.
    controls_.outputFile->setMaxLength(std::max<int>(kOutputFileMaxTyped, path.size()));
    controls_.outputFile->setText(path);
}

void MainWindow::TransferControlsToMembers() {
    outputFolder_ = base::ToUtf8(controls_.outputFolder->text());
    windowSettings_.batchRenamePrefix = base::ToUtf8(controls_.renamePrefix->text());
    notRename_ = controls_.notRename->isChecked();
    outputFilePath_ = base::ToUtf8(controls_.outputFile->text());
}

void MainWindow::SetListCommandsEnabled(bool enabled) {
    for (QPushButton* button : {controls_.convert, controls_.edit, controls_.up, controls_.down,
                                controls_.remove, controls_.clear}) {
        button->setEnabled(enabled);
    }
}

void MainWindow::UpdateCommandStates() {
    const bool idle = activity_ == Activity::Idle;
    const bool converting = activity_ == Activity::Converting;
    // Nothing may change the list, its options or the output path while a run reads
    // them or photos are being added.
    SetListCommandsEnabled(idle && list_.photoCount > 0);
    controls_.convert->setEnabled(converting || (idle && list_.photoCount > 0));
    controls_.edit->setEnabled(idle && list_.photoCount > 0 &&
                               services_.dialogs.editPhotos != nullptr);
    controls_.addPhotos->setEnabled(idle);
    controls_.searchPhotos->setEnabled(idle);
    controls_.options->setEnabled(idle && services_.dialogs.editOptions != nullptr);
    controls_.browseOutput->setEnabled(idle);
    controls_.browseFolder->setEnabled(idle);
    controls_.outputFile->setReadOnly(!idle);
    controls_.photoList->horizontalHeader()->setSectionsClickable(idle);
    controls_.help->setEnabled(services_.dialogs.help != nullptr);
    controls_.about->setEnabled(services_.dialogs.about != nullptr);
    controls_.update->setEnabled(services_.dialogs.update != nullptr);
    controls_.font->setEnabled(idle && services_.dialogs.chooseCaptionFont != nullptr);
}

void MainWindow::ShowMessage(std::string_view text, std::string_view caption,
                             ui::MessageStyle style) {
    toolkit_->MessageBox(text, caption, style);
}

std::vector<int> MainWindow::SelectedRows() const {
    return controls_.photoList->SelectedRows();
}

bool MainWindow::IsConverting() const {
    return activity_ == Activity::Converting;
}

bool MainWindow::IsBusy() const {
    return activity_ != Activity::Idle || adder_.IsRunning();
}

void MainWindow::WaitUntilIdle() {
    if (!IsBusy()) {
        return;
    }
    QEventLoop loop;
    connect(this, &MainWindow::becameIdle, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void MainWindow::OnNotRenameClicked() {
    // The flag as it was before the click decides.
    const bool wasNotRename = notRename_;
    for (QWidget* w : {static_cast<QWidget*>(controls_.renamePrefixLabel),
                       static_cast<QWidget*>(controls_.renamePrefix),
                       static_cast<QWidget*>(controls_.renameSuffixLabel)}) {
        w->setEnabled(wasNotRename);
    }
    notRename_ = !wasNotRename;
}

void MainWindow::OnFontClicked() {
    if (!services_.dialogs.chooseCaptionFont) {
        return;
    }
    options::CaptionFont font = windowSettings_.captionFont;
    options::ColorRef colour = 0;  // the picker always starts at black
    if (services_.dialogs.chooseCaptionFont(*this, font, colour)) {
        windowSettings_.captionFont = font;
        windowSettings_.captionColor = colour;
        controls_.fontFace->setText(ToQString(font.lfFaceName));
    }
}

bool MainWindow::ExitRoutine() {
    if (activity_ == Activity::Converting && !stopRequested_) {
        ShowMessage(texts::TrUtf8(texts::kStopConvertingFirst),
                    texts::TrUtf8(texts::kWarningCaption), ui::MessageStyle::Warning);
        return false;
    }
    // A run that was stopped or is closing its file, or photos still being added: the
    // window closes once they have ended, so nothing is written or torn down under them.
    // (Waiting here could wait for ourselves: the worker may be blocked on this thread.)
    if (IsBusy()) {
        adder_.Cancel();
        if (!closePending_) {
            closePending_ = true;
            QApplication::setOverrideCursor(Qt::WaitCursor);
        }
        return false;
    }
    TransferControlsToMembers();
    SaveExitSettings(store_, outputFolder_, windowSettings_);
    RunDialog(services_.dialogs.releasePreview);
    return true;
}

void MainWindow::CloseIfPending() {
    if (closePending_) {
        closePending_ = false;
        QApplication::restoreOverrideCursor();
        QTimer::singleShot(0, this, [this] { close(); });
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (ExitRoutine()) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace vellumo::app
