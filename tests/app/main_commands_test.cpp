#include "app/main_commands.h"

#include <gtest/gtest.h>

#include "render/canvas/canvas.h"

using namespace tcmap;

TEST(BackgroundColour, TakesTheLowEightBitsOfThreeIntegerParts) {
    const struct {
        const char* text;
        std::optional<uint32_t> colour;
    } rows[] = {
        {"15,23,31", kDesignedBackground},
        {"300,0,0", rgb(44, 0, 0)},
        {"-1, 256 ,7.9,99", rgb(255, 0, 7)},
        {"red,green,blue", rgb(0, 0, 0)},
        {"99999999999,1,2", rgb(255, 1, 2)},  // saturated 2^31-1
        {"15,23", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& row : rows) EXPECT_EQ(parseBackgroundColour(row.text), row.colour) << row.text;
    EXPECT_EQ(backgroundColourText(rgb(200, 10, 0)), "200,10,0");
}

TEST(AutoDraw, OnlyOneToThreeSelectADrawMode) {
    EXPECT_EQ(autoDrawItem("2"), kAutoDrawRegional);
    EXPECT_EQ(autoDrawItem("3 (global)"), kAutoDrawGlobal);
    for (const char* off : {"0", "4", "-1", "", "one"}) EXPECT_EQ(autoDrawItem(off), kAutoDrawOff);
    EXPECT_EQ(autoDrawMode(kAutoDrawOff), std::nullopt);
    EXPECT_EQ(autoDrawMode(kAutoDrawNormal), DrawMode::Normal);
    EXPECT_EQ(autoDrawMode(kAutoDrawRegional), DrawMode::Regional);
    EXPECT_EQ(autoDrawMode(kAutoDrawGlobal), DrawMode::Global);
}
