// A real photo through the whole indexed path: octree palette, reduction with diffusion,
// BMP writer; the files must be readable by an ordinary decoder (Qt) with the expected
// colour table and must still look like the photo.

#include <gtest/gtest.h>
#include <QImage>

#include <cstring>
#include <filesystem>
#include <set>
#include <vector>

#include "dib/IndexedBitmap.h"
#include "dib/OctreePalette.h"

namespace vellumo::dib {
namespace {

namespace fs = std::filesystem;

CIndexedBitmap FromQImage(const QImage& rgb888) {
    CIndexedBitmap image;
    image.Allocate(rgb888.width(), rgb888.height(), 24);
    for (int y = 0; y < rgb888.height(); ++y) {
        const uchar* line = rgb888.constScanLine(rgb888.height() - 1 - y);
        for (int x = 0; x < rgb888.width(); ++x) {
            image.WriteColor(x, y, MakeColor(line[3 * x], line[3 * x + 1], line[3 * x + 2]));
        }
    }
    return image;
}

// Mean over 8 x 8 blocks of the difference in average brightness: dithering may move
// single pixels far, but areas must keep their tone.
double BlockToneError(const QImage& a, const QImage& b) {
    double total = 0;
    int blocks = 0;
    for (int by = 0; by + 8 <= a.height(); by += 8) {
        for (int bx = 0; bx + 8 <= a.width(); bx += 8) {
            double sa = 0, sb = 0;
            for (int y = by; y < by + 8; ++y) {
                for (int x = bx; x < bx + 8; ++x) {
                    sa += qGray(a.pixel(x, y));
                    sb += qGray(b.pixel(x, y));
                }
            }
            total += std::abs(sa - sb) / 64;
            ++blocks;
        }
    }
    return total / blocks;
}

TEST(DibPhoto, OctreeAndDiffusionGiveIndexedBmpsAViewerReads) {
    const fs::path photo = fs::path(VELLUMO_SAMPLES_DIR) / "Landscape_1.jpg";
    if (!fs::exists(photo)) {
        GTEST_SKIP() << "sample photo missing: " << photo;
    }
    QImage source(QString::fromStdString(photo.string()));
    ASSERT_FALSE(source.isNull());
    source =
        source.scaledToWidth(240, Qt::SmoothTransformation).convertToFormat(QImage::Format_RGB888);
    const fs::path folder = fs::temp_directory_path() / "vellumo-dib-photo";
    fs::create_directories(folder);

    struct Depth {
        uint32_t bits, colors;
        double maxToneError;
    };
    for (const Depth depth : {Depth{1, 2, 24.0}, Depth{4, 16, 8.0}, Depth{8, 256, 2.0}}) {
        SCOPED_TRACE(testing::Message() << depth.bits << " bits");
        CIndexedBitmap image = FromQImage(source);
        COctreePalette octree(depth.colors, 8);
        ASSERT_TRUE(octree.AddImage(image));
        std::vector<RGBQUAD> table(depth.colors);
        octree.FillPalette(table.data());
        ASSERT_TRUE(image.ReduceDepth(depth.bits, true, table.data(), 0));
        const fs::path file = folder / ("photo" + std::to_string(depth.bits) + ".bmp");
        ASSERT_TRUE(image.SaveBmp(file));

        const QImage written(QString::fromStdString(file.string()));
        ASSERT_FALSE(written.isNull());
        EXPECT_EQ(written.size(), source.size());
        EXPECT_EQ(written.colorCount(), static_cast<int>(depth.colors));
        // Qt may order a 2-colour table its own way: compare the tables as sets, and the
        // pixels one by one.
        std::set<uint32_t> ours, theirs;
        for (int i = 0; i < written.colorCount(); ++i) {
            theirs.insert(written.color(i) & 0xFFFFFF);
            ours.insert(qRgb(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue) & 0xFFFFFF);
        }
        EXPECT_EQ(theirs, ours);
        int differ = 0;
        for (int y = 0; y < written.height(); ++y) {
            for (int x = 0; x < written.width(); ++x) {
                const RGBQUAD c = image.ReadColor(x, written.height() - 1 - y);
                differ += (written.pixel(x, y) & 0xFFFFFF) !=
                          (qRgb(c.rgbRed, c.rgbGreen, c.rgbBlue) & 0xFFFFFF);
            }
        }
        EXPECT_EQ(differ, 0);
        const double error = BlockToneError(source, written.convertToFormat(QImage::Format_RGB888));
        RecordProperty("tone_error_" + std::to_string(depth.bits), std::to_string(error));
        EXPECT_LT(error, depth.maxToneError);
    }
    fs::remove_all(folder);
}

}  // namespace
}  // namespace vellumo::dib
