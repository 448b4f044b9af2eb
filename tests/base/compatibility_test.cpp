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
    EXPECT_EQ(sixDigitText("35"), "35");
    EXPECT_EQ(sixDigitText(" 1005"), "1005");
    EXPECT_EQ(sixDigitText("35.50"), "35.5");
    EXPECT_EQ(sixDigitText("abc"), "0");
    EXPECT_EQ(sixDigitText("1234567"), "1.23457e+06");
}

TEST(CoordinateText, TenthsOfADegreeWithHemisphere) {
    EXPECT_EQ(tenthsText("125N", 'S'), "12.5");
    EXPECT_EQ(tenthsText("85S", 'S'), "-8.5");
    EXPECT_EQ(tenthsText("905W", 'W'), "-90.5");
    EXPECT_EQ(tenthsText("1800E", 'W'), "180.0");
    EXPECT_EQ(tenthsText("", 'S'), "0.0");
    EXPECT_EQ(tenthsText("0W", 'W'), "-0.0");
    EXPECT_EQ(tenthsText("85s", 'S'), "8.5");  // only the capital letter negates
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
    EXPECT_EQ(drawStatusText(0), "");
    EXPECT_EQ(drawStatusText(1), "通用错误");
    EXPECT_EQ(drawStatusText(3), "内存溢出");
    EXPECT_EQ(drawStatusText(21), "未找到配置文件");
    EXPECT_EQ(drawStatusText(22), "未知错误");
    EXPECT_EQ(drawStatusText(-1), "未知错误");
}

TEST(Colours, StoredOrderAndCanvasOrder) {
    static_assert(rgb(255, 128, 0) == 0x000080FFu);
    static_assert(toArgb(0x000080FFu) == 0xFFFF8000u);
    static_assert(toArgb(rgb(1, 2, 3), 0x40) == 0x40010203u);
    EXPECT_EQ(rgb(256 + 15, -1, 31), 0x001FFF0Fu);  // each channel cut to its low byte
}

TEST(TrackValues, HoursWithoutPrefixAndTextSigns) {
    EXPECT_EQ(withoutHourPrefix("12"), "12");
    EXPECT_EQ(withoutHourPrefix("P+12"), "12");
    EXPECT_EQ(withoutHourPrefix("1P+2P+"), "12");
    EXPECT_TRUE(isWesternByText("-0"));
    EXPECT_FALSE(isWesternByText(" -90"));
    EXPECT_FALSE(isWesternByText(""));
    EXPECT_TRUE(isPassedOverStormId("@"));
    EXPECT_FALSE(isPassedOverStormId("@1"));
    EXPECT_EQ(sixDigitInteger("35.5"), 35);
    EXPECT_EQ(sixDigitInteger("1234567"), 1234570);
    EXPECT_EQ(sixDigitInteger(1234567), 1234570);
    EXPECT_EQ(sixDigitInteger(-999999), -999999);
    EXPECT_EQ(degreesText(-0.0), "-0.0");
    EXPECT_EQ(degreesText(12.5), "12.5");
    EXPECT_EQ(degreesText(180), "180.0");
}
