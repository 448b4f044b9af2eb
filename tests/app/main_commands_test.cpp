#include "app/main_commands.h"

#include <gtest/gtest.h>

#include "render/canvas/canvas.h"

using namespace tcmap;

TEST(BackgroundColour, TakesTheLowEightBitsOfThreeIntegerParts) {
    EXPECT_EQ(parseBackgroundColour("15,23,31"), kDesignedBackground);
    EXPECT_EQ(parseBackgroundColour("300,0,0"), rgb(44, 0, 0));
    EXPECT_EQ(parseBackgroundColour("-1, 256 ,7.9,99"), rgb(255, 0, 7));
    EXPECT_EQ(parseBackgroundColour("red,green,blue"), rgb(0, 0, 0));
    EXPECT_EQ(parseBackgroundColour("99999999999,1,2"), rgb(255, 1, 2));  // saturated 2^31-1
    EXPECT_EQ(parseBackgroundColour("15,23"), std::nullopt);
    EXPECT_EQ(parseBackgroundColour(""), std::nullopt);
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
