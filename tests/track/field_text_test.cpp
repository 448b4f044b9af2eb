#include "track/field_text.h"

#include "base/text_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

using namespace tcmap;

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
