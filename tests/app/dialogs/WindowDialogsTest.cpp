// The real dialogs of the main window: clicks in the list preview and edit,
// the buttons open what they should, and the window carries the program's icon.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "../WindowTestSupport.h"
#include "ColouredTiff.h"
#include "DialogTestSupport.h"
#include "ScriptedDialogs.h"
#include "app/dialogs/CaptionFontPicker.h"
#include "app/dialogs/Launchers.h"
#include "app/dialogs/PreviewPane.h"
#include "app/dialogs/ProductInfo.h"

namespace vellumo::app::dialogs {
namespace {

class RealDialogsTest : public test::WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        dialogs_ = app::DefaultWindowDialogs();
        MakeWindow();
        window().show();
        pane_ = window().previewPane();
        ASSERT_NE(pane_, nullptr);
        previousOpener_ = SetUrlOpener([this](const QUrl& url) {
            opened_.push_back(url);
            return true;
        });
    }
    void TearDown() override {
        SetUrlOpener(std::move(previousOpener_));
        WindowTest::TearDown();
    }

    QPoint RowCentre(int row) {
        PhotoListView* view = controls().photoList;
        return view->visualItemRect(view->item(row, 1)).center();
    }
    QString Cell(int row, int column) { return controls().photoList->item(row, column)->text(); }

    // Closes the modal dialog that the next command opens, noting its title.
    void CloseNextModal(QString* title) {
        QTimer::singleShot(0, [title] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                *title = modal->windowTitle();
                modal->close();
            }
        });
    }

    PreviewPane* pane_ = nullptr;
    test::MessageRecorder dialogMessages_;
    std::vector<QUrl> opened_;
    UrlOpener previousOpener_;
};

TEST_F(RealDialogsTest, ClickedRowShowsItsFrameUntilAnotherRowIsClicked) {
    const std::string path = Temp() + "three.tif";
    ASSERT_TRUE(test::WriteColouredTiff(
        path, {{40, 30, qRgb(255, 0, 0)}, {64, 16, qRgb(0, 200, 0)}, {20, 50, qRgb(0, 0, 255)}}));
    AddThroughDialog({path});
    ASSERT_EQ(window().photoList().size(), 3u);

    QSignalSpy shown(pane_, &PreviewPane::previewShown);
    QTest::mouseClick(controls().photoList->viewport(), Qt::LeftButton, {}, RowCentre(1));
    ASSERT_TRUE(shown.wait(20000));
    const QPoint middle(pane_->width() / 2, pane_->height() / 2);
    EXPECT_TRUE(test::Near(pane_->grab().toImage().pixel(middle), qRgb(0, 200, 0)));
    // The pane sits inside the window's preview area.
    EXPECT_TRUE(controls().preview->geometry().contains(pane_->mapTo(&window(), QPoint(0, 0))));

    // Clearing the list and repainting leave the picture.
    controls().clear->click();
    ASSERT_TRUE(window().photoList().empty());
    window().repaint();
    EXPECT_TRUE(test::Near(pane_->grab().toImage().pixel(middle), qRgb(0, 200, 0)));
    EXPECT_TRUE(dialogMessages_.shown.empty());
}

TEST_F(RealDialogsTest, EditButtonEditsEachSelectedRowAndTheRowsShowTheNewSizes) {
    AddThroughDialog({Photo("a.png", QSize(300, 200)), Photo("b.png", QSize(100, 400)),
                      Photo("c.png", QSize(50, 50))});
    controls().photoList->SelectRows({0, 2});
    test::ScriptedDialogs dialogs({test::CustomWidth(150), test::Cancel()});
    controls().edit->click();

    EXPECT_EQ(dialogs.shown(), 2u);
    EXPECT_EQ(Cell(0, 4), "150*100");
    EXPECT_EQ(Cell(1, 4), "100*400");
    EXPECT_EQ(Cell(2, 4), "50*50");
}

TEST_F(RealDialogsTest, CancelledOptionsKeepTheSelectionForTheNextEdit) {
    AddThroughDialog({Photo("a.png", QSize(300, 200)), Photo("b.png", QSize(100, 400))});
    controls().photoList->SelectRows({1});
    test::ScriptedDialogs dialogs({test::Cancel(), test::CustomWidth(50)});
    controls().options->click();
    EXPECT_EQ(window().SelectedRows(), std::vector<int>{1});
    controls().edit->click();
    EXPECT_EQ(dialogs.shown(), 2u);
    EXPECT_EQ(Cell(1, 4), "50*200");
    EXPECT_TRUE(messages_.empty());
}

TEST_F(RealDialogsTest, OptionsAnsweredYesResizesEveryRow) {
    AddThroughDialog({Photo("a.png", QSize(300, 200)), Photo("b.png", QSize(100, 400))});
    test::ScriptedDialogs dialogs({test::CustomWidth(60)});
    dialogMessages_.answers = {ui::Answer::Yes};
    controls().options->click();

    EXPECT_EQ(dialogMessages_.texts(),
              std::vector<std::string>{"Do you want to change all output settings of photos?"});
    EXPECT_EQ(window().outputPhotoFormat().nOutputWidth, 60);
    EXPECT_EQ(Cell(0, 4), "60*40");
    EXPECT_EQ(Cell(1, 4), "60*240");
    // Photos added afterwards receive the new options too.
    AddThroughDialog({Photo("c.png", QSize(30, 90))});
    EXPECT_EQ(Cell(2, 4), "60*180");
}

TEST_F(RealDialogsTest, HelpUpdateAndViewLogHandTheirPagesToTheDesktop) {
    controls().help->click();
    // F1 works wherever the focus is in the window.
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    QTest::keyClick(controls().photoList, Qt::Key_F1);
    controls().update->click();
    ASSERT_EQ(opened_.size(), 3u);
    EXPECT_TRUE(opened_[0].toLocalFile().endsWith("Introduction.htm"));
    EXPECT_EQ(opened_[1], opened_[0]);
    EXPECT_EQ(opened_[2], QUrl(ProductHomepage()));

    // No activity log has been written in this fresh profile.
    controls().viewLog->click();
    EXPECT_EQ(dialogMessages_.texts(), std::vector<std::string>{"There is not log file now!"});
    EXPECT_EQ(opened_.size(), 3u);
}

TEST_F(RealDialogsTest, AboutOpensTheAboutBoxAndTheWindowHasTheProgramsIcon) {
    QString title;
    CloseNextModal(&title);
    controls().about->click();
    EXPECT_EQ(title, "About");
    EXPECT_FALSE(window().windowIcon().isNull());
}

TEST_F(RealDialogsTest, FontButtonStoresTheChosenFontAndColour) {
    options::CaptionFont chosen;
    chosen.lfFaceName = "DejaVu Serif";
    chosen.lfHeight = -24;
    const auto previous = SetFontPicker([&](QWidget*, const options::CaptionFont&) {
        return std::optional<CaptionFontChoice>(
            CaptionFontChoice{chosen, options::MakeColorRef(0, 128, 0)});
    });
    controls().font->click();
    SetFontPicker(previous);
    EXPECT_EQ(window().windowSettings().captionFont, chosen);
    EXPECT_EQ(window().windowSettings().captionColor, options::MakeColorRef(0, 128, 0));
    EXPECT_EQ(controls().fontFace->text(), "DejaVu Serif");
}

}  // namespace
}  // namespace vellumo::app::dialogs
