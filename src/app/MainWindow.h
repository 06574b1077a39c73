#pragma once
// The main window: the photo list with its commands, the output file, Convert/Stop and
// the progress bar. It owns the photo list, the options record m_outputPhotoFormat,
// the output paths, the caption settings, its dialogs and the conversion run, and routes
// every command. It follows a run through the engine's events alone.

#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Interaction.h"
#include "app/ListCommands.h"
#include "app/MainWindowControls.h"
#include "app/PhotoAdder.h"
#include "app/WindowDialogs.h"
#include "app/WindowSettings.h"
#include "options/OutputPhotoFormat.h"
#include "photolist/PhotoList.h"
#include "shell/SettingsStore.h"
#include "shell/WorkingFolder.h"
#include "ui/qt/QtToolkit.h"

namespace vellumo::convert {
class ConversionRun;
}
namespace vellumo::app::dialogs {
class PreviewPane;
}

namespace vellumo::app {

// What the window needs from outside, replaceable in tests.
struct MainWindowServices {
    shell::PicturesFolderQuery picturesFolder = shell::SystemPicturesFolder;
    // Default of the folder settings when the pictures folder is unknown.
    std::string folderFallback = shell::FolderFallback();
    Interaction interaction = DefaultInteraction();
    ui::qt::MessageBoxFunction messageBox = ui::qt::ShowMessageBox;
    WindowDialogs dialogs = DefaultWindowDialogs();
};

class MainWindow : public QWidget {
    Q_OBJECT
  public:
    // Constructs (settings read) and initialises the window (folders resolved, controls
    // in their start states). `store` must outlive the window.
    explicit MainWindow(shell::SettingsStore& store, MainWindowServices services = {});
    ~MainWindow() override;

    // ---- state other modules and the tests read ----
    photolist::PhotoList& photoList() { return list_; }
    const photolist::PhotoList& photoList() const { return list_; }
    options::OutputPhotoFormat& outputPhotoFormat() { return m_outputPhotoFormat; }
    shell::SettingsStore& settings() { return store_; }
    ui::Toolkit& toolkit();
    const MainWindowControls& controls() const { return controls_; }
    QWidget* previewArea() const { return controls_.preview; }
    // The pane inside the preview area that shows the clicked row's frame.
    dialogs::PreviewPane* previewPane() const { return previewPane_; }
    const std::string& outputFolder() const { return outputFolder_; }
    const std::string& outputFilePath() const { return outputFilePath_; }
    const std::string& logFilePath() const { return logFilePath_; }
    const WindowSettings& windowSettings() const { return windowSettings_; }
    bool notRename() const { return notRename_; }
    // The selected rows of the list view, ascending.
    std::vector<int> SelectedRows() const;

    // A conversion run is active (from Convert until its worker has ended).
    bool IsConverting() const;
    // Converting, or photos being added.
    bool IsBusy() const;
    // Lets the window's events run until it is neither converting nor adding (until
    // becameIdle).
    void WaitUntilIdle();

    // ---- commands ----
    void RefreshPhotoList();
    void SetListCommandsEnabled(bool enabled);
    void AddPhotos();
    void SearchPhotos();
    // Dropped paths: files are added, folders and missing paths ignored, no message.
    void AddDroppedPaths(const std::vector<std::string>& paths);
    // Paths named when the program starts: files added in order, each folder searched
    // in its place as Search photos does.
    void OpenPaths(const std::vector<std::string>& paths);
    void MoveUp();
    void MoveDown();
    void DeleteSelected();
    void ClearList();
    void SortByColumn(int column);
    void EditSelected();
    void EditOptions();
    void ConvertOrStop();
    void BrowseOutputFile();
    void BrowseOutputFolder();
    // The folder picker ("Choose a folder"); nullopt when cancelled.
    std::optional<std::string> ChooseFolder();
    // The exit routine; false when it refused (a run is active). On true the settings
    // are written and the window may close.
    bool ExitRoutine();

  signals:
    // The window went idle after converting or adding photos.
    void becameIdle();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    enum class Activity { Idle, Adding, Converting };

    void Initialise();
    void ConnectCommands();
    void TransferMembersToControls();
    void TransferControlsToMembers();
    void UpdateCommandStates();
    void ShowMessage(std::string_view text, std::string_view caption, ui::MessageStyle style);
    void OnRowClicked();
    void OnNotRenameClicked();
    void OnFontClicked();
    ui::qt::ToolkitHandlers RunEventHandlers();
    void OnRunFinished();
    void AppendLogLine(const QString& line);
    void StartAdding(AddJob job, std::function<void()> afterAppend);
    void FinishAdding(AddResult result, const std::function<void()>& afterAppend);
    void RememberFolderOfLastEntry(std::string_view key);
    void RunDialog(const std::function<void(MainWindow&)>& dialog);
    void MoveSelected(MoveResult (*move)(photolist::PhotoList&, const std::vector<int>&));
    void CloseIfPending();

    shell::SettingsStore& store_;
    MainWindowServices services_;
    MainWindowControls controls_;
    dialogs::PreviewPane* previewPane_ = nullptr;
    std::unique_ptr<ui::qt::QtToolkit> toolkit_;
    std::unique_ptr<convert::ConversionRun> run_;
    PhotoAdder adder_;

    photolist::PhotoList list_;
    options::OutputPhotoFormat m_outputPhotoFormat;
    WindowSettings windowSettings_;
    bool notRename_ = true;
    std::string outputFolder_;
    std::string outputFilePath_;
    std::string logFilePath_;

    Activity activity_ = Activity::Idle;
    bool stopRequested_ = false;    // Stop was pressed during this run
    bool closePending_ = false;     // exit asked while busy: close once idle
    int progressBeforeAdding_ = 0;  // restored after photos were added
};

}  // namespace vellumo::app
