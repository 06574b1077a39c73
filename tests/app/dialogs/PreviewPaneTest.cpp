// The preview pane: the clicked entry's frame, stretched to the pane, decoded off the
// window's thread; failures reported; late results of older clicks never shown.
#include <gtest/gtest.h>

#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <vector>

#include "ColouredTiff.h"
#include "DialogTestSupport.h"
#include "app/dialogs/PreviewPane.h"
#include "imaging/ImageFile.h"

namespace vellumo::app::dialogs {
namespace {

using imaging::FrameDimension;
using test::Near;
using test::WriteColouredTiff;

class PreviewPaneTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        threePages_ = dir_.filePath("three.tif").toStdString();
        ASSERT_TRUE(WriteColouredTiff(
            threePages_,
            {{40, 30, qRgb(255, 0, 0)}, {64, 16, qRgb(0, 200, 0)}, {20, 50, qRgb(0, 0, 255)}}));
        pane_.resize(161, 85);
        pane_.show();
    }

    // What the pane shows on screen, as an image.
    QImage Shown() { return pane_.grab().toImage(); }

    bool WaitShown(QSignalSpy& spy) { return spy.count() > 0 || spy.wait(20000); }

    QTemporaryDir dir_;
    std::string threePages_;
    test::MessageRecorder messages_;
    PreviewPane pane_;
};

TEST_F(PreviewPaneTest, ShowsTheEntrysFrameStretchedOverThePane) {
    QSignalSpy shown(&pane_, &PreviewPane::previewShown);
    photolist::PhotoEntry second;  // the second of the three entries made from the file
    second.path = threePages_;
    second.frameDimension = FrameDimension::Page;
    second.frameIndex = 1;
    pane_.ShowPreview(second);
    ASSERT_TRUE(WaitShown(shown));

    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_EQ(pane_.picture().size(), pane_.size() * pane_.devicePixelRatioF());
    const QImage image = Shown();
    // Green from corner to corner: the 64 x 16 frame fills the whole 161 x 85 pane.
    for (const QPoint p : {QPoint(1, 1), QPoint(80, 42), QPoint(159, 83), QPoint(1, 83)}) {
        EXPECT_TRUE(Near(image.pixel(p), qRgb(0, 200, 0)))
            << p.x() << "," << p.y() << " " << std::hex << image.pixel(p);
    }
}

// One file of each newer format: the pane shows its first frame and says nothing.
TEST_F(PreviewPaneTest, ShowsTheNewerFormats) {
    const std::filesystem::path modern = std::filesystem::path(VELLUMO_CORPORA_DIR) / "modern";
    if (!std::filesystem::exists(modern)) {
        GTEST_SKIP() << "modern corpus not available";
    }
    for (const char* name :
         {"heif/gen_3_toplevel_images_thumbs.heic", "avif/kif_framenumbers.avif",
          "jxl/conformance_alpha_nonpremultiplied.jxl", "raw/digicam_KodakDC50_DC0008L.kdc",
          "jp2/exiv2_Reagan.jp2", "psd/exiv2_photoshop.psd", "tga/kif_bw.tga",
          "webp/exiv2_bug1199_icc_exif_xmp.webp", "svg/libvips_blankpage.svg",
          "emf/libemf2svg_test-000.emf", "wmf/libwmf_2doorvan.wmf",
          "tiff-float/gen_f32_gray_hdr_0to16_tiled_lzw_400x267.tif"}) {
        const std::string path = (modern / name).string();
        const imaging::ImageFile file = imaging::ImageFile::Open(path);
        ASSERT_TRUE(file.IsValid()) << name << ": " << file.Error();
        QSignalSpy shown(&pane_, &PreviewPane::previewShown);
        pane_.ShowPreview(path, file.FrameDimensions().front().dimension, 0);
        ASSERT_TRUE(WaitShown(shown)) << name;
        EXPECT_TRUE(pane_.hasPicture()) << name;
    }
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(PreviewPaneTest, RepaintsKeepTheFrame) {
    QSignalSpy shown(&pane_, &PreviewPane::previewShown);
    pane_.ShowPreview(threePages_, FrameDimension::Page, 2);
    ASSERT_TRUE(WaitShown(shown));
    pane_.repaint();
    const QImage first = Shown();
    pane_.update();
    pane_.repaint();
    const QImage second = Shown();
    EXPECT_TRUE(Near(first.pixel(80, 42), qRgb(0, 0, 255)));
    EXPECT_EQ(first, second);
}

TEST_F(PreviewPaneTest, ShowingReturnsAtOnceAndTheFrameArrivesLater) {
    QSignalSpy shown(&pane_, &PreviewPane::previewShown);
    pane_.ShowPreview(threePages_, FrameDimension::Page, 0);
    // The decode runs elsewhere; its result can only arrive through the event loop.
    EXPECT_TRUE(pane_.isLoading());
    EXPECT_FALSE(pane_.hasPicture());
    ASSERT_TRUE(WaitShown(shown));
    EXPECT_FALSE(pane_.isLoading());
    EXPECT_TRUE(Near(Shown().pixel(80, 42), qRgb(255, 0, 0)));
}

TEST_F(PreviewPaneTest, OnlyTheLastOfQuickClicksIsShown) {
    QSignalSpy shown(&pane_, &PreviewPane::previewShown);
    pane_.ShowPreview(threePages_, FrameDimension::Page, 0);
    pane_.ShowPreview(threePages_, FrameDimension::Page, 1);
    pane_.ShowPreview(threePages_, FrameDimension::Page, 2);
    ASSERT_TRUE(WaitShown(shown));
    // Nothing is left to decode or to arrive.
    EXPECT_FALSE(pane_.isLoading());
    EXPECT_EQ(shown.count(), 1);
    EXPECT_TRUE(Near(Shown().pixel(80, 42), qRgb(0, 0, 255)));
}

TEST_F(PreviewPaneTest, FileThatNoLongerLoadsIsReportedAndLeavesThePaneEmpty) {
    QSignalSpy shown(&pane_, &PreviewPane::previewShown);
    QSignalSpy failed(&pane_, &PreviewPane::previewFailed);
    pane_.ShowPreview(threePages_, FrameDimension::Page, 0);
    ASSERT_TRUE(WaitShown(shown));

    ASSERT_TRUE(QFile::remove(QString::fromStdString(threePages_)));
    pane_.ShowPreview(threePages_, FrameDimension::Page, 1);
    ASSERT_TRUE(failed.wait(20000));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "Can not Active a Frame");
    EXPECT_EQ(messages_.shown[0].caption, "Error");
    EXPECT_FALSE(pane_.hasPicture());
    EXPECT_EQ(Shown().pixel(80, 42), pane_.palette().color(QPalette::Base).rgb());
}

TEST_F(PreviewPaneTest, FrameBeyondTheFileIsReported) {
    QSignalSpy failed(&pane_, &PreviewPane::previewFailed);
    pane_.ShowPreview(threePages_, FrameDimension::Page, 3);
    ASSERT_TRUE(failed.wait(20000));
    EXPECT_EQ(messages_.texts(), std::vector<std::string>{"Can not Active a Frame"});
}

TEST_F(PreviewPaneTest, NonImageFileIsReported) {
    const QString path = dir_.filePath("notes.jpg");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is not a photo");
    file.close();
    QSignalSpy failed(&pane_, &PreviewPane::previewFailed);
    pane_.ShowPreview(path.toStdString(), FrameDimension::Page, 0);
    ASSERT_TRUE(failed.wait(20000));
    EXPECT_EQ(messages_.texts(), std::vector<std::string>{"Can not Active a Frame"});
}

TEST_F(PreviewPaneTest, ReleasedPaneDropsAFrameStillBeingDecoded) {
    QSignalSpy shown(&pane_, &PreviewPane::previewShown);
    pane_.ShowPreview(threePages_, FrameDimension::Page, 0);
    pane_.ReleasePreview();
    EXPECT_FALSE(pane_.hasPicture());
    // A later request is decoded after the dropped one: when it is shown, the dropped
    // frame has had every chance to arrive, and did not.
    pane_.ShowPreview(threePages_, FrameDimension::Page, 2);
    ASSERT_TRUE(WaitShown(shown));
    EXPECT_EQ(shown.count(), 1);
    EXPECT_TRUE(Near(Shown().pixel(80, 42), qRgb(0, 0, 255)));
    EXPECT_FALSE(pane_.isLoading());
}

}  // namespace
}  // namespace vellumo::app::dialogs
