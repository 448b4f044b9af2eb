#include "base/text_rules.h"

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

TEST(ReadNumber, LeadingDecimalNumberOnlyAndAlwaysFinite) {
    constexpr double kLargest = std::numeric_limits<double>::max();
    const struct {
        const char* field;
        double value;
    } rows[] = {
        // the leading decimal number
        {"125N", 125.0},
        {"  -12.5abc", -12.5},
        {"+.5", 0.5},
        {"5.", 5.0},
        {"1e3x", 1000.0},
        {"2e", 2.0},
        {".", 0.0},
        // no hexadecimal, infinity or NaN
        {"0x1A", 0.0},
        {"inf", 0.0},
        {"nan", 0.0},
        {"-infinity", 0.0},
        {"", 0.0},
        // finite on overflow and underflow
        {"1e999", kLargest},
        {"-1e999", -kLargest},
        {"1e-999", 0.0},
    };
    for (const auto& row : rows) EXPECT_DOUBLE_EQ(readNumber(row.field), row.value) << row.field;
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

TEST(Narrowing, NeverUndefined) {
    EXPECT_EQ(truncToInt32(std::nan("")), 0);
    EXPECT_EQ(truncToInt32(1e300), 2147483647);
    EXPECT_EQ(truncToInt32(-2.9), -2);
    EXPECT_EQ(toSingle(1e300), std::numeric_limits<float>::max());
}
