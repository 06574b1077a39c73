// The list view and the list commands as the window carries them out.
#include <QHeaderView>
#include <QScrollBar>
#include <QTest>
#include <algorithm>

#include "WindowTestSupport.h"

namespace vellumo::test {
namespace {

class ListTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        MakeWindow();
        window().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    }
    void Select(const std::vector<int>& rows) { controls().photoList->SelectRows(rows); }
    std::vector<std::string> Names(std::initializer_list<int> indexes) {
        std::vector<std::string> names;
        for (const int i : indexes) {
            names.push_back("p" + std::to_string(i) + ".png");
        }
        return names;
    }
    // The file names the view shows, row by row.
    std::vector<std::string> ViewNames() {
        std::vector<std::string> names;
        for (int row = 0; row < controls().photoList->rowCount(); ++row) {
            names.push_back(controls().photoList->item(row, 0)->text().toStdString());
        }
        return names;
    }
    QPoint RowCentre(int row) {
        app::PhotoListView* view = controls().photoList;
        return view->visualItemRect(view->item(row, 1)).center();
    }
};

TEST_F(ListTest, RefreshShowsEveryEntryAndEnablesTheListCommands) {
    AddNumberedPhotos(3);
    const app::PhotoListView* view = controls().photoList;
    ASSERT_EQ(view->rowCount(), 3);
    EXPECT_EQ(view->item(0, 0)->text(), QStringLiteral("p0.png"));
    EXPECT_EQ(view->item(1, 1)->text(), QStringLiteral("101*50"));
    EXPECT_EQ(view->item(1, 2)->text(), QStringLiteral("1"));
    EXPECT_EQ(view->item(1, 3)->text(), QStringLiteral("0"));
    // The start-up options keep the original size.
    EXPECT_EQ(view->item(2, 4)->text(), QStringLiteral("102*50"));
    EXPECT_TRUE(view->item(0, 0)->textAlignment() & Qt::AlignHCenter);
    EXPECT_EQ(controls().totalPages->text(), QStringLiteral("Total pages: 3"));
    EXPECT_TRUE(view->SelectedRows().empty());
    for (QAbstractButton* b : {controls().convert, controls().up, controls().down,
                               controls().remove, controls().clear}) {
        EXPECT_TRUE(b->isEnabled()) << b->text().toStdString();
    }
}

TEST_F(ListTest, UpMovesSelectedBlocksAndKeepsThemSelected) {
    AddNumberedPhotos(5);
    Select({1, 2});
    window().MoveUp();
    EXPECT_EQ(FileNames(), Names({1, 2, 0, 3, 4}));
    EXPECT_EQ(ViewNames(), FileNames());
    EXPECT_EQ(window().SelectedRows(), (std::vector<int>{0, 1}));
    EXPECT_TRUE(controls().photoList->hasFocus());

    // A block at the top stops the walk: nothing below moves either.
    Select({0, 3});
    window().MoveUp();
    EXPECT_EQ(FileNames(), Names({1, 2, 0, 3, 4}));
    EXPECT_EQ(window().SelectedRows(), (std::vector<int>{0, 3}));
    EXPECT_TRUE(messages_.empty());
}

TEST_F(ListTest, DownMovesSelectedBlocksAndKeepsThemSelected) {
    AddNumberedPhotos(5);
    Select({2, 3});
    window().MoveDown();
    EXPECT_EQ(FileNames(), Names({0, 1, 4, 2, 3}));
    EXPECT_EQ(ViewNames(), FileNames());
    EXPECT_EQ(window().SelectedRows(), (std::vector<int>{3, 4}));
    // The row texts follow their entries, sizes included.
    EXPECT_EQ(controls().photoList->item(2, 1)->text(), QStringLiteral("104*50"));

    controls().clear->setFocus();
    Select({4});
    window().MoveDown();
    EXPECT_EQ(FileNames(), Names({0, 1, 4, 2, 3}));
    EXPECT_TRUE(controls().photoList->hasFocus());
}

// The keyboard's current row moves with its block, so Shift+arrow goes on from the
// moved rows, not from the row that moved the other way.
TEST_F(ListTest, TheCurrentRowFollowsTheMovedBlock) {
    AddNumberedPhotos(5);
    QTest::mouseClick(controls().photoList->viewport(), Qt::LeftButton, {}, RowCentre(2));
    QTest::mouseClick(controls().photoList->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      RowCentre(3));
    ASSERT_EQ(window().SelectedRows(), (std::vector<int>{2, 3}));
    window().MoveUp();
    EXPECT_EQ(controls().photoList->currentRow(), 2);
    QTest::keyClick(controls().photoList, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(controls().photoList->currentRow(), 3);
    const std::vector<int> extended = window().SelectedRows();
    EXPECT_NE(std::find(extended.begin(), extended.end(), 3), extended.end());
    EXPECT_EQ(std::find(extended.begin(), extended.end(), 4), extended.end());

    Select({0});
    controls().photoList->SetCurrentRow(0);
    window().MoveDown();
    EXPECT_EQ(controls().photoList->currentRow(), 1);
    EXPECT_EQ(window().SelectedRows(), std::vector<int>{1});
}

// With enough rows for a vertical scroll bar every column still fits beside it.
TEST_F(ListTest, ColumnsFitBesideTheVerticalScrollBar) {
    AddNumberedPhotos(40);
    app::PhotoListView* view = controls().photoList;
    // The view lays itself out on a later event.
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->verticalScrollBar()->isVisible(); }));
    int total = 0;
    for (int column = 0; column < view->columnCount(); ++column) {
        total += view->columnWidth(column);
    }
    EXPECT_LE(total, view->viewport()->width());
    EXPECT_FALSE(view->horizontalScrollBar()->isVisible());
}

TEST_F(ListTest, MoveCommandsOnOneEntryDoNothingAndSayNothing) {
    AddNumberedPhotos(1);
    Select({0});
    window().MoveUp();
    window().MoveDown();
    EXPECT_EQ(FileNames(), Names({0}));
    EXPECT_TRUE(messages_.empty());
}

TEST_F(ListTest, CommandsWithoutSelectionAskForOne) {
    AddNumberedPhotos(3);
    window().MoveUp();
    window().MoveDown();
    window().DeleteSelected();
    window().EditSelected();
    ASSERT_EQ(messages_.size(), 4u);
    for (const ShownMessage& m : messages_) {
        EXPECT_EQ(m.text, "Please select items!");
        EXPECT_EQ(m.caption, "");  // the application's own caption
    }
    EXPECT_EQ(FileNames(), Names({0, 1, 2}));
}

TEST_F(ListTest, DeleteErasesTheSelectedRowsAndClearsTheSelection) {
    AddNumberedPhotos(5);
    Select({1, 3});
    window().DeleteSelected();
    EXPECT_EQ(FileNames(), Names({0, 2, 4}));
    EXPECT_EQ(ViewNames(), FileNames());
    EXPECT_EQ(controls().totalPages->text(), QStringLiteral("Total pages: 3"));
    EXPECT_TRUE(window().SelectedRows().empty());
}

TEST_F(ListTest, DeleteOnAnEmptyListSaysNothing) {
    window().DeleteSelected();
    EXPECT_TRUE(messages_.empty());
}

TEST_F(ListTest, ClearEmptiesTheListAndDisablesTheSixButtons) {
    AddNumberedPhotos(10);
    window().ClearList();
    EXPECT_EQ(window().photoList().photoCount, 0);
    EXPECT_EQ(controls().photoList->rowCount(), 0);
    EXPECT_EQ(controls().totalPages->text(), QStringLiteral("Total pages: 0"));
    for (QAbstractButton* b : {controls().convert, controls().edit, controls().up, controls().down,
                               controls().remove, controls().clear}) {
        EXPECT_FALSE(b->isEnabled()) << b->text().toStdString();
    }
}

TEST_F(ListTest, HeadingClicksSortByNameAndTimeInTurns) {
    const std::string b = Photo("b.jpg", QSize(10, 10), "JPEG");
    const std::string upperA = Photo("A.jpg", QSize(11, 10), "JPEG");
    const std::string a = Photo("a.jpg", QSize(12, 10), "JPEG");
    // Modification times: a oldest, then b, then A.
    const auto now = std::filesystem::file_time_type::clock::now();
    std::filesystem::last_write_time(a, now - std::chrono::hours(3));
    std::filesystem::last_write_time(b, now - std::chrono::hours(2));
    std::filesystem::last_write_time(upperA, now - std::chrono::hours(1));
    AddThroughDialog({b, upperA, a});
    ASSERT_EQ(FileNames(), (std::vector<std::string>{"b.jpg", "A.jpg", "a.jpg"}));

    QHeaderView* header = controls().photoList->horizontalHeader();
    auto clickHeading = [&](int column) {
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    };
    clickHeading(0);
    EXPECT_EQ(FileNames(), (std::vector<std::string>{"A.jpg", "a.jpg", "b.jpg"}));
    clickHeading(0);
    EXPECT_EQ(FileNames(), (std::vector<std::string>{"b.jpg", "a.jpg", "A.jpg"}));
    // The time column has its own direction: oldest first on its first click.
    clickHeading(2);
    EXPECT_EQ(FileNames(), (std::vector<std::string>{"a.jpg", "b.jpg", "A.jpg"}));
    clickHeading(2);
    EXPECT_EQ(FileNames(), (std::vector<std::string>{"A.jpg", "b.jpg", "a.jpg"}));
    EXPECT_EQ(ViewNames(), FileNames());

    // Other headings keep the order but still rebuild: the selection goes.
    Select({0, 2});
    clickHeading(1);
    clickHeading(3);
    clickHeading(4);
    EXPECT_EQ(FileNames(), (std::vector<std::string>{"A.jpg", "b.jpg", "a.jpg"}));
    EXPECT_TRUE(window().SelectedRows().empty());
}

TEST_F(ListTest, ClicksArePreviewedOrEdited) {
    std::vector<std::pair<std::string, int>> previews;
    std::vector<std::vector<int>> edits;
    app::WindowDialogs dialogs;
    dialogs.showPreview = [&](app::MainWindow&, const photolist::PhotoEntry& entry, int row) {
        previews.emplace_back(entry.fileName, row);
    };
    dialogs.editPhotos = [&](app::MainWindow& w, const std::vector<int>& rows) {
        edits.push_back(rows);
        // The dialog may change the entries; the window shows the change.
        w.photoList()[static_cast<size_t>(rows.front())].outputFormat.nOutputWidth = 7;
        return true;
    };
    UseDialogs(dialogs);
    AddNumberedPhotos(4);
    QWidget* viewport = controls().photoList->viewport();

    QTest::mouseClick(viewport, Qt::LeftButton, {}, RowCentre(2));
    ASSERT_EQ(previews.size(), 1u);
    EXPECT_EQ(previews[0], std::make_pair(std::string("p2.png"), 2));

    QTest::mouseDClick(viewport, Qt::LeftButton, {}, RowCentre(1));
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0], (std::vector<int>{1}));
    EXPECT_EQ(controls().photoList->item(1, 4)->text(), QStringLiteral("7*50"));

    Select({0, 3});
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, RowCentre(3),
                                 viewport->mapToGlobal(RowCentre(3)));
    QApplication::sendEvent(viewport, &rightClick);
    ASSERT_EQ(edits.size(), 2u);
    EXPECT_EQ(edits[1], (std::vector<int>{0, 3}));
    // The keyboard's menu key is not a command of the view.
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, RowCentre(3),
                              viewport->mapToGlobal(RowCentre(3)));
    QApplication::sendEvent(viewport, &menuKey);
    EXPECT_EQ(edits.size(), 2u);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(ListTest, RightClickOnEmptySpaceWithoutSelectionAsksForOne) {
    app::WindowDialogs dialogs;
    int edits = 0;
    dialogs.editPhotos = [&](app::MainWindow&, const std::vector<int>&) { return ++edits > 0; };
    UseDialogs(dialogs);
    AddNumberedPhotos(2);
    QWidget* viewport = controls().photoList->viewport();
    const QPoint empty(viewport->width() / 2, viewport->height() - 5);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, empty);  // clears the selection
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, empty, viewport->mapToGlobal(empty));
    QApplication::sendEvent(viewport, &rightClick);
    EXPECT_EQ(edits, 0);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Please select items!"}));
}

TEST_F(ListTest, DialogsEnableTheirButtons) {
    AddNumberedPhotos(1);
    EXPECT_FALSE(controls().options->isEnabled());
    EXPECT_FALSE(controls().edit->isEnabled());
    EXPECT_FALSE(controls().about->isEnabled());
    int options = 0;
    int about = 0;
    int help = 0;
    app::WindowDialogs dialogs;
    dialogs.editOptions = [&](app::MainWindow& w) {
        ++options;
        w.outputPhotoFormat().nOutputWidth = 640;
        return true;
    };
    dialogs.editPhotos = [](app::MainWindow&, const std::vector<int>&) { return false; };
    dialogs.about = [&](app::MainWindow&) { ++about; };
    dialogs.help = [&](app::MainWindow&) { ++help; };
    UseDialogs(dialogs);
    AddNumberedPhotos(1);
    EXPECT_TRUE(controls().options->isEnabled());
    EXPECT_TRUE(controls().edit->isEnabled());
    QTest::mouseClick(controls().options, Qt::LeftButton);
    QTest::mouseClick(controls().about, Qt::LeftButton);
    QTest::keyClick(&window(), Qt::Key_F1);
    EXPECT_EQ(options, 1);
    EXPECT_EQ(about, 1);
    EXPECT_EQ(help, 1);
    EXPECT_EQ(window().outputPhotoFormat().nOutputWidth, 640);
}

}  // namespace
}  // namespace vellumo::test
