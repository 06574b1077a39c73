// The conversion run end to end through the recording toolkit: real photos made on the
// spot, converted by the real pipeline and writers, outputs read back with libtiff/Qt.
#include "convert/ConversionRun.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTransform>
#include <algorithm>
#include <atomic>

#include "ConvertTestFiles.h"
#include "photolist/AddPhotos.h"
#include "support/RecordingReporter.h"
#include "support/RecordingToolkit.h"

namespace vellumo::convert {
namespace {

namespace fs = std::filesystem;

using test::RecordedMessage;
using ui::Answer;
using ui::MessageStyle;

class RunTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { test::EnsureGuiApplication(); }

    std::string Png(const std::string& name, const QImage& image) {
        return test::SaveImage(image, folder / name, "PNG");
    }
    void Add(const std::string& path) {
        test::RecordingReporter quiet;
        ASSERT_GT(photolist::AddPhotoFile(path, record, quiet, list), 0) << path;
    }
    RunSettings Settings(const std::string& output) const {
        RunSettings s;
        s.outputFilePath = output;
        s.mainRecord = record;
        s.threads = threads;
        return s;
    }
    SyncResult Run(const std::string& output) {
        return ConvertAndWait(toolkit, list, Settings(output));
    }
    std::vector<std::string> Captions() const {
        std::vector<std::string> out;
        for (const auto& m : toolkit.messages()) {
            out.push_back(m.caption);
        }
        return out;
    }

    test::TestFolder folder;
    test::RecordingToolkit toolkit;
    photolist::PhotoList list;
    options::OutputPhotoFormat record;
    int threads = 2;
};

// ---- pages, order, progress -------------------------------------------------------

TEST_F(RunTest, ThreePhotosBecomeThreePagesInListOrder) {
    Add(Png("a.png", test::Solid(40, 30, qRgb(255, 0, 0))));
    Add(Png("b.png", test::Solid(20, 50, qRgb(0, 255, 0))));
    Add(Png("c.png", test::Solid(33, 11, qRgb(0, 0, 255))));
    const auto result = Run(folder / "album.tif");
    ASSERT_EQ(result.start, StartResult::Started);

    bool ok = false;
    const auto pages = test::ReadTiffPages(folder / "album.tif", &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(std::make_pair(pages[0].width, pages[0].height), std::make_pair(40, 30));
    EXPECT_EQ(std::make_pair(pages[1].width, pages[1].height), std::make_pair(20, 50));
    EXPECT_EQ(std::make_pair(pages[2].width, pages[2].height), std::make_pair(33, 11));
    for (const auto& p : pages) {
        EXPECT_EQ(p.samplesPerPixel, 3);
        EXPECT_EQ(p.bitsPerSample, 8);
    }
    EXPECT_EQ(pages[0].red(5, 5), 255);
    EXPECT_EQ(pages[1].green(5, 5), 255);
    EXPECT_EQ(pages[2].blue(5, 5), 255);

    EXPECT_TRUE(toolkit.messages().empty());
    EXPECT_EQ(toolkit.progress(), (std::vector<int>{0, 333, 666, 1000, 999}));
    ASSERT_EQ(toolkit.finishedRuns().size(), 1u);
    EXPECT_EQ(toolkit.finishedRuns()[0].pagesWritten, 3);
    EXPECT_EQ(result.summary.pagesWritten, 3);
    EXPECT_EQ(result.summary.photosFailed, 0);
    EXPECT_EQ(result.summary.outputFiles, std::vector<std::string>{folder / "album.tif"});
    EXPECT_EQ(folder.Files(), (std::vector<std::string>{"a.png", "album.tif", "b.png", "c.png"}));
}

TEST_F(RunTest, EveryFrameOfAMultiPageFileIsAPageAndCountsOnce) {
    // A three-page input made through a first run.
    Add(Png("a.png", test::Solid(10, 10, qRgb(10, 20, 30))));
    Add(Png("b.png", test::Solid(12, 10, qRgb(40, 50, 60))));
    Add(Png("c.png", test::Solid(14, 10, qRgb(70, 80, 90))));
    ASSERT_EQ(Run(folder / "three.tif").summary.pagesWritten, 3);
    list.clear();
    Add(folder / "three.tif");
    ASSERT_EQ(list.size(), 3u);

    test::RecordingToolkit second;
    const auto result = ConvertAndWait(second, list, Settings(folder / "again.tif"));
    const auto pages = test::ReadTiffPages(folder / "again.tif");
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].width, 10);
    EXPECT_EQ(pages[2].width, 14);
    EXPECT_EQ(pages[1].red(3, 3), 40);
    // The page total is the number of entries, not the sum of their frame counts.
    EXPECT_EQ(second.progress(), (std::vector<int>{0, 333, 666, 1000, 999}));
    EXPECT_EQ(result.summary.pagesWritten, 3);
}

// Real photos, each with its own size rule, turn and flip: the pages come back in order
// with the turned sides, and each looks like the photo scaled, turned clockwise and then
// flipped (Qt does the expected picture), clearly closer than a wrong orientation would.
TEST_F(RunTest, RealPhotosWithTheirOwnSizesTurnsAndFlipsBecomeAThreePageTiff) {
    const fs::path samples(VELLUMO_SAMPLES_DIR);
    if (!fs::exists(samples / "Landscape_1.jpg")) {
        GTEST_SKIP() << "sample photos absent";
    }
    struct Photo {
        const char* name;
        int sizeType, width, height, angle, flip;
        int pageWidth, pageHeight;
    } photos[] = {
        {"Landscape_1.jpg", options::kSizeCustom, 600, 400, 90, options::kFlipNone, 400, 600},
        {"Portrait_1.jpg", options::kSizeCustom, 300, 450, 0, options::kFlipHorizontal, 300, 450},
        {"zackthecat.tif", options::kSizeOriginal, 0, 0, 180, options::kFlipVertical, 234, 213},
    };
    for (const Photo& p : photos) {
        Add((samples / p.name).string());
        auto& format = list[list.size() - 1].outputFormat;
        format.nOuputSizeType = p.sizeType;
        format.nKeepAspectRatio = options::kKeepNone;
        format.nOutputWidth = p.width;
        format.nOutputHeight = p.height;
        format.nRotateAngel = p.angle;
        format.nFlipType = p.flip;
    }
    const std::string output = folder / "album.tif";
    ASSERT_EQ(Run(output).summary.pagesWritten, 3);
    bool ok = false;
    const auto pages = test::ReadTiffPages(output, &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(pages.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const Photo& p = photos[i];
        SCOPED_TRACE(p.name);
        ASSERT_EQ(pages[i].width, p.pageWidth);
        ASSERT_EQ(pages[i].height, p.pageHeight);
        const QImage source = QImage(QString::fromStdString((samples / p.name).string()))
                                  .convertToFormat(QImage::Format_RGB888);
        const QSize drawn = p.angle % 180 == 0 ? QSize(p.pageWidth, p.pageHeight)
                                               : QSize(p.pageHeight, p.pageWidth);
        const QImage scaled = source.scaled(drawn, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const auto turn = [&](int angle, int flip) {
            return scaled.transformed(QTransform().rotate(angle))
                .mirrored(flip == options::kFlipHorizontal, flip == options::kFlipVertical);
        };
        const QImage page = test::ToQImage(pages[i]);
        const double right = test::MeanDifference(page, turn(p.angle, p.flip));
        EXPECT_LT(right, 6.0);
        EXPECT_GT(test::MeanDifference(page, turn(p.angle + 180, p.flip)), 3 * right);
        if (p.flip != options::kFlipNone) {
            EXPECT_GT(test::MeanDifference(page, turn(p.angle, options::kFlipNone)), 3 * right);
        }
    }
}

TEST_F(RunTest, PagesKeepTheSourceHorizontalResolutionOnBothAxes) {
    QImage image = test::Solid(16, 16, qRgb(1, 2, 3));
    image.setDotsPerMeterX(11811);  // 300 dpi
    image.setDotsPerMeterY(3937);   // 100 dpi, not used
    Add(Png("dpi.png", image));
    Run(folder / "out.tif");
    const auto pages = test::ReadTiffPages(folder / "out.tif");
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NEAR(pages[0].xResolution, 300.0, 0.5);
}

// ---- messages of the pipeline ------------------------------------------------------

TEST_F(RunTest, MissingFileMidListIsReportedAndTheRunGoesOn) {
    Add(Png("a.png", test::Solid(10, 10, qRgb(255, 255, 0))));
    Add(Png("gone.png", test::Solid(10, 10, qRgb(0, 0, 0))));
    Add(Png("c.png", test::Solid(10, 10, qRgb(0, 255, 255))));
    fs::remove(folder / "gone.png");

    const auto result = Run(folder / "out.tif");
    const auto messages = toolkit.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Can not Active a Frame");
    EXPECT_EQ(messages[0].caption, "Error");
    EXPECT_EQ(messages[0].style, MessageStyle::Error);
    const auto pages = test::ReadTiffPages(folder / "out.tif");
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[1].blue(1, 1), 255);
    // The failed photo is not counted: the bar stops at 666 before the end position.
    EXPECT_EQ(toolkit.progress(), (std::vector<int>{0, 333, 666, 999}));
    EXPECT_EQ(result.summary.pagesWritten, 2);
    EXPECT_EQ(result.summary.photosFailed, 1);
}

TEST_F(RunTest, InvalidPageSidesAreRejectedWithTheirOwnTexts) {
    Add(Png("a.png", test::Solid(100, 100, qRgb(9, 9, 9))));
    list[0].outputFormat.nOuputSizeType = options::kSizeStretch;
    list[0].outputFormat.dStretchHorizontal = 0.0001;
    list[0].outputFormat.dStretchVertical = 0.0001;
    Add(folder / "a.png");
    list[1].outputFormat.nOuputSizeType = options::kSizeCustom;
    list[1].outputFormat.nKeepAspectRatio = options::kKeepNone;
    list[1].outputFormat.nOutputWidth = 50;
    list[1].outputFormat.nOutputHeight = -3;
    Add(folder / "a.png");

    const auto result = Run(folder / "out.tif");
    EXPECT_EQ(toolkit.messageTexts(), (std::vector<std::string>{"The output width is invalid!",
                                                                "The output hight is invalid!"}));
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Error", "Error"}));
    EXPECT_EQ(test::ReadTiffPages(folder / "out.tif").size(), 1u);
    EXPECT_EQ(result.summary.photosFailed, 2);
}

TEST_F(RunTest, UnknownSizeCodeIsReportedOnceAndEndsThePhoto) {
    Add(Png("a.png", test::Solid(10, 10, qRgb(9, 9, 9))));
    list[0].outputFormat.nOuputSizeType = 5;
    Add(folder / "a.png");
    Run(folder / "out.tif");
    const auto messages = toolkit.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "unknown error m_outputPhotoFormat.nOuputSizeType");
    EXPECT_EQ(messages[0].caption, "error");
    EXPECT_EQ(test::ReadTiffPages(folder / "out.tif").size(), 1u);
}

TEST_F(RunTest, QuarterTurnsSwapSidesAndUnknownAnglesAreReported) {
    // Red left half, blue right half: where red ends up shows the turn.
    QImage image = test::Solid(40, 20, qRgb(0, 0, 255));
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            image.setPixel(x, y, qRgb(255, 0, 0));
        }
    }
    Add(Png("halves.png", image));
    list[0].outputFormat.nRotateAngel = 90;
    Add(folder / "halves.png");
    list[1].outputFormat.nRotateAngel = 45;  // unknown: not turned, flip kept
    list[1].outputFormat.nFlipType = options::kFlipHorizontal;
    Add(folder / "halves.png");
    list[2].outputFormat.nRotateAngel = 270;

    Run(folder / "out.tif");
    EXPECT_EQ(toolkit.messageTexts(), std::vector<std::string>{"Unknown rotate angle!"});
    const auto pages = test::ReadTiffPages(folder / "out.tif");
    ASSERT_EQ(pages.size(), 3u);
    // 90 degrees clockwise: the left (red) half goes to the top.
    EXPECT_EQ(std::make_pair(pages[0].width, pages[0].height), std::make_pair(20, 40));
    EXPECT_GT(pages[0].red(10, 2), 200);
    EXPECT_GT(pages[0].blue(10, 37), 200);
    // Mirrored only: red on the right.
    EXPECT_EQ(pages[1].width, 40);
    EXPECT_GT(pages[1].red(37, 10), 200);
    // 270 degrees: red at the bottom.
    EXPECT_GT(pages[2].red(10, 37), 200);
}

TEST_F(RunTest, TransparentAreasComeOutWhite) {
    QImage image(8, 8, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    Add(Png("clear.png", image));
    Run(folder / "out.tif");
    const auto pages = test::ReadTiffPages(folder / "out.tif");
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].red(4, 4), 255);
    EXPECT_EQ(pages[0].green(4, 4), 255);
    EXPECT_EQ(pages[0].blue(4, 4), 255);
}

// ---- caption -------------------------------------------------------------------------

TEST_F(RunTest, CaptionOutOfRangeIsLoggedResetAndDrawnAtZero) {
    Add(Png("a.png", test::Solid(200, 100, qRgb(255, 255, 255))));
    Add(Png("b.png", test::Solid(200, 100, qRgb(255, 255, 255))));
    record.nOutputWidth = 100000;  // the check before the run lets 5000 pass
    RunSettings settings = Settings(folder / "out.tif");
    settings.caption.text = "Hello";
    settings.caption.positionX = "5000";
    settings.caption.positionY = "0";
    settings.caption.color = options::MakeColorRef(0, 0, 0);
    settings.caption.font.lfHeight = -30;
    settings.logFilePath = folder / "Brindle.log";
    ConvertAndWait(toolkit, list, settings);

    EXPECT_TRUE(toolkit.messages().empty());
    EXPECT_EQ(toolkit.captionResets(), std::vector<ui::Axis>{ui::Axis::X});
    const auto lines = toolkit.logList();
    ASSERT_EQ(lines.size(), 1u);  // the second page reads 0 and logs nothing
    EXPECT_NE(lines[0].find(folder / "a.png" +
                            " The text position X is out of range! The program set it to 0 now."),
              std::string::npos);
    EXPECT_EQ(test::ReadBytes(folder / "Brindle.log"), lines[0] + "\n");

    // Black text near the top-left corner of both pages.
    const auto pages = test::ReadTiffPages(folder / "out.tif");
    ASSERT_EQ(pages.size(), 2u);
    for (const auto& page : pages) {
        int dark = 0;
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 60; ++x) {
                dark += page.red(x, y) < 100 ? 1 : 0;
            }
        }
        EXPECT_GT(dark, 20);
        EXPECT_EQ(page.red(190, 90), 255);
    }
}

TEST_F(RunTest, NoCaptionTextMeansTheBoxesAreNotCheckedPerPage) {
    Add(Png("a.png", test::Solid(20, 20, qRgb(255, 255, 255))));
    RunSettings settings = Settings(folder / "out.tif");
    settings.caption.positionX = "-4";
    settings.caption.positionY = "-9";
    ConvertAndWait(toolkit, list, settings);
    EXPECT_TRUE(toolkit.logList().empty());
    EXPECT_TRUE(toolkit.captionResets().empty());
}

// ---- the Convert command -------------------------------------------------------------

TEST_F(RunTest, EmptyListStillResetsTheLogAndChecksThePosition) {
    toolkit.LogLineAdded("old line");
    record.nOutputWidth = 1024;
    RunSettings settings = Settings(folder / "out.tif");
    settings.caption.positionX = "2000";
    const auto result = ConvertAndWait(toolkit, list, settings);
    EXPECT_EQ(result.start, StartResult::EmptyList);
    EXPECT_TRUE(toolkit.logList().empty());
    EXPECT_EQ(
        toolkit.messageTexts(),
        std::vector<std::string>{
            "The text position X is bigger than the photo width!, The program set it to 0 now."});
    EXPECT_EQ(toolkit.captionResets(), std::vector<ui::Axis>{ui::Axis::X});
    EXPECT_TRUE(toolkit.finishedRuns().empty());
    EXPECT_EQ(folder.Files(), std::vector<std::string>{});
}

TEST_F(RunTest, ExistingOutputAnsweredNoIsLeftUntouched) {
    Add(Png("a.png", test::Solid(10, 10, qRgb(1, 1, 1))));
    const std::string output = folder / "keep.tif";
    { std::ofstream(output) << "the user's own file"; }
    const uint64_t before = test::FileHash(output);
    toolkit.ScriptAnswers({Answer::No});

    const auto result = Run(output);
    EXPECT_EQ(result.start, StartResult::Declined);
    const auto messages = toolkit.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, output + " exists. Do you want to replace it?");
    EXPECT_EQ(messages[0].caption, "Warning");
    EXPECT_EQ(messages[0].style, MessageStyle::YesNoExclamation);
    EXPECT_EQ(test::FileHash(output), before);
    EXPECT_TRUE(toolkit.finishedRuns().empty());
    EXPECT_EQ(folder.Files(), (std::vector<std::string>{"a.png", "keep.tif"}));
}

TEST_F(RunTest, ExistingOutputIsReplacedOnlyByACompleteNewFile) {
    Add(Png("a.png", test::Solid(10, 10, qRgb(1, 1, 1))));
    const std::string output = folder / "album.tif";
    { std::ofstream(output) << "old"; }
    toolkit.ScriptAnswers({Answer::Yes});
    Run(output);
    EXPECT_EQ(test::ReadTiffPages(output).size(), 1u);
    EXPECT_EQ(folder.Files(), (std::vector<std::string>{"a.png", "album.tif"}));
}

TEST_F(RunTest, OldFileStaysWhenNoPageCouldBeWritten) {
    Add(Png("a.png", test::Solid(10, 10, qRgb(1, 1, 1))));
    fs::remove(folder / "a.png");
    const std::string output = folder / "album.tif";
    { std::ofstream(output) << "old"; }
    const uint64_t before = test::FileHash(output);
    const auto result = Run(output);  // default answer: Yes
    EXPECT_EQ(result.summary.pagesWritten, 0);
    EXPECT_TRUE(result.summary.outputFiles.empty());
    EXPECT_EQ(test::FileHash(output), before);
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"album.tif"});
}

TEST_F(RunTest, OutputEqualToAnInputReadsTheInputBeforeReplacingIt) {
    const std::string photo = Png("photo.png", test::Pattern(30, 20, 1));
    Add(photo);
    Add(Png("other.png", test::Solid(5, 5, qRgb(3, 3, 3))));
    Add(photo);
    const QImage original(QString::fromStdString(photo));
    const auto result = Run(photo);  // answered Yes
    EXPECT_EQ(result.summary.pagesWritten, 3);
    const auto pages = test::ReadTiffPages(photo);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_LT(test::MeanDifference(test::ToQImage(pages[0]),
                                   original.convertToFormat(QImage::Format_RGB888)),
              0.5);
    EXPECT_LT(test::MeanDifference(test::ToQImage(pages[2]),
                                   original.convertToFormat(QImage::Format_RGB888)),
              0.5);
}

TEST_F(RunTest, OutputEqualToAnInputAnsweredNoLeavesTheInput) {
    const std::string photo = Png("photo.png", test::Pattern(30, 20, 1));
    Add(photo);
    const uint64_t before = test::FileHash(photo);
    toolkit.ScriptAnswers({Answer::No});
    EXPECT_EQ(Run(photo).start, StartResult::Declined);
    EXPECT_EQ(test::FileHash(photo), before);
}

TEST_F(RunTest, UnwritableOutputFolderGivesOneMessageAndNothingElse) {
    Add(Png("a.png", test::Solid(10, 10, qRgb(1, 1, 1))));
    Add(Png("b.png", test::Solid(10, 10, qRgb(1, 1, 1))));
    for (const std::string& output :
         {folder / "no-such-folder/out.tif", std::string("/proc/out.tif")}) {
        test::RecordingToolkit tk;
        const auto result = ConvertAndWait(tk, list, Settings(output));
        const auto messages = tk.messages();
        ASSERT_EQ(messages.size(), 1u) << output;
        // The system's reason, whatever it is for this folder.
        EXPECT_EQ(messages[0].text.rfind("Failed to save the file! (", 0), 0u) << messages[0].text;
        EXPECT_EQ(messages[0].caption, output);
        EXPECT_EQ(result.summary.pagesWritten, 0);
        EXPECT_TRUE(result.summary.outputFailed);
        ASSERT_EQ(tk.finishedRuns().size(), 1u);
        EXPECT_TRUE(tk.finishedRuns()[0].outputFailed);
        EXPECT_EQ(tk.progress(), (std::vector<int>{0, 999}));
    }
    EXPECT_FALSE(fs::exists(folder / "no-such-folder"));
}

// A toolkit that presses Stop (or Convert again) at a chosen moment of the run.
class StoppingToolkit : public test::RecordingToolkit {
  public:
    ConversionRun* run = nullptr;
    int stopAtPage = -1;
    void PageStarted(int index, int, std::string_view) override {
        if (index == stopAtPage) {
            run->RequestStop();
        }
    }
};

TEST_F(RunTest, StopDuringAPhotoFinishesItAndLeavesAValidFile) {
    for (int i = 0; i < 5; ++i) {
        Add(Png("p" + std::to_string(i) + ".png", test::Solid(10 + i, 10, qRgb(i * 40, 0, 0))));
    }
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        StoppingToolkit tk;
        ConversionRun run(tk);
        tk.run = &run;
        tk.stopAtPage = k;
        const std::string output = folder / ("stop" + std::to_string(k) + ".tif");
        ASSERT_EQ(run.Convert(list, Settings(output)), StartResult::Started);
        run.Wait();
        EXPECT_FALSE(run.IsActive());
        bool ok = false;
        const auto pages = test::ReadTiffPages(output, &ok);
        EXPECT_TRUE(ok);
        ASSERT_EQ(pages.size(), static_cast<size_t>(k + 1));
        EXPECT_EQ(pages.back().width, 10 + k);
        EXPECT_EQ(run.Summary().stopped, k < 4);
        EXPECT_EQ(tk.finishedRuns().size(), 1u);
        EXPECT_EQ(tk.progress().back(), 999);
    }
}

TEST_F(RunTest, ConvertWhileARunIsActiveOnlyAsksItToStop) {
    for (int i = 0; i < 4; ++i) {
        Add(Png("p" + std::to_string(i) + ".png", test::Solid(10, 10, qRgb(0, i * 50, 0))));
    }
    // The second Convert arrives while page 1 is being made.
    class SecondClick : public test::RecordingToolkit {
      public:
        ConversionRun* run = nullptr;
        const photolist::PhotoList* list = nullptr;
        RunSettings settings;
        std::optional<StartResult> second;
        void PageStarted(int index, int, std::string_view) override {
            if (index == 1) {
                second = run->Convert(*list, settings);
            }
        }
    } tk;
    ConversionRun run(tk);
    tk.run = &run;
    tk.list = &list;
    tk.settings = Settings(folder / "other.tif");
    ASSERT_EQ(run.Convert(list, Settings(folder / "out.tif")), StartResult::Started);
    run.Wait();
    ASSERT_TRUE(tk.second.has_value());
    EXPECT_EQ(*tk.second, StartResult::StopRequested);
    EXPECT_EQ(test::ReadTiffPages(folder / "out.tif").size(), 2u);
    EXPECT_FALSE(fs::exists(folder / "other.tif"));
}

TEST_F(RunTest, ConvertDuringTheReplaceQuestionCannotStartASecondRun) {
    Add(Png("a.png", test::Solid(10, 10, qRgb(1, 1, 1))));
    const std::string output = folder / "album.tif";
    { std::ofstream(output) << "old"; }
    class ImpatientToolkit : public test::RecordingToolkit {
      public:
        ConversionRun* run = nullptr;
        const photolist::PhotoList* list = nullptr;
        RunSettings settings;
        std::optional<StartResult> nested;
        ui::Answer MessageBox(std::string_view text, std::string_view caption,
                              ui::MessageStyle style) override {
            if (style == ui::MessageStyle::YesNoExclamation && !nested) {
                nested = run->Convert(*list, settings);
            }
            return RecordingToolkit::MessageBox(text, caption, style);
        }
    } tk;
    ConversionRun run(tk);
    tk.run = &run;
    tk.list = &list;
    tk.settings = Settings(output);
    EXPECT_EQ(run.Convert(list, Settings(output)), StartResult::Started);
    run.Wait();
    ASSERT_TRUE(tk.nested.has_value());
    EXPECT_EQ(*tk.nested, StartResult::StopRequested);
    // The stop was honoured before any photo: the user's file is as it was.
    EXPECT_EQ(test::ReadBytes(output), "old");
    EXPECT_TRUE(run.Summary().stopped);
}

TEST_F(RunTest, RunWorksOnASnapshotOfTheList) {
    Add(Png("a.png", test::Solid(10, 10, qRgb(1, 1, 1))));
    Add(Png("b.png", test::Solid(12, 10, qRgb(1, 1, 1))));
    // Edits made by the front end while the run is busy with page 0 do not reach it.
    class Editing : public test::RecordingToolkit {
      public:
        photolist::PhotoList* list = nullptr;
        void PageStarted(int index, int, std::string_view) override {
            if (index == 0) {
                list->clear();
            }
        }
    } tk;
    tk.list = &list;
    ConvertAndWait(tk, list, Settings(folder / "out.tif"));
    EXPECT_EQ(test::ReadTiffPages(folder / "out.tif").size(), 2u);
}

TEST_F(RunTest, LeavingTheScopeWaitsForTheFileToBeClosed) {
    for (int i = 0; i < 3; ++i) {
        Add(Png("p" + std::to_string(i) + ".png", test::Pattern(300, 200, i)));
    }
    {
        ConversionRun run(toolkit);
        ASSERT_EQ(run.Convert(list, Settings(folder / "out.tif")), StartResult::Started);
    }
    EXPECT_EQ(test::ReadTiffPages(folder / "out.tif").size(), 3u);
    EXPECT_EQ(toolkit.finishedRuns().size(), 1u);
}

}  // namespace
}  // namespace vellumo::convert
