// BMP, JPEG and PNG files of one page, read back by Qt; and the encoder lookup.

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <cmath>
#include <filesystem>
#include <vector>

#include "WriterTestSupport.h"
#include "imaging/EncoderLookup.h"
#include "imaging/PageWriters.h"

namespace vellumo::imaging {
namespace {

namespace fs = std::filesystem;
using testing::ScratchDir;

QImage Load(const fs::path& file) {
    return QImage(QString::fromStdString(file.string()));
}

// Largest sample difference between a page and an image Qt decoded.
int MaxDifference(const PageBitmap& page, const QImage& image) {
    if (image.width() != page.width() || image.height() != page.height()) {
        return 256;
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    int worst = 0;
    for (int32_t y = 0; y < page.height(); ++y) {
        const uint8_t* a = page.row(y);
        const uint8_t* b = rgb.constScanLine(y);
        for (size_t i = 0; i < page.stride(); ++i) {
            worst = std::max(worst, std::abs(int{a[i]} - int{b[i]}));
        }
    }
    return worst;
}

double MeanDifference(const PageBitmap& page, const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    double total = 0;
    for (int32_t y = 0; y < page.height(); ++y) {
        for (size_t i = 0; i < page.stride(); ++i) {
            total += std::abs(int{page.row(y)[i]} - int{rgb.constScanLine(y)[i]});
        }
    }
    return total / static_cast<double>(page.byteSize());
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 |
           uint32_t{b[at + 3]} << 24;
}

TEST(SaveBmp24, WritesA24BitBottomUpFileWithPaddedRowsAndResolution) {
    ScratchDir dir;
    // Width 5: 15 bytes of pixels a row, padded to 16.
    PageBitmap page = testing::NoisePage(5, 3, 21);
    page.SetResolution(200, 100);
    const fs::path file = dir.File("page.bmp");
    const WriteOutcome outcome = SaveBmp24(page, file);
    ASSERT_TRUE(outcome) << outcome.error;

    const std::vector<uint8_t> bytes = testing::FileBytes(file);
    ASSERT_EQ(bytes.size(), 54u + 16 * 3);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(Le32(bytes, 2), bytes.size());
    EXPECT_EQ(Le32(bytes, 10), 54u);
    EXPECT_EQ(Le32(bytes, 18), 5u);
    EXPECT_EQ(Le32(bytes, 22), 3u);
    EXPECT_EQ(bytes[28], 24);
    EXPECT_EQ(Le32(bytes, 30), 0u);
    EXPECT_EQ(Le32(bytes, 38), 7874u);  // 200 dpi in pixels per metre
    EXPECT_EQ(Le32(bytes, 42), 3937u);
    // First stored row is the bottom row, blue first.
    EXPECT_EQ(bytes[54], page.pixel(0, 2).b);
    EXPECT_EQ(bytes[56], page.pixel(0, 2).r);

    EXPECT_EQ(MaxDifference(page, Load(file)), 0);
}

TEST(SaveBmp24, RealPhotoComesBackExactly) {
    auto photo = testing::PhotoPage("exif-orientation/Portrait_1.jpg");
    if (!photo) {
        GTEST_SKIP() << "corpus photo not available";
    }
    ScratchDir dir;
    ASSERT_TRUE(SaveBmp24(*photo, dir.File("photo.bmp")));
    EXPECT_EQ(MaxDifference(*photo, Load(dir.File("photo.bmp"))), 0);
}

TEST(SavePng, KeepsPixelsAndResolution) {
    ScratchDir dir;
    PageBitmap page = testing::GradientPage(333, 77);  // odd row length in bytes
    page.SetResolution(300, 300);
    const WriteOutcome outcome = SavePng(page, dir.File("page.png"));
    ASSERT_TRUE(outcome) << outcome.error;
    const QImage image = Load(dir.File("page.png"));
    EXPECT_EQ(MaxDifference(page, image), 0);
    EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, 300, 0.5);
    // The page itself is untouched by writing.
    EXPECT_EQ(page.dpiX(), 300);
}

TEST(SaveJpeg, HonoursTheQualityAndKeepsTheResolution) {
    ScratchDir dir;
    auto photo = testing::PhotoPage("exif-orientation/Landscape_1.jpg");
    PageBitmap page = photo ? std::move(*photo) : testing::GradientPage(640, 480);
    page.SetResolution(150, 150);
    ASSERT_TRUE(SaveJpeg(page, dir.File("fine.jpg"), 95));
    ASSERT_TRUE(SaveJpeg(page, dir.File("coarse.jpg"), 5));
    const QImage fine = Load(dir.File("fine.jpg"));
    ASSERT_FALSE(fine.isNull());
    EXPECT_LT(MeanDifference(page, fine), 2.0);
    EXPECT_NEAR(fine.dotsPerMeterX() * 0.0254, 150, 0.5);
    EXPECT_LT(fs::file_size(dir.File("coarse.jpg")) * 3, fs::file_size(dir.File("fine.jpg")));
}

TEST(SinglePageWriters, FailuresCarryAReasonAndLeaveNoFile) {
    ScratchDir dir;
    const PageBitmap page = testing::FlatPage(8, 8, kWhite);
    const fs::path missing = dir.File("no-such-folder");
    for (const WriteOutcome& outcome :
         {SaveBmp24(page, missing / "a.bmp"), SaveJpeg(page, missing / "a.jpg", 80),
          SavePng(page, missing / "a.png")}) {
        EXPECT_FALSE(outcome.ok);
        EXPECT_FALSE(outcome.error.empty());
    }
    EXPECT_FALSE(fs::exists(missing));

    EXPECT_FALSE(SaveJpeg(page, dir.File("q0.jpg"), 0).ok);
    EXPECT_FALSE(SaveJpeg(page, dir.File("q101.jpg"), 101).ok);
    EXPECT_FALSE(SavePng(PageBitmap{}, dir.File("empty.png")).ok);
    EXPECT_FALSE(SaveBmp24(PageBitmap{}, dir.File("empty.bmp")).ok);
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(SinglePageWriters, EachPageReplacesTheFileBefore) {
    ScratchDir dir;
    const PageBitmap first = testing::FlatPage(30, 20, Rgb{255, 0, 0});
    const PageBitmap second = testing::NoisePage(12, 40, 8);
    for (const char* name : {"out.bmp", "out.png"}) {
        const fs::path file = dir.File(name);
        ASSERT_TRUE(name[4] == 'b' ? SaveBmp24(first, file) : SavePng(first, file));
        ASSERT_TRUE(name[4] == 'b' ? SaveBmp24(second, file) : SavePng(second, file));
        EXPECT_EQ(MaxDifference(second, Load(file)), 0) << name;
    }
}

TEST(EncoderLookup, FindsEachOutputTypeByExactMimeType) {
    std::vector<int> found;
    for (const char* mime : {"image/bmp", "image/jpeg", "image/png", "image/tiff"}) {
        const int index = FindEncoder(mime);
        ASSERT_GE(index, 0) << mime;
        EXPECT_EQ(AvailableEncoders()[static_cast<size_t>(index)].mimeType, mime);
        found.push_back(index);
    }
    EXPECT_EQ(found, (std::vector<int>{0, 1, 2, 3}));
    for (const char* mime : {"image/BMP", "Image/jpeg", "image/gif", "image/tif", "image/png ", "",
                             "image/x-ms-bmp"}) {
        EXPECT_EQ(FindEncoder(mime), -1) << "'" << mime << "'";
    }
}

}  // namespace
}  // namespace vellumo::imaging
