#include "render/layers/legend_contrast.h"

#include <gtest/gtest.h>

#include "render/canvas/picture.h"

using namespace tcmap;

TEST(LegendContrast, RatiosOfTheAccessibilityRules) {
    struct Row {
        uint32_t a, b;
        double ratio;
    };
    const Row rows[] = {
        {0x000000, 0xFFFFFF, 21.0}, {0xFFFFFF, 0x000000, 21.0}, {0x808080, 0x808080, 1.0},
        {0x767676, 0xFFFFFF, 4.54},  // the grey that just passes on white
        {0x0000FF, 0x000000, 2.44},
    };
    for (const Row& row : rows) {
        EXPECT_NEAR(contrastRatio(row.a, row.b), row.ratio, 0.01) << std::hex << row.a;
    }
}

TEST(LegendContrast, BackingOnlyForFaintRows) {
    struct Row {
        const char* what;
        uint32_t row, under;
        std::optional<Argb> backing;
    };
    const Row rows[] = {
        {"dark blue on navy: a light backing", 0x2040A0, 0x0A1A3A, Argb{0xD0FFFFFF}},
        {"yellow on white: a dark backing", 0xFFFF00, 0xF0F0F0, Argb{0xD0000000}},
        {"white on navy: readable", 0xFFFFFF, 0x0A1A3A, std::nullopt},
        {"red on green land", 0xFF0000, 0x3C8C3C, Argb{0xD0000000}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(legendBacking(row.row, row.under), row.backing) << row.what;
    }
}

TEST(LegendContrast, MeanColourUnderABox) {
    Picture picture;
    ASSERT_EQ(picture.create(40, 20, 0xFF102030, kPngFormatId), 0);
    EXPECT_EQ(meanColour(picture, {5, 5, 10, 10}), 0x102030u);
    // Cut to the picture; wholly outside gives nothing.
    EXPECT_EQ(meanColour(picture, {-10, 15, 20, 20}), 0x102030u);
    EXPECT_EQ(meanColour(picture, {50, 0, 10, 10}), std::nullopt);
    // Half black, half white: mid grey.
    uint32_t* pixels = picture.pixels();
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) pixels[y * 40 + x] = x < 20 ? 0xFF000000 : 0xFFFFFFFF;
    }
    const std::optional<uint32_t> grey = meanColour(picture, {0, 0, 40, 20});
    ASSERT_TRUE(grey);
    EXPECT_NEAR(static_cast<int>(*grey & 0xFF), 128, 2);
}
