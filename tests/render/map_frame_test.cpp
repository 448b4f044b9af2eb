#include "render/map_frame.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "render/canvas/cairo_canvas.h"
#include "render/canvas/canvas.h"
#include "render/canvas/picture.h"
#include "support/recording_canvas.h"

using namespace tcmap;

namespace {

// A 360 x 180 map: one degree is one pixel.
constexpr int32_t kW = 360;
constexpr int32_t kH = 180;

MapFrame normalFrame(int32_t w = kW, int32_t h = kH) {
    MapFrame f;
    f.mapWidth = w;
    f.mapHeight = h;
    return f;
}

struct Bounds {
    int32_t minX, minY, maxX, maxY;
    bool operator==(const Bounds&) const = default;
};

Bounds boundsOf(const MapFrame& f) {
    return {f.minX, f.minY, f.maxX, f.maxY};
}

void PrintTo(const Bounds& b, std::ostream* out) {
    *out << "x " << b.minX << ".." << b.maxX << ", y " << b.minY << ".." << b.maxY;
}

// Fixes accepted one after the other in a Normal job, as the job places them.
Bounds boundsAfter(const std::vector<std::pair<double, double>>& fixes) {
    MapFrame f = normalFrame();
    const Projection map(kW, kH);
    double previousX = 0;
    for (const auto& [lat, lon] : fixes) {
        const MapPoint p = map.fix(lat, lon, previousX);
        f.noteLine(p, FrameReset::None);
        f.extendBounds(p);
        previousX = p.x;
    }
    return boundsOf(f);
}

}  // namespace

TEST(MapFrameBounds, FollowTheTrackAcrossTheSeamBothWays) {
    // 170°E to 170°W: the 180° meridian is the middle of the map, no seam.
    EXPECT_EQ(boundsAfter({{10, 170}, {20, -170}}), (Bounds{170, 70, 190, 80}));
    // 10°E to 10°W crosses 0° westwards: the frame grows left of the map.
    EXPECT_EQ(boundsAfter({{10, 10}, {10, -10}}), (Bounds{-10, 80, 10, 80}));
    // 10°W to 10°E crosses it eastwards: the frame grows beyond the right edge.
    EXPECT_EQ(boundsAfter({{10, -10}, {10, 10}}), (Bounds{350, 80, 370, 80}));
    // A seam crossing never shrinks what the frame already covers.
    EXPECT_EQ(boundsAfter({{10, -10}, {10, -30}, {10, 10}, {10, 5}}), (Bounds{330, 80, 370, 80}));
    // Ordinary growth in all four directions.
    EXPECT_EQ(boundsAfter({{10, 100}, {30, 90}, {-5, 120}, {0, 95}}), (Bounds{90, 60, 120, 95}));
}

TEST(MapFrameOutputSize, MarginsAndCentringOnTheMinimumSize) {
    MapFrame f = normalFrame(7200, 3600);
    f.minX = 1000;
    f.maxX = 1100;
    f.minY = 500;
    f.maxY = 600;
    f.marginX = 360;
    f.marginY = 270;
    f.minWidth = 1920;
    f.minHeight = 1080;
    f.computeOutputSize();
    // 100 + 720 = 820 < 1920: the frame moves left by 550.
    EXPECT_EQ(f.outputWidth, 1920);
    EXPECT_EQ(f.minX, 450);
    // 100 + 540 = 640 < 1080: up by 220.
    EXPECT_EQ(f.outputHeight, 1080);
    EXPECT_EQ(f.minY, 280);
    EXPECT_DOUBLE_EQ(f.toOutputX(1000), 910);
    EXPECT_DOUBLE_EQ(f.toOutputY(500), 490);

    // An odd difference puts the extra pixel on the right.
    f.minX = 1000;
    f.maxX = 1101;
    f.computeOutputSize();
    EXPECT_EQ(f.minX, 451);
    EXPECT_EQ(f.outputWidth, 1920);

    // Large enough: no change of minX.
    f.minX = -200;
    f.maxX = 2000;
    f.computeOutputSize();
    EXPECT_EQ(f.minX, -200);
    EXPECT_EQ(f.outputWidth, 2920);
}

TEST(MapFrameOutputSize, AbsurdSettingsSaturateInsteadOfOverflowing) {
    MapFrame f = normalFrame();
    f.minX = -2000000000;
    f.maxX = 2000000000;
    f.marginX = 2000000000;
    f.marginY = -2000000000;
    f.minWidth = std::numeric_limits<int32_t>::min();
    f.minHeight = 2000000000;
    f.computeOutputSize();
    EXPECT_EQ(f.outputWidth, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(f.minX, -2000000000);
    // The height saturates at -2^31, far below the minimum of 2e9.
    EXPECT_EQ(f.outputHeight, 2000000000);
    EXPECT_EQ(f.minY, -2073741824);

    // Negative margins may leave no picture at all; the size says so.
    f = normalFrame();
    f.maxX = 10;
    f.maxY = 10;
    f.marginX = -100;
    f.marginY = -5;
    f.minWidth = -1;
    f.minHeight = 0;
    f.computeOutputSize();
    EXPECT_EQ(f.outputWidth, -1);
    EXPECT_EQ(f.outputHeight, 0);
}

TEST(PresetFrame, GlobalAndRegional) {
    MapFrame f = normalFrame(7200, 3600);
    f.marginX = 360;
    f.minWidth = 1920;
    presetFrame(f, DrawMode::Regional, {"60", "100", "60", "80"});
    EXPECT_EQ(boundsOf(f), (Bounds{2000, 600, 1600, 1200}));
    EXPECT_EQ(f.outputWidth, 1600);
    EXPECT_EQ(f.outputHeight, 1200);
    EXPECT_EQ(f.marginX, 0);
    EXPECT_EQ(f.minWidth, 0);

    // A west edge is read from the text's sign.
    presetFrame(f, DrawMode::Regional, {"10.5", "-100", "20", "30.5"});
    EXPECT_EQ(f.minX, 5200);
    EXPECT_EQ(f.minY, 1590);
    EXPECT_EQ(f.outputWidth, 610);
    // Parts that are missing or not numbers read 0.
    f = normalFrame();
    presetFrame(f, DrawMode::Regional, {"90", "x"});
    EXPECT_TRUE(f.boundsAllZero());
    // Absurd extents give absurd sizes; creating the picture refuses them.
    f = normalFrame(7200, 3600);
    presetFrame(f, DrawMode::Regional, {"60", "100", "1e300", "80000"});
    EXPECT_EQ(f.outputWidth, 1600000);
    EXPECT_EQ(f.outputHeight, std::numeric_limits<int32_t>::max());

    f = normalFrame();
    f.marginY = 270;
    f.minHeight = 1080;
    presetFrame(f, DrawMode::Global, {});
    EXPECT_EQ(boundsOf(f), (Bounds{0, 0, kW, kH}));
    EXPECT_EQ(f.outputWidth, kW);
    EXPECT_EQ(f.outputHeight, kH);
    EXPECT_EQ(f.marginY, 0);
    EXPECT_FALSE(f.boundsAllZero());
}

TEST(OutputPicture, BlankOrACopyOfTheMap) {
    Picture map;
    ASSERT_EQ(map.create(kW, kH, 0xFF336699, kPngFormatId), status::kOk);
    MapFrame f = normalFrame();
    f.outputWidth = 50;
    f.outputHeight = 20;
    Picture output;
    ASSERT_EQ(createOutputPicture(output, map, DrawMode::Normal, f), status::kOk);
    EXPECT_EQ(output.width(), 50);
    EXPECT_EQ(output.height(), 20);
    EXPECT_EQ(output.formatId(), kBmpFormatId);
    EXPECT_EQ(output.pixelArgb(49, 19), 0xFF0F0F0Fu);

    presetFrame(f, DrawMode::Global, {});
    ASSERT_EQ(createOutputPicture(output, map, DrawMode::Global, f), status::kOk);
    EXPECT_EQ(output.width(), kW);
    EXPECT_EQ(output.formatId(), kPngFormatId);
    EXPECT_EQ(output.pixelArgb(0, 0), 0xFF336699u);

    // Sizes no picture can have: refused before any allocation.
    const std::pair<std::pair<int32_t, int32_t>, int32_t> refused[] = {
        {{0, 20}, status::kInvalidParameter},
        {{32768, 1}, status::kOutOfMemory},
        {{32767, 32767}, status::kOutOfMemory},  // 4 GiB of pixels
    };
    for (const auto& [size, expected] : refused) {
        f.outputWidth = size.first;
        f.outputHeight = size.second;
        EXPECT_EQ(createOutputPicture(output, map, DrawMode::Regional, f), expected)
            << size.first << " x " << size.second;
        EXPECT_TRUE(output.empty());
    }
    Picture none;
    EXPECT_EQ(createOutputPicture(output, none, DrawMode::Global, f), status::kOutOfMemory);
}

TEST(PaintMap, CopiesBesideTheMainOne) {
    Picture map;
    ASSERT_EQ(map.create(kW, kH, 0xFF336699, kPngFormatId), status::kOk);
    const auto paint = [&](int32_t minX, int32_t marginX, int32_t outputWidth,
                           RecordingCanvas& canvas) {
        MapFrame f = normalFrame();
        f.minX = minX;
        f.marginX = marginX;
        f.minY = 70;
        f.marginY = 5;
        f.outputWidth = outputWidth;
        canvas.setSize(outputWidth, 20);
        const int32_t result = paintMap(canvas, map, f);
        std::vector<std::vector<float>> copies;
        for (const RecordedCall& call : canvas.callsOf(CanvasOp::DrawPicture)) {
            EXPECT_EQ(call.pictureWidth, kW);
            copies.push_back(call.coords);
        }
        return std::pair{result, copies};
    };
    using Copies = std::vector<std::vector<float>>;
    {
        // Crossed eastwards (10°W to 10°E): the right part is the copy one
        // map width to the right.
        RecordingCanvas canvas;
        EXPECT_EQ(paint(340, 10, 50, canvas),
                  std::pair(status::kOk, Copies{{30, -65, 360, 180}, {-330, -65, 360, 180}}));
    }
    {
        // The frame starts at the left edge: the left copy is painted even
        // though it lies wholly outside; the right one is skipped.
        RecordingCanvas canvas;
        EXPECT_EQ(paint(0, 0, 50, canvas),
                  std::pair(status::kOk, Copies{{-360, -65, 360, 180}, {0, -65, 360, 180}}));
    }
    {
        // A failed copy ends the painting with its status.
        RecordingCanvas canvas;
        canvas.failCallOf(CanvasOp::DrawPicture, 0, status::kOutOfMemory);
        EXPECT_EQ(paint(-15, 10, 50, canvas),
                  std::pair(status::kOutOfMemory, Copies{{-335, -65, 360, 180}}));
    }
}

TEST(PaintMap, CopiesAcrossTheSeamAreTheMapsPixelsExactly) {
    // A map whose every pixel differs from its neighbours: any resampling or
    // half-pixel shift of a copy changes some of them.
    Picture map;
    ASSERT_EQ(map.create(kW, kH, 0xFF000000, kPngFormatId), status::kOk);
    for (int i = 0; i < kW * kH; ++i)
        map.pixels()[i] = 0xFF000000u | uint32_t(i * 2654435761u >> 8);
    MapFrame f = normalFrame();
    f.minX = 340;  // 20°W: the right part of the output shows the copy east of the seam
    f.marginX = 10;
    f.minY = 70;
    f.marginY = 5;
    f.outputWidth = 80;
    f.outputHeight = 30;
    Picture output;
    ASSERT_EQ(createOutputPicture(output, map, DrawMode::Normal, f), status::kOk);
    CairoCanvas canvas(output);
    ASSERT_EQ(paintMap(canvas, map, f), status::kOk);
    canvas.close();
    for (int y = 0; y < f.outputHeight; ++y) {
        for (int x = 0; x < f.outputWidth; ++x) {
            const int mapX = ((x + f.minX - f.marginX) % kW + kW) % kW;
            const int mapY = y + f.minY - f.marginY;
            ASSERT_EQ(output.pixelArgb(x, y), map.pixelArgb(mapX, mapY)) << x << "," << y;
        }
    }
}
