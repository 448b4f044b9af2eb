#include "track/text_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

using namespace tcmap;

using Pieces = std::vector<std::string>;

TEST(SplitText, KeepsInnerEmptyPiecesButDropsEmptyRemainder) {
    EXPECT_EQ(splitText("a,,b,", ","), (Pieces{"a", "", "b"}));
    EXPECT_EQ(splitText("", ","), Pieces{});
    EXPECT_EQ(splitText(",", ","), Pieces{""});
    // A real ATCF record ends in ", ": its last piece is a single space.
    EXPECT_EQ(splitText("WP, 19, ", ","), (Pieces{"WP", " 19", " "}));
}

TEST(SplitText, LimitDropsTheRest) {
    EXPECT_EQ(splitText("a,b,c,d", ",", 2), (Pieces{"a", "b"}));
    EXPECT_EQ(splitText("a,b", ",", 0), Pieces{});
    EXPECT_EQ(splitText("x\r\ny\r\n", "\r\n"), (Pieces{"x", "y"}));
}

TEST(TrimText, RemovesSpacesAndIdeographicSpacesOnly) {
    EXPECT_EQ(trimText("  WP  "), "WP");
    EXPECT_EQ(trimText("\xE3\x80\x80 TS\xE3\x80\x80"), "TS");
    EXPECT_EQ(trimText("\tTS "), "\tTS");
    EXPECT_EQ(trimText("   "), "");
}

TEST(ReadNumber, TakesTheLeadingDecimalNumber) {
    EXPECT_DOUBLE_EQ(readNumber("125N"), 125.0);
    EXPECT_DOUBLE_EQ(readNumber("  -12.5abc"), -12.5);
    EXPECT_DOUBLE_EQ(readNumber("+.5"), 0.5);
    EXPECT_DOUBLE_EQ(readNumber("5."), 5.0);
    EXPECT_DOUBLE_EQ(readNumber("1e3x"), 1000.0);
    EXPECT_DOUBLE_EQ(readNumber("2e"), 2.0);
    EXPECT_DOUBLE_EQ(readNumber("."), 0.0);
}

TEST(ReadNumber, RefusesHexInfinityAndNan) {
    EXPECT_DOUBLE_EQ(readNumber("0x1A"), 0.0);
    EXPECT_DOUBLE_EQ(readNumber("inf"), 0.0);
    EXPECT_DOUBLE_EQ(readNumber("nan"), 0.0);
    EXPECT_DOUBLE_EQ(readNumber("-infinity"), 0.0);
    EXPECT_DOUBLE_EQ(readNumber(""), 0.0);
}

TEST(ReadNumber, StaysFiniteOnOverflowAndUnderflow) {
    EXPECT_DOUBLE_EQ(readNumber("1e999"), std::numeric_limits<double>::max());
    EXPECT_DOUBLE_EQ(readNumber("-1e999"), -std::numeric_limits<double>::max());
    EXPECT_DOUBLE_EQ(readNumber("1e-999"), 0.0);
}

TEST(ReadInteger, TruncatesTowardZeroAndSaturates) {
    EXPECT_EQ(readInteger("1e3"), 1000);
    EXPECT_EQ(readInteger("-7.9"), -7);
    EXPECT_EQ(readInteger("99999999999"), 2147483647);
    EXPECT_EQ(readInteger("-99999999999"), -2147483647 - 1);
    EXPECT_EQ(readInteger64("201410011800"), 201410011800);
    EXPECT_EQ(readInteger64("99999999999999999999"), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(readInteger64("9007199254740993"), 9007199254740993);
}

TEST(NumberText, SixSignificantDigitsWithoutTrailingZeros) {
    EXPECT_EQ(numberText("35"), "35");
    EXPECT_EQ(numberText(" 1005"), "1005");
    EXPECT_EQ(numberText("35.50"), "35.5");
    EXPECT_EQ(numberText("abc"), "0");
    EXPECT_EQ(numberText("1234567"), "1.23457e+06");
}

TEST(CoordinateText, TenthsOfADegreeWithHemisphere) {
    EXPECT_EQ(coordinateText("125N", 'S'), "12.5");
    EXPECT_EQ(coordinateText("85S", 'S'), "-8.5");
    EXPECT_EQ(coordinateText("905W", 'W'), "-90.5");
    EXPECT_EQ(coordinateText("1800E", 'W'), "180.0");
    EXPECT_EQ(coordinateText("", 'S'), "0.0");
    EXPECT_EQ(coordinateText("0W", 'W'), "-0.0");
    EXPECT_EQ(coordinateText("85s", 'S'), "8.5");  // only the capital letter negates
}

// Whole numbers take a shortcut past the general conversion; C's "%g" of the
// single-precision value is the reference for both writers.
TEST(NumberText, ShortcutsAgreeWithPrintf) {
    const auto printfG = [](float value) {
        char text[64];
        std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
        return std::string(text);
    };
    std::vector<int64_t> samples = {999999, 1000000, 1000001, -999999, 16777217, 123456789};
    for (int64_t n = -3000; n <= 3000; ++n) samples.push_back(n);
    std::mt19937 random(7);
    for (int i = 0; i < 20000; ++i) samples.push_back(int64_t(random() % 4'000'000) - 2'000'000);
    for (const int64_t n : samples) {
        const std::string field = std::to_string(n);
        EXPECT_EQ(numberText(field), printfG(static_cast<float>(n)));
        const float tenths = toSingle(static_cast<float>(n) / 10.0);
        std::string expected = printfG(tenths);
        if (expected.find('.') == std::string::npos) expected += ".0";
        ASSERT_EQ(coordinateText(field, 'S'), expected) << n;
        expected = printfG(-tenths);
        if (expected.find('.') == std::string::npos) expected += ".0";
        ASSERT_EQ(coordinateText(field + "W", 'W'), expected) << n;
    }
    EXPECT_EQ(coordinateText("-0", 'W'), "-0.0");
    EXPECT_EQ(coordinateText("-0W", 'W'), "0.0");
    EXPECT_EQ(coordinateText("12.5", 'S'), "1.25");
}

TEST(Narrowing, NeverUndefined) {
    EXPECT_EQ(truncToInt32(std::nan("")), 0);
    EXPECT_EQ(truncToInt32(1e300), 2147483647);
    EXPECT_EQ(truncToInt32(-2.9), -2);
    EXPECT_EQ(toSingle(1e300), std::numeric_limits<float>::max());
}
