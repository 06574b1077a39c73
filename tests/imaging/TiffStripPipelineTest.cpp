// The strip pipeline hands strips over strictly in order, the same bytes whatever the
// number of threads, and stops cleanly when the receiver fails.

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "WriterTestSupport.h"
#include "imaging/LzwEncoder.h"
#include "imaging/TiffStripPipeline.h"

namespace vellumo::imaging {
namespace {

struct Received {
    std::vector<uint32_t> order;
    std::vector<std::vector<uint8_t>> strips;
};

Received EncodeAll(TiffStripPipeline& pipeline, const PageBitmap& page, int32_t rowsPerStrip,
                   bool predictor,
                   TiffStripPipeline::Result expected = TiffStripPipeline::Result::Ok,
                   int failAt = -1) {
    Received got;
    const auto sink = [&](uint32_t strip, const uint8_t* data, size_t size) {
        got.order.push_back(strip);
        got.strips.emplace_back(data, data + size);
        return static_cast<int>(strip) != failAt;
    };
    EXPECT_EQ(pipeline.EncodePage(page, rowsPerStrip, predictor, sink), expected);
    return got;
}

std::vector<uint32_t> Sequence(uint32_t count) {
    std::vector<uint32_t> numbers(count);
    for (uint32_t i = 0; i < count; ++i) {
        numbers[i] = i;
    }
    return numbers;
}

TEST(TiffStripPipeline, DeliversEveryStripInOrderWithTheSameBytesForAnyThreadCount) {
    // 301 rows in strips of 4: 76 strips, the last one a single row.
    const PageBitmap page = testing::NoisePage(257, 301, 11);
    TiffStripPipeline single(1);
    const Received reference = EncodeAll(single, page, 4, true);
    EXPECT_EQ(single.RunningThreads(), 0);
    ASSERT_EQ(reference.order, Sequence(76));

    for (int threads : {2, 3, 8}) {
        TiffStripPipeline pipeline(threads);
        const Received got = EncodeAll(pipeline, page, 4, true);
        EXPECT_EQ(pipeline.RunningThreads(), threads);
        EXPECT_EQ(got.order, reference.order) << threads << " threads";
        EXPECT_EQ(got.strips, reference.strips) << threads << " threads";
    }
}

TEST(TiffStripPipeline, FinishesTheSameBytesWhileOtherThreadsComeAndGo) {
    const PageBitmap page = testing::NoisePage(257, 301, 11);
    TiffStripPipeline single(1);
    const Received reference = EncodeAll(single, page, 4, true);

    // More busy threads than encoders still leaves one encoding; a count that drops
    // mid-page lets the held-back encoders in again.
    std::atomic<int> busy{5};
    TiffStripPipeline pipeline(3, &busy);
    Received got;
    const auto sink = [&](uint32_t strip, const uint8_t* data, size_t size) {
        got.strips.emplace_back(data, data + size);
        busy = strip < 20 ? 5 : strip < 50 ? 1 : 0;
        return true;
    };
    ASSERT_EQ(pipeline.EncodePage(page, 4, true, sink), TiffStripPipeline::Result::Ok);
    EXPECT_EQ(got.strips, reference.strips);
}

TEST(TiffStripPipeline, EncodesPagesOfDifferentSizesOneAfterAnother) {
    TiffStripPipeline pipeline(3);
    TiffStripPipeline single(1);
    const PageBitmap pages[] = {testing::GradientPage(1000, 90), testing::NoisePage(31, 7, 2),
                                testing::FlatPage(4000, 33, kWhite)};
    for (const PageBitmap& page : pages) {
        const Received parallel = EncodeAll(pipeline, page, 8, false);
        const Received inline_ = EncodeAll(single, page, 8, false);
        EXPECT_EQ(parallel.order, Sequence(static_cast<uint32_t>((page.height() + 7) / 8)));
        EXPECT_EQ(parallel.strips, inline_.strips);
    }
}

TEST(TiffStripPipeline, EachStripIsOneLzwStreamOfItsOwnRows) {
    // Without the predictor a strip must be exactly the LZW stream of its rows.
    const PageBitmap page = testing::NoisePage(100, 10, 4);
    TiffStripPipeline pipeline(2);
    const Received got = EncodeAll(pipeline, page, 3, false);
    ASSERT_EQ(got.strips.size(), 4u);
    LzwEncoder encoder;
    for (size_t i = 0; i < got.strips.size(); ++i) {
        const int32_t first = static_cast<int32_t>(i) * 3;
        const int32_t rows = std::min(3, page.height() - first);
        const size_t bytes = page.stride() * static_cast<size_t>(rows);
        std::vector<uint8_t> expected(LzwMaxEncodedSize(bytes));
        expected.resize(encoder.Encode(page.row(first), bytes, expected.data()));
        EXPECT_EQ(got.strips[i], expected) << "strip " << i;
    }
}

TEST(TiffStripPipeline, StopsAtTheFirstStripTheReceiverRefuses) {
    const PageBitmap page = testing::NoisePage(64, 200, 9);
    for (int threads : {1, 2, 4}) {
        TiffStripPipeline pipeline(threads);
        const Received got =
            EncodeAll(pipeline, page, 2, true, TiffStripPipeline::Result::SinkFailed, 5);
        EXPECT_EQ(got.order, Sequence(6)) << threads << " threads";
        // The pipeline stays usable for the next page.
        const Received next = EncodeAll(pipeline, page, 50, true);
        EXPECT_EQ(next.order, Sequence(4));
    }
}

}  // namespace
}  // namespace vellumo::imaging
