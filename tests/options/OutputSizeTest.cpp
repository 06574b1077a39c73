#include "options/OutputSize.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/RecordingReporter.h"

namespace vellumo::options {
namespace {

OutputPhotoFormat Custom(int32_t w, int32_t h, int32_t keep) {
    OutputPhotoFormat r;
    r.nOuputSizeType = kSizeCustom;
    r.nOutputWidth = w;
    r.nOutputHeight = h;
    r.nKeepAspectRatio = keep;
    return r;
}

OutputPhotoFormat Original(int32_t w, int32_t h) {
    OutputPhotoFormat r;
    r.nOutputWidth = w;
    r.nOutputHeight = h;
    return r;
}

OutputPhotoFormat ShrinkOnly(OutputPhotoFormat r) {
    r.bShrinkOnly = true;
    return r;
}

OutputPhotoFormat Stretch(double h, double v) {
    OutputPhotoFormat r;
    r.nOuputSizeType = kSizeStretch;
    r.dStretchHorizontal = h;
    r.dStretchVertical = v;
    return r;
}

struct SizeCase {
    const char* name;
    int32_t ws, hs;
    OutputPhotoFormat record;
    PageSize expected;
};
void PrintTo(const SizeCase& c, std::ostream* os) {
    *os << c.name;
}

class SizeRuleTable : public ::testing::TestWithParam<SizeCase> {};

TEST_P(SizeRuleTable, GivesTheTruncatedSize) {
    const auto& c = GetParam();
    test::RecordingReporter reporter;
    const auto size = ComputeOutputSize(c.ws, c.hs, c.record, reporter);
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(*size, c.expected);
    EXPECT_TRUE(reporter.reports.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SizeRuleTable,
    ::testing::Values(
        SizeCase{"OriginalIgnoresSettings", 640, 480, Original(9, 9), PageSize{640, 480}},
        SizeCase{"OriginalIsDefault", 640, 480, OutputPhotoFormat{}, PageSize{640, 480}},
        SizeCase{"CustomKeepNone", 3000, 2000, Custom(1024, 768, kKeepNone), {1024, 768}},
        // 2000 / 3000 * 1024 = 682.67: truncated, not rounded
        SizeCase{"KeepWidthTruncates", 3000, 2000, Custom(1024, 768, kKeepWithWidth), {1024, 682}},
        SizeCase{"KeepHeight", 1000, 2000, Custom(1024, 768, kKeepWithHeight), {384, 768}},
        SizeCase{"StretchHalf", 641, 481, Stretch(0.5, 0.5), {320, 240}},
        SizeCase{"StretchToNothing", 100, 100, Stretch(0.0001, 0.0001), {0, 0}},
        SizeCase{"StretchAnamorphic", 100, 100, Stretch(2.0, 0.5), {200, 50}},
        // Ratio first, then the multiplication: 1/3 * 3 is 1.0 in doubles, 3 * 1 / 3 too,
        // but 7 / 3 * 3 = 7.000000000000001 -> 7, while rounding errors must not drop to 6.
        SizeCase{"RatioFirst", 3, 7, Custom(3, 0, kKeepWithWidth), {3, 7}},
        // Fit: the side that reaches the box first decides; 2000 / 3000 * 1024 = 682.67.
        SizeCase{"FitWide", 3000, 2000, Custom(1024, 1024, kKeepFit), {1024, 682}},
        SizeCase{"FitTall", 2000, 3000, Custom(1024, 1024, kKeepFit), {682, 1024}},
        SizeCase{"FitExactAspect", 400, 300, Custom(800, 600, kKeepFit), {800, 600}},
        SizeCase{"FitEnlarges", 100, 50, Custom(1024, 1024, kKeepFit), {1024, 512}},
        SizeCase{
            "ShrinkOnlyKeepsSmall", 100, 50, ShrinkOnly(Custom(1024, 1024, kKeepFit)), {100, 50}},
        SizeCase{"ShrinkOnlyShrinksLarge",
                 3000,
                 2000,
                 ShrinkOnly(Custom(1024, 1024, kKeepFit)),
                 {1024, 682}},
        // Shrinking one side is shrinking: the exact size applies.
        SizeCase{"ShrinkOnlyOneSide",
                 2000,
                 500,
                 ShrinkOnly(Custom(1024, 1024, kKeepNone)),
                 {1024, 1024}},
        SizeCase{"ShrinkOnlyStretch", 100, 100, ShrinkOnly(Stretch(2.0, 2.0)), {100, 100}}),
    [](const ::testing::TestParamInfo<SizeCase>& p) { return std::string(p.param.name); });

TEST(SizeRule, UnknownKeepAspectIsReportedAndLeavesStoredSize) {
    test::RecordingReporter reporter;
    auto record = Custom(111, 222, 7);
    EXPECT_FALSE(StoreOutputSize(640, 480, record, reporter));
    EXPECT_EQ(record.nOutputWidth, 111);
    EXPECT_EQ(record.nOutputHeight, 222);
    ASSERT_EQ(reporter.reports.size(), 1u);
    EXPECT_EQ(reporter.reports[0].text, "unknown error nKeepAspectRatio");
    EXPECT_EQ(reporter.reports[0].caption, "error");
}

TEST(SizeRule, UnknownSizeTypeIsReportedAndLeavesStoredSize) {
    test::RecordingReporter reporter;
    OutputPhotoFormat record;
    record.nOuputSizeType = 3;
    EXPECT_FALSE(StoreOutputSize(640, 480, record, reporter));
    EXPECT_EQ(record.nOutputWidth, 1024);
    EXPECT_EQ(record.nOutputHeight, 768);
    ASSERT_EQ(reporter.reports.size(), 1u);
    EXPECT_EQ(reporter.reports[0].text, "unknown error m_outputPhotoFormat.nOuputSizeType");
    EXPECT_EQ(reporter.reports[0].caption, "error");
}

TEST(SizeRule, StoredSizeFeedsTheNextComputation) {
    // With keep 1 the stored width stays and the height follows each new frame.
    test::RecordingReporter reporter;
    auto record = Custom(1024, 768, kKeepWithWidth);
    ASSERT_TRUE(StoreOutputSize(3000, 2000, record, reporter));
    EXPECT_EQ(record.nOutputWidth, 1024);
    EXPECT_EQ(record.nOutputHeight, 682);
    ASSERT_TRUE(StoreOutputSize(1000, 2000, record, reporter));
    EXPECT_EQ(record.nOutputWidth, 1024);
    EXPECT_EQ(record.nOutputHeight, 2048);
}

TEST(SizeRule, AbsurdInputsSaturateInsteadOfOverflowing) {
    test::RecordingReporter reporter;
    // A huge factor must not turn into undefined behaviour or a wrapped negative size.
    auto big = ComputeOutputSize(100000, 100000, Stretch(1000000.0, 1000000.0), reporter);
    ASSERT_TRUE(big.has_value());
    EXPECT_EQ(big->width, std::numeric_limits<int32_t>::max());
    // A zero-sized frame: 0/0 is not a number and gives 0, which the pipeline rejects.
    auto zero = ComputeOutputSize(0, 0, Custom(1024, 768, kKeepWithWidth), reporter);
    ASSERT_TRUE(zero.has_value());
    EXPECT_EQ(zero->height, 0);
}

}  // namespace
}  // namespace vellumo::options
