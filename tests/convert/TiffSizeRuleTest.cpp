#include "convert/TiffSizeRule.h"

#include <gtest/gtest.h>

namespace vellumo::convert {
namespace {

using imaging::TiffCompression;

photolist::PhotoList Pages(int count, int32_t side, int32_t format = options::kFormatTif) {
    photolist::PhotoList list;
    for (int i = 0; i < count; ++i) {
        photolist::PhotoEntry entry;
        entry.outputFormat.nOutputWidth = side;
        entry.outputFormat.nOutputHeight = side;
        entry.outputFormat.nOuptputFormat = format;
        list.append(entry);
    }
    return list;
}

struct RuleCase {
    const char* name;
    photolist::PhotoList list;
    TiffCompression compression;
    uint64_t keptBytes;
    bool bigTiff;
};

TEST(TiffSizeRule, BigTiffOnlyWhenThePagesCouldPassFourGiB) {
    const RuleCase cases[] = {
        // Four 20000 x 20000 pages are 4.8 GB raw: past what a classic TIFF holds.
        {"FourHugeUncompressed", Pages(4, 20000), TiffCompression::None, 0, true},
        {"ThreeHugeUncompressed", Pages(3, 20000), TiffCompression::None, 0, false},
        // LZW may grow noise by half: three such pages could pass 4 GiB.
        {"ThreeHugeLzw", Pages(3, 20000), TiffCompression::Lzw, 0, true},
        {"ManySmall", Pages(500, 1000), TiffCompression::Lzw, 0, false},
        {"PagesOfAnotherFormat", Pages(4, 20000, options::kFormatPdf), TiffCompression::None, 0,
         false},
        // Appending: the pages already in the file count too.
        {"KeptPagesCount", Pages(3, 20000), TiffCompression::None, uint64_t{1} << 30, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NeedsBigTiff(c.list, c.compression, c.keptBytes), c.bigTiff) << c.name;
    }
}

TEST(TiffSizeRule, TheBoundCoversTheRawPixelsAndGrowsWithEveryPage) {
    const uint64_t one = TiffSizeBound({{1000, 1000}}, TiffCompression::None);
    const uint64_t two = TiffSizeBound({{1000, 1000}, {1000, 1000}}, TiffCompression::None);
    EXPECT_GE(one, 3000000u);
    EXPECT_EQ(two - one, one - TiffSizeBound({}, TiffCompression::None));
    EXPECT_GT(TiffSizeBound({{1000, 1000}}, TiffCompression::Lzw), one);
}

}  // namespace
}  // namespace vellumo::convert
