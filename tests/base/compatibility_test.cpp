#include "base/compatibility.h"

#include "base/text_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <numeric>
#include <random>
#include <string>
#include <vector>

using namespace tcmap;

TEST(NumberText, SixSignificantDigitsWithoutTrailingZeros) {
    const struct {
        const char* field;
        const char* text;
    } rows[] = {
        {"35", "35"}, {" 1005", "1005"},          {"35.50", "35.5"},
        {"abc", "0"}, {"1234567", "1.23457e+06"},
    };
    for (const auto& row : rows) EXPECT_EQ(sixDigitText(row.field), row.text) << row.field;
}

TEST(CoordinateText, TenthsOfADegreeWithHemisphere) {
    const struct {
        const char* field;
        char negative;  // the hemisphere letter that makes it negative
        const char* text;
    } rows[] = {
        {"125N", 'S', "12.5"},   {"85S", 'S', "-8.5"}, {"905W", 'W', "-90.5"},
        {"1800E", 'W', "180.0"}, {"", 'S', "0.0"},     {"0W", 'W', "-0.0"},
        {"85s", 'S', "8.5"},  // only the capital letter negates
    };
    for (const auto& row : rows) {
        EXPECT_EQ(tenthsText(row.field, row.negative), row.text) << row.field;
    }
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
        EXPECT_EQ(sixDigitText(field), printfG(static_cast<float>(n)));
        const float tenths = toSingle(static_cast<float>(n) / 10.0);
        std::string expected = printfG(tenths);
        if (expected.find('.') == std::string::npos) expected += ".0";
        ASSERT_EQ(tenthsText(field, 'S'), expected) << n;
        expected = printfG(-tenths);
        if (expected.find('.') == std::string::npos) expected += ".0";
        ASSERT_EQ(tenthsText(field + "W", 'W'), expected) << n;
    }
    EXPECT_EQ(tenthsText("-0", 'W'), "-0.0");
    EXPECT_EQ(tenthsText("-0W", 'W'), "0.0");
    EXPECT_EQ(tenthsText("12.5", 'S'), "1.25");
}

TEST(SortByWind, ReplaysTheSelectionSortExactly) {
    std::mt19937 random(20140901);
    for (int round = 0; round < 300; ++round) {
        const size_t n = round < 5 ? static_cast<size_t>(round) : random() % 400 + 2;
        // Few distinct winds, so ties decide most swaps.
        const int32_t spread = static_cast<int32_t>(random() % 6) + 1;
        std::vector<int32_t> wind(n);
        for (auto& w : wind) w = static_cast<int32_t>(random() % spread) * 5 - 5;
        std::vector<int64_t> fast(n);
        std::iota(fast.begin(), fast.end(), int64_t{0});
        std::vector<int64_t> plain;
        std::shuffle(fast.begin(), fast.end(), random);
        plain = fast;
        sortByWind(wind, fast);
        sortByWindSelection(wind, plain);
        ASSERT_EQ(fast, plain) << "round " << round;
    }
    std::vector<int64_t> seq = {7, 8, 9};
    sortByWind({3, 1, 2, 0, 0}, seq);  // more winds than positions
    EXPECT_EQ(seq, (std::vector<int64_t>{8, 9, 7}));
}

TEST(DrawStatusText, TheLibrarysCodesAndTheirTexts) {
    const struct {
        int code;
        const char* text;
    } rows[] = {
        {0, ""},          {1, "通用错误"},  {3, "内存溢出"}, {21, "未找到配置文件"},
        {22, "未知错误"}, {-1, "未知错误"},
    };
    for (const auto& row : rows) EXPECT_EQ(drawStatusText(row.code), row.text) << row.code;
}

TEST(Colours, StoredOrderAndCanvasOrder) {
    static_assert(rgb(255, 128, 0) == 0x000080FFu);
    static_assert(toArgb(0x000080FFu) == 0xFFFF8000u);
    static_assert(toArgb(rgb(1, 2, 3), 0x40) == 0x40010203u);
    EXPECT_EQ(rgb(256 + 15, -1, 31), 0x001FFF0Fu);  // each channel cut to its low byte
}

TEST(TrackValues, HoursWithoutPrefixAndTextSigns) {
    const struct {
        const char* field;
        const char* hours;
    } hourRows[] = {{"12", "12"}, {"P+12", "12"}, {"1P+2P+", "12"}};
    for (const auto& row : hourRows)
        EXPECT_EQ(withoutHourPrefix(row.field), row.hours) << row.field;

    const struct {
        const char* field;
        bool western;
    } signRows[] = {{"-0", true}, {" -90", false}, {"", false}};
    for (const auto& row : signRows)
        EXPECT_EQ(isWesternByText(row.field), row.western) << row.field;

    EXPECT_TRUE(isPassedOverStormId("@"));
    EXPECT_FALSE(isPassedOverStormId("@1"));

    const struct {
        const char* field;
        int64_t value;
    } integerRows[] = {{"35.5", 35}, {"1234567", 1234570}};
    for (const auto& row : integerRows)
        EXPECT_EQ(sixDigitInteger(row.field), row.value) << row.field;
    EXPECT_EQ(sixDigitInteger(1234567), 1234570);
    EXPECT_EQ(sixDigitInteger(-999999), -999999);

    const struct {
        double degrees;
        const char* text;
    } degreeRows[] = {{-0.0, "-0.0"}, {12.5, "12.5"}, {180, "180.0"}};
    for (const auto& row : degreeRows) EXPECT_EQ(degreesText(row.degrees), row.text) << row.degrees;
}
