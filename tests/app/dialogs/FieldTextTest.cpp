// Numbers as the options dialog writes them into its fields and reads them back.
#include <gtest/gtest.h>

#include <limits>

#include "app/dialogs/FieldText.h"

namespace vellumo::app::dialogs {
namespace {

TEST(FieldTextTest, FactorsUseAtMostFifteenSignificantDigitsInShortestForm) {
    EXPECT_EQ(FormatFactor(1.0), "1");
    EXPECT_EQ(FormatFactor(0.5), "0.5");
    EXPECT_EQ(FormatFactor(0.1), "0.1");
    EXPECT_EQ(FormatFactor(2.0 / 3.0), "0.666666666666667");
    EXPECT_EQ(FormatFactor(1000000.0), "1000000");
    EXPECT_EQ(FormatFactor(0.000001), "1e-06");
    EXPECT_EQ(FormatFactor(123456789012345678.0), "1.23456789012346e+17");
}

TEST(FieldTextTest, IntegersAcceptSignsAndSurroundingBlanksOnly) {
    EXPECT_EQ(ParseInteger("42"), 42);
    EXPECT_EQ(ParseInteger("  -7\t"), -7);
    EXPECT_EQ(ParseInteger("+15"), 15);
    EXPECT_EQ(ParseInteger("2147483647"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(ParseInteger("-2147483648"), std::numeric_limits<int32_t>::min());

    for (const char* bad : {"", "   ", "+", "-", "1.0", "12a", "a12", "1 2", "+-3", "++3",
                            "2147483648", "-2147483649", "0x10", "1e3"}) {
        EXPECT_FALSE(ParseInteger(bad).has_value()) << '"' << bad << '"';
    }
}

TEST(FieldTextTest, NumbersAreFiniteDecimalsOnly) {
    EXPECT_DOUBLE_EQ(*ParseNumber("2"), 2.0);
    EXPECT_DOUBLE_EQ(*ParseNumber(" -0.5 "), -0.5);
    EXPECT_DOUBLE_EQ(*ParseNumber("+1e-3"), 0.001);
    EXPECT_DOUBLE_EQ(*ParseNumber(".75"), 0.75);
    EXPECT_DOUBLE_EQ(*ParseNumber(FormatFactor(2.0 / 3.0)), 0.666666666666667);

    for (const char* bad :
         {"", " ", "x", "1,5", "1.5.2", "inf", "-inf", "nan", "1e999", "0x1p3", "--1", "1 e3"}) {
        EXPECT_FALSE(ParseNumber(bad).has_value()) << '"' << bad << '"';
    }
}

TEST(FieldTextTest, BoundsFillTheirPlaceholders) {
    EXPECT_EQ(FillBounds("Please enter an integer between %1 and %2.", "1", "100"),
              "Please enter an integer between 1 and 100.");
    EXPECT_EQ(FillBounds("%2 then %1, 100%", "a", "b"), "b then a, 100%");
}

}  // namespace
}  // namespace vellumo::app::dialogs
