#include "render/layers/grid_numbers_layer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

using namespace tcmap;

namespace {

// A 360 x 180 map shown whole: a degree is a pixel, 0° at the left edge.
OutputGeometry wholeMap360() {
    OutputGeometry frame;
    frame.mapWidth = 360;
    frame.mapHeight = 180;
    frame.outputWidth = 360;
    frame.outputHeight = 180;
    return frame;
}

// Each number's text and the point it is centred on: x for longitudes (the
// lowest row), y for latitudes.
std::map<std::string, double> centres(const std::vector<EdgeNumber>& numbers, bool longitudes) {
    double longitudeRow = 0;
    for (const EdgeNumber& n : numbers) longitudeRow = std::max(longitudeRow, n.box.y);
    std::map<std::string, double> out;
    for (const EdgeNumber& n : numbers) {
        const bool longitude = n.box.y == longitudeRow;
        if (longitude != longitudes) continue;
        out[n.text] = longitude ? n.box.x + n.box.width / 2 : n.box.y + n.box.height / 2;
    }
    return out;
}

}  // namespace

TEST(GridNumbers, TextsOfLongitudesAndLatitudes) {
    struct Row {
        double degrees;
        bool longitude;
        const char* text;
    };
    const Row rows[] = {
        {0, true, "0\xC2\xB0"},
        {120, true,
         "120\xC2\xB0"
         "E"},
        {180, true, "180\xC2\xB0"},
        {240, true, "120\xC2\xB0W"},
        {-60, true, "60\xC2\xB0W"},
        {-180, true, "180\xC2\xB0"},
        {360, true, "0\xC2\xB0"},
        {490, true,
         "130\xC2\xB0"
         "E"},
        {10, false, "10\xC2\xB0N"},
        {-25, false, "25\xC2\xB0S"},
        {0, false, "0\xC2\xB0"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.longitude ? longitudeText(row.degrees) : latitudeText(row.degrees), row.text)
            << row.degrees;
    }
}

TEST(GridNumbers, StepKeepsRoomBetweenNumbers) {
    struct Row {
        double pixelsPerDegree, minimum;
        int step;
    };
    const Row rows[] = {{1, 0.5, 1}, {1, 1, 1},     {1, 1.1, 2}, {1, 45, 45},
                        {1, 46, 60}, {0.1, 50, 90}, {5, 40, 10}};
    for (const Row& row : rows) {
        EXPECT_EQ(gridNumberStep(row.pixelsPerDegree, row.minimum), row.step)
            << row.pixelsPerDegree << " " << row.minimum;
    }
}

TEST(GridNumbers, KnownPositionsOnA360By180Map) {
    const std::vector<EdgeNumber> numbers = gridNumbers(wholeMap360(), 4.0);
    const auto at = centres(numbers, true);
    const auto lat = centres(numbers, false);
    // The widest longitude, "120°W", is 14.4 px at em 4: a step of 30° leaves
    // 1.6 times that.
    EXPECT_EQ(at.count("20\xC2\xB0"
                       "E"),
              0u);
    EXPECT_DOUBLE_EQ(at.at("30\xC2\xB0"
                           "E"),
                     30);
    EXPECT_DOUBLE_EQ(at.at("120\xC2\xB0"
                           "E"),
                     120);
    EXPECT_DOUBLE_EQ(at.at("180\xC2\xB0"), 180);
    EXPECT_DOUBLE_EQ(at.at("120\xC2\xB0W"), 240);
    EXPECT_DOUBLE_EQ(at.at("30\xC2\xB0W"), 330);
    // Latitudes every 10° (two line heights of 5 px): 10°N at
    // y = 80, the equator at 90, 40°S at 130.
    EXPECT_DOUBLE_EQ(lat.at("10\xC2\xB0N"), 80);
    EXPECT_DOUBLE_EQ(lat.at("0\xC2\xB0"), 90);
    EXPECT_EQ(at.count("0\xC2\xB0"), 0u);  // over the left edge
    EXPECT_DOUBLE_EQ(lat.at("40\xC2\xB0S"), 130);
    EXPECT_EQ(lat.count("15\xC2\xB0N"), 0u);
    for (size_t i = 0; i < numbers.size(); ++i) {
        EXPECT_TRUE(numbers[i].box.inside(360, 180)) << numbers[i].text;
        for (size_t j = i + 1; j < numbers.size(); ++j) {
            EXPECT_FALSE(numbers[i].box.intersects(numbers[j].box))
                << numbers[i].text << " " << numbers[j].text;
        }
    }
}

TEST(GridNumbers, FollowTheFrameAcrossTheSeam) {
    // A picture of 200 x 100 from map x 300 (60°W) with a margin of 20:
    // 0° lies at x = 60 - 300 + 20 + 360 - 60 = 80.
    OutputGeometry frame = wholeMap360();
    frame.minX = 300;
    frame.marginX = 20;
    frame.minY = 40;
    frame.marginY = 10;
    frame.outputWidth = 200;
    frame.outputHeight = 100;
    const auto numbers = gridNumbers(frame, 4.0);
    const auto at = centres(numbers, true);
    const auto lat = centres(numbers, false);
    EXPECT_DOUBLE_EQ(at.at("0\xC2\xB0"), 80);
    EXPECT_DOUBLE_EQ(at.at("30\xC2\xB0W"), 50);
    EXPECT_DOUBLE_EQ(at.at("90\xC2\xB0"
                           "E"),
                     170);
    // 60°W at x = 20 would reach into the latitude column; 120°E at 200 lies
    // beyond the right edge.
    EXPECT_EQ(at.count("60\xC2\xB0W"), 0u);
    EXPECT_EQ(at.count("120\xC2\xB0"
                       "E"),
              0u);
    // 40°N: map y 50, output 50 - 40 + 10.
    EXPECT_DOUBLE_EQ(lat.at("40\xC2\xB0N"), 20);
}

TEST(GridNumbers, NothingWithoutAPicture) {
    OutputGeometry empty;
    EXPECT_TRUE(gridNumbers(empty, 4.0).empty());
    EXPECT_TRUE(gridNumbers(wholeMap360(), 0.0).empty());
}
