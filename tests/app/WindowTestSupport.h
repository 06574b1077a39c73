#pragma once
// Shared set-up of the window tests: an offscreen application, a main window over an
// in-memory settings store and a temporary folder, dialogs and message boxes answered
// by the test, and real image files made on the spot.

#include <gtest/gtest.h>

#include <QSize>
#include <QTemporaryDir>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "support/MemorySettingsStore.h"

namespace vellumo::test {

// Creates the QApplication once for the whole test program.
void EnsureApplication();

struct ShownMessage {
    std::string text;
    std::string caption;
    ui::MessageStyle style;
};

// Writes a photo of `size` (solid colour) as `format` ("PNG", "JPEG", "BMP").
bool WritePhoto(const std::string& path, QSize size, const char* format = "PNG");
// Writes a multi-page RGB TIFF with one page per size.
bool WriteMultiPageTiff(const std::string& path, const std::vector<QSize>& pages);
// Page sizes of a TIFF file; empty when it cannot be read.
std::vector<QSize> TiffPageSizes(const std::string& path);

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the window with the current store and dialogs_; the pictures folder is
    // Temp()/Pictures.
    void MakeWindow();
    // Makes the window anew with `dialogs` in place of the real ones.
    void UseDialogs(app::WindowDialogs dialogs);
    app::MainWindow& window() { return *window_; }
    const app::MainWindowControls& controls() { return window_->controls(); }

    // The temporary folder, ending in the separator.
    std::string Temp() const;
    // A file made in Temp() (folders created as needed); returns its path.
    std::string Photo(const std::string& name, QSize size, const char* format = "PNG");

    // Adds files through Add Photos as if chosen in the dialog, and waits.
    void AddThroughDialog(const std::vector<std::string>& files);
    // Fills the list with `count` photos named p0.png... of distinct widths 100 + i.
    void AddNumberedPhotos(int count);
    // The `fileName`s of the list, in order.
    std::vector<std::string> FileNames() const;
    // Waits until the window is idle (or fails the test after a timeout).
    void WaitIdle();
    std::vector<std::string> MessageTexts() const;

    MemorySettingsStore store_;
    // None by default: the tests open no real dialog.
    app::WindowDialogs dialogs_;
    std::vector<ShownMessage> messages_;
    std::deque<ui::Answer> answers_;  // for Yes/No questions; Yes when it runs out
    // What the next dialogs return.
    std::vector<std::string> nextOpenFiles_;
    std::optional<std::string> nextSaveFile_;
    std::optional<std::string> nextFolder_;
    // What the dialogs were asked.
    std::vector<app::OpenFilesRequest> openRequests_;
    std::vector<app::SaveFileRequest> saveRequests_;
    std::vector<QString> folderTitles_;

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<app::MainWindow> window_;
};

}  // namespace vellumo::test
