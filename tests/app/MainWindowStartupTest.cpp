// Start-up, the window's make-up and the exit routine.
#include <QHeaderView>
#include <QTest>
#include <filesystem>

#include "WindowTestSupport.h"

namespace vellumo::test {
namespace {

using shell::kFontSection;
using shell::kOptionSection;

class StartupTest : public WindowTest {};

TEST_F(StartupTest, CleanProfileProposesOutputInTheNewWorkingFolder) {
    MakeWindow();
    const std::string working = Temp() + "Pictures/Vellumo/";
    EXPECT_TRUE(std::filesystem::is_directory(working));
    EXPECT_EQ(window().outputFolder(), working);
    EXPECT_EQ(window().outputFilePath(), working + "output.tif");
    EXPECT_EQ(window().logFilePath(), working + "Brindle.log");
    EXPECT_EQ(controls().outputFile->text().toStdString(), working + "output.tif");
    EXPECT_TRUE(messages_.empty());
    // Nothing is written at start-up.
    EXPECT_TRUE(store_.writes.empty());
    // The two folder keys are read, in order.
    const auto first =
        std::find(store_.reads.begin(), store_.reads.end(), "Option/photo_output_folder");
    const auto second =
        std::find(store_.reads.begin(), store_.reads.end(), "Option/last_output_folder");
    ASSERT_NE(first, store_.reads.end());
    ASSERT_NE(second, store_.reads.end());
    EXPECT_LT(first, second);
}

TEST_F(StartupTest, ExitWritesEveryKeyOfTheWindow) {
    MakeWindow();
    ASSERT_TRUE(window().ExitRoutine());
    const std::string working = Temp() + "Pictures/Vellumo/";
    EXPECT_EQ(store_.String(kOptionSection, "photo_output_folder"), working);
    EXPECT_EQ(store_.String(kOptionSection, "m_batch_renamer"), "output.photo");
    EXPECT_EQ(store_.Int(kFontSection, "lfHeight"), -13);
    EXPECT_EQ(store_.Int(kFontSection, "lfWeight"), 400);
    for (const char* key :
         {"lfWidth", "lfEscapement", "lfOrientation", "lfItalic", "lfUnderline", "lfStrikeOut",
          "lfCharSet", "lfOutPrecision", "lfClipPrecision", "lfPitchAndFamily", "nCurrentColor"}) {
        EXPECT_EQ(store_.Int(kFontSection, key), 0) << key;
    }
    EXPECT_EQ(store_.String(kFontSection, "lfFaceName"), "");
    // Keys written only by other commands stay unwritten.
    EXPECT_FALSE(store_.Has(kOptionSection, "last_output_folder"));
    EXPECT_FALSE(store_.Has(kOptionSection, "LastPhotoFolder"));
}

TEST_F(StartupTest, StoredFoldersAreUsedAsStored) {
    store_.WriteString(kOptionSection, "photo_output_folder", "/srv/logs");
    store_.WriteString(kOptionSection, "last_output_folder", "/srv/out");
    store_.writes.clear();
    MakeWindow();
    // The log folder gains its separator; the output folder is joined as stored.
    EXPECT_EQ(window().logFilePath(), "/srv/logs/Brindle.log");
    EXPECT_EQ(window().outputFilePath(), "/srv/outoutput.tif");
    // At exit the log folder of the next run becomes the output folder this run started with.
    ASSERT_TRUE(window().ExitRoutine());
    EXPECT_EQ(store_.String(kOptionSection, "photo_output_folder"), "/srv/out");
}

TEST_F(StartupTest, ExitKeepsTheStartFolderEvenAfterBrowse) {
    store_.WriteString(kOptionSection, "last_output_folder", "/srv/out/");
    MakeWindow();
    nextSaveFile_ = "/elsewhere/album.jpg";
    window().BrowseOutputFile();
    EXPECT_EQ(store_.String(kOptionSection, "last_output_folder"), "/elsewhere/");
    ASSERT_TRUE(window().ExitRoutine());
    EXPECT_EQ(store_.String(kOptionSection, "photo_output_folder"), "/srv/out/");
}

TEST_F(StartupTest, GarbageSettingsStartWithDefaultsAndNoMessage) {
    store_.WriteInt(kOptionSection, "photo_output_folder", 5);
    store_.WriteInt(kOptionSection, "last_output_folder", -1);
    store_.WriteInt(kOptionSection, "m_batch_renamer", 7);
    store_.WriteString(kFontSection, "lfHeight", "tall");
    store_.WriteString(kFontSection, "lfWeight", "");
    store_.WriteString(kFontSection, "nCurrentColor", "#ff0000");
    MakeWindow();
    EXPECT_TRUE(messages_.empty());
    const std::string working = Temp() + "Pictures/Vellumo/";
    EXPECT_EQ(window().outputFilePath(), working + "output.tif");
    EXPECT_EQ(window().windowSettings().captionFont, options::CaptionFont{});
    EXPECT_EQ(window().windowSettings().captionColor, 0u);
    EXPECT_EQ(window().windowSettings().batchRenamePrefix, "output.photo");
}

TEST_F(StartupTest, StoredCaptionSettingsAreLoaded) {
    store_.WriteInt(kFontSection, "lfHeight", -30);
    store_.WriteInt(kFontSection, "lfItalic", 1);
    store_.WriteString(kFontSection, "lfFaceName", "DejaVu Serif");
    store_.WriteInt(kFontSection, "nCurrentColor", 0x0000FF);
    store_.WriteString(kOptionSection, "m_batch_renamer", "trip");
    MakeWindow();
    const app::WindowSettings& s = window().windowSettings();
    EXPECT_EQ(s.captionFont.lfHeight, -30);
    EXPECT_EQ(s.captionFont.lfItalic, 1);
    EXPECT_EQ(s.captionFont.lfFaceName, "DejaVu Serif");
    EXPECT_EQ(s.captionColor, 0x0000FFu);
    EXPECT_EQ(controls().renamePrefix->text(), QStringLiteral("trip"));
}

TEST_F(StartupTest, UnknownPicturesFolderIsReportedOncePerFolderSetting) {
    MakeWindow();  // a first window only to have the services at hand
    window_.reset();
    messages_.clear();
    app::MainWindowServices services;
    services.picturesFolder = [] { return std::optional<std::string>(); };
    services.folderFallback = Temp();
    services.messageBox = [this](QWidget*, const QString& text, const QString& caption,
                                 ui::MessageStyle style) {
        messages_.push_back({text.toStdString(), caption.toStdString(), style});
        return ui::Answer::Ok;
    };
    window_ = std::make_unique<app::MainWindow>(store_, std::move(services));
    ASSERT_EQ(messages_.size(), 2u);
    for (const ShownMessage& m : messages_) {
        EXPECT_EQ(m.text, "Can not get My Documents directory!");
        EXPECT_EQ(m.caption, "Error");
    }
    EXPECT_EQ(window().outputFilePath(), Temp() + "output.tif");
}

TEST_F(StartupTest, WindowShowsItsControlsInTheirStartStates) {
    MakeWindow();
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Vellumo"));
    EXPECT_EQ(window().minimumSize(), window().maximumSize());
    EXPECT_TRUE(window().windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window().windowFlags() & Qt::WindowMaximizeButtonHint);

    const app::MainWindowControls& c = controls();
    const std::vector<std::pair<QAbstractButton*, const char*>> visible = {
        {c.addPhotos, "Add Photos"},
        {c.searchPhotos, "Search photos"},
        {c.options, "Options"},
        {c.convert, "Convert"},
        {c.help, "Help"},
        {c.edit, "Edit"},
        {c.up, "Up"},
        {c.down, "Down"},
        {c.remove, "Delete"},
        {c.clear, "Clear"},
        {c.browseOutput, "Browse"},
        {c.update, "Update"},
        {c.about, "About"},
        {c.exit, "Exit"}};
    for (const auto& [button, caption] : visible) {
        EXPECT_TRUE(button->isVisible()) << caption;
        EXPECT_EQ(button->text(), QString::fromUtf8(caption));
    }
    EXPECT_EQ(c.outputFileLabel->text(), QStringLiteral("Output file:"));
    EXPECT_EQ(c.totalPages->text(), QStringLiteral("Total Pages:"));
    EXPECT_TRUE(c.photoList->isVisible());
    EXPECT_TRUE(c.preview->isVisible());
    EXPECT_TRUE(c.progress->isVisible());
    EXPECT_EQ(c.progress->minimum(), 0);
    EXPECT_EQ(c.progress->maximum(), 999);
    EXPECT_EQ(c.progress->value(), 0);
    EXPECT_EQ(c.outputFile->maxLength(), 256);

    // The six list commands start disabled.
    for (QAbstractButton* b : {c.convert, c.edit, c.up, c.down, c.remove, c.clear}) {
        EXPECT_FALSE(b->isEnabled()) << b->text().toStdString();
    }
    // Dormant controls exist but are hidden.
    for (QWidget* w : std::initializer_list<QWidget*>{
             c.captionTextLabel, c.captionText, c.captionPositionLabel, c.captionX, c.captionY,
             c.font, c.fontFace, c.renamePrefixLabel, c.renamePrefix, c.renameSuffixLabel,
             c.notRename, c.outputFolderLabel, c.outputFolder, c.browseFolder, c.logList, c.viewLog,
             c.saveList, c.loadList}) {
        EXPECT_FALSE(w->isVisible()) << w->metaObject()->className();
    }
    EXPECT_TRUE(c.notRename->isChecked());
    EXPECT_EQ(c.outputFolder->text().toStdString(), window().outputFolder());

    // Every visible control lies inside the window.
    for (QWidget* w : window().findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (w->isVisible()) {
            EXPECT_TRUE(window().rect().contains(w->geometry())) << w->metaObject()->className();
        }
    }
}

TEST_F(StartupTest, ListViewHasTheFiveCentredColumns) {
    MakeWindow();
    const app::PhotoListView* view = controls().photoList;
    ASSERT_EQ(view->columnCount(), 5);
    const QStringList headings = {"File name", "Width * Height", "Total Frames", "Frame sequence",
                                  "Output Width * Height"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(view->horizontalHeaderItem(i)->text(), headings[i]);
    }
    // The widths keep the proportions 200:100:120:120:150 (to a pixel of rounding).
    EXPECT_NEAR(view->columnWidth(0), 2 * view->columnWidth(1), 2);
    EXPECT_EQ(view->columnWidth(2), view->columnWidth(3));
    EXPECT_NEAR(view->columnWidth(4) * 4, view->columnWidth(1) * 6, 6);
    EXPECT_TRUE(view->horizontalHeader()->defaultAlignment() & Qt::AlignHCenter);
    EXPECT_TRUE(view->showGrid());
    EXPECT_EQ(view->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(view->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(view->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(StartupTest, EnterAndEscapeDoNotCloseTheWindow) {
    MakeWindow();
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    controls().outputFile->setFocus();
    QTest::keyClick(controls().outputFile, Qt::Key_Return);
    QTest::keyClick(&window(), Qt::Key_Escape);
    controls().addPhotos->setFocus();
    QTest::keyClick(controls().addPhotos, Qt::Key_Enter);
    QTest::keyClick(controls().addPhotos, Qt::Key_Escape);
    EXPECT_TRUE(window().isVisible());
    EXPECT_TRUE(messages_.empty());
    // Enter on a focused button does not press it either (no file dialog was asked).
    EXPECT_TRUE(openRequests_.empty());
}

TEST_F(StartupTest, TabOrderFollowsTheLayout) {
    MakeWindow();
    const app::MainWindowControls& c = controls();
    const std::vector<QWidget*> expected = {c.addPhotos,    c.searchPhotos, c.options, c.convert,
                                            c.help,         c.photoList,    c.edit,    c.up,
                                            c.down,         c.remove,       c.clear,   c.outputFile,
                                            c.browseOutput, c.update,       c.about,   c.exit};
    for (size_t i = 0; i + 1 < expected.size(); ++i) {
        // The next focusable widget in the chain, skipping hidden and disabled ones.
        QWidget* next = expected[i]->nextInFocusChain();
        while (next != expected[i + 1] &&
               std::find(expected.begin(), expected.end(), next) == expected.end()) {
            next = next->nextInFocusChain();
        }
        EXPECT_EQ(next, expected[i + 1]) << i;
    }
}

TEST_F(StartupTest, OutputBrowseAppliesTheTifRule) {
    MakeWindow();
    nextSaveFile_ = "/pages/final.jpg";
    window().BrowseOutputFile();
    ASSERT_EQ(saveRequests_.size(), 1u);
    EXPECT_EQ(saveRequests_[0].title, QStringLiteral("Select Output"));
    EXPECT_EQ(saveRequests_[0].filter.description, QStringLiteral("Tif/Tiff file(*.tif)"));
    EXPECT_EQ(saveRequests_[0].initialFolder, Temp() + "Pictures/Vellumo");
    EXPECT_EQ(controls().outputFile->text(), QStringLiteral("/pages/final.tif"));
    EXPECT_EQ(store_.String(kOptionSection, "last_output_folder"), "/pages/");

    nextSaveFile_ = "/my.photos/final";
    window().BrowseOutputFile();
    EXPECT_EQ(controls().outputFile->text(), QStringLiteral("/my.photos/final.tif"));
    EXPECT_EQ(saveRequests_[1].initialFolder, "/pages");

    // Cancel changes nothing.
    store_.writes.clear();
    window().BrowseOutputFile();
    EXPECT_EQ(controls().outputFile->text(), QStringLiteral("/my.photos/final.tif"));
    EXPECT_TRUE(store_.writes.empty());

    // A long chosen path is kept whole although typing stops at 256 characters.
    const std::string longPath = "/" + std::string(300, 'd') + "/x.png";
    nextSaveFile_ = longPath;
    window().BrowseOutputFile();
    EXPECT_EQ(controls().outputFile->text().toStdString(), "/" + std::string(300, 'd') + "/x.tif");
}

TEST_F(StartupTest, NextStartProposesTheBrowsedFolder) {
    MakeWindow();
    nextSaveFile_ = Temp() + "chosen/album.tif";
    window().BrowseOutputFile();
    ASSERT_TRUE(window().ExitRoutine());
    window_.reset();
    MakeWindow();
    EXPECT_EQ(window().outputFilePath(), Temp() + "chosen/output.tif");
}

// The dormant rename box still works when clicked: it decides by the flag it had before
// the click, so ticks alternately enable and disable the three rename controls.
TEST_F(StartupTest, NotRenameAlternatelyEnablesAndDisablesTheRenameControls) {
    MakeWindow();
    const auto& c = controls();
    const std::initializer_list<QWidget*> renameControls = {c.renamePrefixLabel, c.renamePrefix,
                                                            c.renameSuffixLabel};
    ASSERT_TRUE(window().notRename());
    for (const bool expectEnabled : {true, false, true}) {
        c.notRename->click();
        EXPECT_EQ(window().notRename(), !expectEnabled);
        for (QWidget* w : renameControls) {
            EXPECT_EQ(w->isEnabled(), expectEnabled) << w->metaObject()->className();
        }
    }
}

}  // namespace
}  // namespace vellumo::test
