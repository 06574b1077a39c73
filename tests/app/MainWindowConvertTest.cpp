// Convert/Stop from the window: a real multi-page TIFF, the replace question, Stop
// during a run, and exit refused while converting.
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <optional>
#include <sstream>

#include "WindowTestSupport.h"

namespace vellumo::test {
namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class ConvertTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        MakeWindow();
        window().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    }
    void SetOutput(const std::string& path) {
        controls().outputFile->setText(QString::fromStdString(path));
    }
    // The window learns a run's end from the engine's event alone.
    void WaitForRunEnd() {
        if (window().IsConverting()) {
            QSignalSpy idle(&window(), &app::MainWindow::becameIdle);
            ASSERT_TRUE(idle.wait(120000));
        }
        ASSERT_FALSE(window().IsConverting());
    }
};

TEST_F(ConvertTest, ConvertWritesEveryEntryAsAPageInListOrder) {
    const std::string pages = Temp() + "in/pages.tif";
    std::filesystem::create_directories(Temp() + "in");
    ASSERT_TRUE(WriteMultiPageTiff(pages, {{30, 20}, {31, 21}}));
    AddThroughDialog(
        {Photo("in/first.png", QSize(40, 30)), pages, Photo("in/last.jpg", QSize(50, 25), "JPEG")});
    ASSERT_EQ(window().photoList().size(), 4u);
    const std::string output = Temp() + "out/album.tif";
    std::filesystem::create_directories(Temp() + "out");
    SetOutput(output);

    QStringList buttonTexts;
    QObject::connect(controls().progress, &QProgressBar::valueChanged, &window(),
                     [&](int) { buttonTexts << controls().convert->text(); });
    QTest::mouseClick(controls().convert, Qt::LeftButton);
    EXPECT_TRUE(window().IsConverting());
    WaitForRunEnd();

    EXPECT_EQ(TiffPageSizes(output), (std::vector<QSize>{{40, 30}, {30, 20}, {31, 21}, {50, 25}}));
    EXPECT_EQ(window().outputFilePath(), output);
    EXPECT_TRUE(buttonTexts.contains(QStringLiteral("Stop")));
    EXPECT_EQ(controls().convert->text(), QStringLiteral("Convert"));
    EXPECT_EQ(controls().progress->value(), 999);
    EXPECT_TRUE(controls().addPhotos->isEnabled());
    EXPECT_TRUE(controls().clear->isEnabled());
    EXPECT_TRUE(messages_.empty()) << (messages_.empty() ? "" : messages_[0].text);
}

// A caption position beyond a page is reset for the following pages, and the window's
// box shows the 0; the activity log line reaches the window's list.
TEST_F(ConvertTest, CaptionPositionResetOnAPageReachesTheWindowsBox) {
    AddThroughDialog({Photo("wide.png", QSize(60, 30)), Photo("narrow.png", QSize(20, 30))});
    SetOutput(Temp() + "caption.tif");
    controls().captionText->setText(QStringLiteral("Hi"));
    controls().captionX->setText(QStringLiteral("35"));
    controls().captionY->setText(QStringLiteral("5"));
    window().ConvertOrStop();
    WaitForRunEnd();
    EXPECT_EQ(controls().captionX->text(), QStringLiteral("0"));
    EXPECT_EQ(controls().captionY->text(), QStringLiteral("5"));
    ASSERT_EQ(controls().logList->count(), 1);
    EXPECT_TRUE(controls().logList->item(0)->text().endsWith(QStringLiteral(
        "narrow.png The text position X is out of range! The program set it to 0 now.")));
    EXPECT_EQ(TiffPageSizes(Temp() + "caption.tif").size(), 2u);
}

TEST_F(ConvertTest, ReplaceQuestionAnsweredNoKeepsTheFile) {
    AddNumberedPhotos(2);
    const std::string output = Temp() + "existing.tif";
    std::ofstream(output) << "the user's file";
    SetOutput(output);
    answers_ = {ui::Answer::No};
    window().ConvertOrStop();
    EXPECT_FALSE(window().IsConverting());
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, output + " exists. Do you want to replace it?");
    EXPECT_EQ(messages_[0].caption, "Warning");
    EXPECT_EQ(messages_[0].style, ui::MessageStyle::YesNoExclamation);
    EXPECT_EQ(ReadAll(output), "the user's file");

    answers_ = {ui::Answer::Yes};
    window().ConvertOrStop();
    WaitForRunEnd();
    EXPECT_EQ(TiffPageSizes(output).size(), 2u);
}

TEST_F(ConvertTest, DuringARunTheListAndOutputAreLockedAndExitIsRefused) {
    AddNumberedPhotos(6);
    const std::string output = Temp() + "locked.tif";
    SetOutput(output);
    bool checked = false;
    QObject::connect(controls().progress, &QProgressBar::valueChanged, &window(), [&](int value) {
        if (checked || value == 0 || value >= 999 || !window().IsConverting()) {
            return;
        }
        checked = true;
        const app::MainWindowControls& c = controls();
        EXPECT_TRUE(c.convert->isEnabled());
        for (QWidget* w : std::initializer_list<QWidget*>{c.addPhotos, c.searchPhotos, c.up, c.down,
                                                          c.remove, c.clear, c.browseOutput}) {
            EXPECT_FALSE(w->isEnabled());
        }
        EXPECT_TRUE(c.outputFile->isReadOnly());
        // Commands that still arrive are refused.
        const auto before = FileNames();
        c.photoList->SelectRows({1});
        window().DeleteSelected();
        window().ClearList();
        window().SortByColumn(0);
        EXPECT_EQ(FileNames(), before);
        // Closing is refused with a warning while the run goes on.
        EXPECT_FALSE(window().close());
        EXPECT_TRUE(window().isVisible());
    });
    window().ConvertOrStop();
    WaitForRunEnd();
    EXPECT_TRUE(checked);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Please stop converting first"}));
    EXPECT_EQ(messages_.at(0).caption, "Warning");
    EXPECT_EQ(TiffPageSizes(output).size(), 6u);
    // Once the run has ended, exit is allowed again.
    EXPECT_TRUE(window().close());
}

TEST_F(ConvertTest, StopEndsTheRunAfterThePhotoInHandWithAValidFile) {
    std::vector<std::string> files;
    for (int i = 0; i < 12; ++i) {
        files.push_back(Photo("big/" + std::to_string(i) + ".png", QSize(900 + i, 700)));
    }
    AddThroughDialog(files);
    const std::string output = Temp() + "stopped.tif";
    SetOutput(output);
    bool stopped = false;
    QObject::connect(controls().progress, &QProgressBar::valueChanged, &window(), [&](int value) {
        if (!stopped && value > 0 && value < 999) {
            stopped = true;
            QTest::mouseClick(controls().convert, Qt::LeftButton);  // "Stop"
        }
    });
    QTest::mouseClick(controls().convert, Qt::LeftButton);
    WaitForRunEnd();
    ASSERT_TRUE(stopped);
    const std::vector<QSize> pages = TiffPageSizes(output);
    EXPECT_GE(pages.size(), 1u);
    EXPECT_LT(pages.size(), 12u);
    for (size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(pages[i], QSize(900 + static_cast<int>(i), 700));
    }
    EXPECT_EQ(controls().convert->text(), QStringLiteral("Convert"));
    EXPECT_EQ(controls().progress->value(), 999);
}

TEST_F(ConvertTest, ExitAfterStopClosesOnceTheRunHasClosedItsFile) {
    std::vector<std::string> files;
    for (int i = 0; i < 8; ++i) {
        files.push_back(Photo("exit/" + std::to_string(i) + ".png", QSize(800, 600)));
    }
    AddThroughDialog(files);
    const std::string output = Temp() + "exit.tif";
    SetOutput(output);
    std::optional<bool> closedAtOnce;
    QObject::connect(controls().progress, &QProgressBar::valueChanged, &window(), [&](int value) {
        if (!closedAtOnce && value > 0 && value < 999) {
            window().ConvertOrStop();  // Stop
            // Exit is taken, but carried out only once the run is over.
            closedAtOnce = window().close();
            EXPECT_FALSE(store_.Has(shell::kOptionSection, "photo_output_folder"));
        }
    });
    window().ConvertOrStop();
    WaitForRunEnd();
    ASSERT_TRUE(closedAtOnce.has_value());
    EXPECT_FALSE(*closedAtOnce);
    QElapsedTimer timer;
    timer.start();
    while (window().isVisible() && timer.elapsed() < 5000) {
        QTest::qWait(10);
    }
    EXPECT_FALSE(window().isVisible());
    const std::vector<QSize> pages = TiffPageSizes(output);
    EXPECT_GE(pages.size(), 1u);
    EXPECT_LT(pages.size(), 8u);
    EXPECT_TRUE(store_.Has(shell::kOptionSection, "photo_output_folder"));
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace vellumo::test
