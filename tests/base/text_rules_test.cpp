#include "base/text_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

using namespace tcmap;

using Pieces = std::vector<std::string>;

TEST(SplitText, KeepsInnerEmptyPiecesButDropsEmptyRemainder) {
    const struct {
        const char* text;
        const char* separator;
        int limit;  // -1: none, the default
        Pieces pieces;
    } rows[] = {
        {"a,,b,", ",", -1, {"a", "", "b"}},
        {"", ",", -1, {}},
        {",", ",", -1, {""}},
        // A real ATCF record ends in ", ": its last piece is a single space.
        {"WP, 19, ", ",", -1, {"WP", " 19", " "}},
        // A limit drops the rest.
        {"a,b,c,d", ",", 2, {"a", "b"}},
        {"a,b", ",", 0, {}},
        {"x\r\ny\r\n", "\r\n", -1, {"x", "y"}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(splitText(row.text, row.separator, row.limit), row.pieces)
            << row.text << " limit " << row.limit;
    }
}

TEST(TrimText, RemovesSpacesAndIdeographicSpacesOnly) {
    const struct {
        const char* text;
        const char* trimmed;
    } rows[] = {
        {"  WP  ", "WP"},
        {"\xE3\x80\x80 TS\xE3\x80\x80", "TS"},
        {"\tTS ", "\tTS"},
        {"   ", ""},
    };
    for (const auto& row : rows) EXPECT_EQ(trimText(row.text), row.trimmed) << row.text;
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
    const struct {
        const char* field;
        int32_t value;
    } rows32[] = {
        {"1e3", 1000},
        {"-7.9", -7},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (const auto& row : rows32) EXPECT_EQ(readInteger(row.field), row.value) << row.field;
    const struct {
        const char* field;
        int64_t value;
    } rows64[] = {
        {"201410011800", 201410011800},
        {"99999999999999999999", std::numeric_limits<int64_t>::max()},
        {"9007199254740993", 9007199254740993},
    };
    for (const auto& row : rows64) EXPECT_EQ(readInteger64(row.field), row.value) << row.field;
}

TEST(Narrowing, NeverUndefined) {
    const struct {
        double value;
        int32_t truncated;
    } rows[] = {{std::nan(""), 0}, {1e300, 2147483647}, {-2.9, -2}};
    for (const auto& row : rows) EXPECT_EQ(truncToInt32(row.value), row.truncated) << row.value;
    EXPECT_EQ(toSingle(1e300), std::numeric_limits<float>::max());
}
