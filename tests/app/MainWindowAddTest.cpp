// Adding photos from the window: the file dialog, dropped files and the folder search.
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <fstream>

#include "WindowTestSupport.h"
#include "app/AppTexts.h"
#include "photolist/PhotoFinder.h"

namespace vellumo::test {
namespace {

using shell::kOptionSection;

class AddTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        MakeWindow();
    }
    void Drop(const std::vector<std::string>& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const std::string& path : paths) {
            urls << QUrl::fromLocalFile(QString::fromStdString(path));
        }
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&window(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&window(), &drop);
        WaitIdle();
    }
};

TEST_F(AddTest, DialogIsAskedWithItsTitleFiltersAndRememberedFolder) {
    store_.WriteString(kOptionSection, "LastPhotoFolder", "/srv/photos/");
    const std::string one = Photo("in/one.png", QSize(30, 20));
    AddThroughDialog({one});
    ASSERT_EQ(openRequests_.size(), 1u);
    const app::OpenFilesRequest& request = openRequests_[0];
    EXPECT_EQ(request.title, QStringLiteral("Select Photo Files..."));
    EXPECT_EQ(request.initialFolder, "/srv/photos/");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].description,
              QString::fromUtf8(app::texts::kPhotoFilesDescription));
    EXPECT_TRUE(request.filters[0].description.startsWith(
        "Photo Files (*.bmp;*.gif;*.png;*.tif;*.jpg;*.jpeg;*.ico;*.exif;*.wmf;*.emf;*.dib;"));
    // The dialog offers every extension the folder search accepts, in any case.
    for (const std::string_view extension : photolist::kPhotoExtensions) {
        const QString pattern = "*" + QString::fromUtf8(extension.data(), extension.size());
        EXPECT_TRUE(request.filters[0].patterns.contains(pattern)) << pattern.toStdString();
        EXPECT_TRUE(request.filters[0].description.contains(pattern)) << pattern.toStdString();
    }
    EXPECT_TRUE(request.filters[0].patterns.contains("*.JPG"));
    EXPECT_EQ(request.filters[1].description, QStringLiteral("Any Files (*.*)"));

    ASSERT_EQ(window().photoList().size(), 1u);
    const photolist::PhotoEntry& entry = window().photoList()[0];
    EXPECT_EQ(entry.path, one);
    EXPECT_EQ(entry.width, 30);
    EXPECT_EQ(entry.height, 20);
    EXPECT_FALSE(entry.modifiedText.empty());
    EXPECT_EQ(store_.String(kOptionSection, "LastPhotoFolder"), Temp() + "in/");
}

TEST_F(AddTest, CancelledDialogChangesNothing) {
    store_.WriteString(kOptionSection, "LastPhotoFolder", "/srv/photos/");
    store_.writes.clear();
    AddThroughDialog({});
    EXPECT_TRUE(window().photoList().empty());
    EXPECT_TRUE(store_.writes.empty());
    EXPECT_EQ(store_.String(kOptionSection, "LastPhotoFolder"), "/srv/photos/");
}

TEST_F(AddTest, FilesJoinInOrderWithOneRowPerFrame) {
    const std::string first = Photo("a/first.jpg", QSize(40, 30), "JPEG");
    const std::string pages = Temp() + "b/pages.tif";
    std::filesystem::create_directories(Temp() + "b");
    ASSERT_TRUE(WriteMultiPageTiff(pages, {{20, 10}, {21, 11}, {22, 12}, {23, 13}}));
    const std::string notImage = Temp() + "b/notes.png";
    std::ofstream(notImage) << "plain text";
    // The same file twice gives two independent entries.
    AddThroughDialog({first, pages, notImage, first});
    ASSERT_EQ(FileNames(), (std::vector<std::string>{"first.jpg", "pages.tif", "pages.tif",
                                                     "pages.tif", "pages.tif", "first.jpg"}));
    for (int frame = 0; frame < 4; ++frame) {
        const photolist::PhotoEntry& entry = window().photoList()[1 + static_cast<size_t>(frame)];
        EXPECT_EQ(entry.totalFrames, 4);
        EXPECT_EQ(entry.frameIndex, frame);
        EXPECT_EQ(entry.width, 20 + frame);
        EXPECT_EQ(entry.height, 10 + frame);
    }
    EXPECT_EQ(controls().photoList->item(3, 3)->text(), QStringLiteral("2"));
    EXPECT_EQ(controls().photoList->item(3, 2)->text(), QStringLiteral("4"));
    EXPECT_EQ(controls().totalPages->text(), QStringLiteral("Total pages: 6"));
    // A file that is no image is skipped without a word.
    EXPECT_TRUE(messages_.empty());
    // The last entry decides the remembered folder.
    EXPECT_EQ(store_.String(kOptionSection, "LastPhotoFolder"), Temp() + "a/");
}

TEST_F(AddTest, NewEntriesCopyTheCurrentOptions) {
    window().outputPhotoFormat().nOuputSizeType = options::kSizeCustom;
    window().outputPhotoFormat().nOutputWidth = 200;
    window().outputPhotoFormat().nKeepAspectRatio = options::kKeepWithWidth;
    AddThroughDialog({Photo("wide.png", QSize(400, 100))});
    ASSERT_EQ(window().photoList().size(), 1u);
    EXPECT_EQ(window().photoList()[0].outputFormat.nOutputWidth, 200);
    EXPECT_EQ(window().photoList()[0].outputFormat.nOutputHeight, 50);
    EXPECT_EQ(controls().photoList->item(0, 4)->text(), QStringLiteral("200*50"));
}

TEST_F(AddTest, DroppedFilesAreAddedAndFoldersIgnoredSilently) {
    const std::string photo = Photo("drop/photo.png", QSize(12, 8));
    const std::string folder = Temp() + "drop/sub";
    std::filesystem::create_directories(folder);
    Photo("drop/sub/inside.png", QSize(5, 5));
    const std::string text = Temp() + "drop/readme.txt";
    std::ofstream(text) << "hello";
    Drop({folder, text, photo, Temp() + "drop/missing.png"});
    EXPECT_EQ(FileNames(), (std::vector<std::string>{"photo.png"}));
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(controls().totalPages->text(), QStringLiteral("Total pages: 1"));
    // Drops remember no folder.
    EXPECT_FALSE(store_.Has(kOptionSection, "LastPhotoFolder"));
    EXPECT_FALSE(store_.Has(kOptionSection, "m_last_browse_fold"));

    Drop({folder});
    EXPECT_EQ(FileNames(), (std::vector<std::string>{"photo.png"}));
}

TEST_F(AddTest, FolderSearchAddsPhotosBreadthFirstAndRemembersTheLastFolder) {
    const std::string root = Temp() + "tree";
    Photo("tree/top.png", QSize(10, 10));
    Photo("tree/sub/deep/bottom.bmp", QSize(11, 11), "BMP");
    Photo("tree/sub/SHOUT.JPG", QSize(12, 12), "JPEG");
    std::ofstream(Temp() + "tree/sub/camera.raw") << "raw data";
    std::ofstream(Temp() + "tree/sub/archive.jpg.bak") << "backup";
    store_.WriteString(kOptionSection, "m_last_browse_fold", "/not/used/by/the/picker/");
    nextFolder_ = root;
    window().SearchPhotos();
    WaitIdle();
    EXPECT_EQ(folderTitles_, (std::vector<QString>{QStringLiteral("Choose a folder")}));
    EXPECT_EQ(FileNames(), (std::vector<std::string>{"top.png", "SHOUT.JPG", "bottom.bmp"}));
    EXPECT_EQ(store_.String(kOptionSection, "m_last_browse_fold"), Temp() + "tree/sub/deep/");
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(AddTest, SearchingAFileReportsItAndAddsNothing) {
    const std::string file = Photo("lonely.png", QSize(10, 10));
    nextFolder_ = file;
    window().SearchPhotos();
    WaitIdle();
    EXPECT_TRUE(window().photoList().empty());
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, file + "/ is not a right directory");
    EXPECT_FALSE(store_.Has(kOptionSection, "m_last_browse_fold"));
}

TEST_F(AddTest, CancelledFolderPickerDoesNothing) {
    window().SearchPhotos();
    WaitIdle();
    EXPECT_EQ(folderTitles_.size(), 1u);
    EXPECT_TRUE(window().photoList().empty());
    EXPECT_TRUE(messages_.empty());
}

TEST_F(AddTest, ManyFilesKeepTheirOrderAndTheWindowAnswersMeanwhile) {
    std::vector<std::string> files;
    for (int i = 0; i < 120; ++i) {
        files.push_back(Photo("many/" + std::to_string(1000 + i) + ".png", QSize(8 + i % 5, 8)));
    }
    nextOpenFiles_ = files;
    window().AddPhotos();
    // While the files are read, nothing may change the list.
    bool sawBusy = false;
    int eventsServed = 0;
    while (window().IsBusy()) {
        sawBusy = true;
        EXPECT_FALSE(controls().addPhotos->isEnabled());
        EXPECT_FALSE(controls().searchPhotos->isEnabled());
        EXPECT_FALSE(controls().browseOutput->isEnabled());
        QTest::qWait(1);
        ++eventsServed;
    }
    EXPECT_TRUE(sawBusy);
    EXPECT_GT(eventsServed, 0);
    ASSERT_EQ(window().photoList().size(), files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(window().photoList()[i].path, files[i]);
    }
    EXPECT_TRUE(controls().addPhotos->isEnabled());
    EXPECT_EQ(controls().progress->value(), 0);
}

// Paths given to the program: files in order, folders searched in their place.
TEST_F(AddTest, OpenedPathsAddFilesInOrderAndSearchFolders) {
    const std::string first = Photo("open/z.png", QSize(10, 10));
    Photo("open/folder/b.png", QSize(11, 10));
    Photo("open/folder/a.png", QSize(12, 10));
    const std::string last = Photo("open/c.png", QSize(13, 10));
    window().OpenPaths({first, Temp() + "open/folder", last});
    WaitIdle();
    EXPECT_EQ(FileNames(), (std::vector<std::string>{"z.png", "a.png", "b.png", "c.png"}));
}

}  // namespace
}  // namespace vellumo::test
