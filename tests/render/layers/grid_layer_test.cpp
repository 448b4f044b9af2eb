#include "render/layers/grid_layer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "render/job_log.h"
#include "render/layers/draw_status.h"
#include "support/recording_canvas.h"
#include "support/recording_view.h"
#include "support/temp_folder.h"
#include "track/track_model.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

class GridLayer : public ::testing::Test {
  protected:
    ProgressRecorder view;
    StormStatistics stats;
    std::vector<DrawMessage> messages;
    JobLog log{view, stats, messages, 0};
    RecordingCanvas canvas;
    TempFolder folder;

    // Draws `gridData` on a 360-pixel map (a pixel per degree) without offsets.
    void draw(std::string_view gridData, int32_t minX = 0, int32_t marginX = 0, int32_t minY = 0,
              int32_t marginY = 0) {
        const std::string path = folder.put("GridData", gridData);
        drawGrid(canvas, log, path, Projection(360, 180), minX, marginX, minY, marginY);
    }

    std::vector<std::vector<float>> lineCoords() const {
        std::vector<std::vector<float>> coords;
        for (const RecordedCall& call : canvas.calls()) coords.push_back(call.coords);
        return coords;
    }
};

using Coords = std::vector<std::vector<float>>;

}  // namespace

TEST_F(GridLayer, LinesInThreeCopiesWithTheirPens) {
    // A picture three map widths wide, the map in the middle, shows every copy.
    canvas.setSize(1080, 180);
    draw("a|255/0/0/255/2/0|0/0/0/90\r\n", 0, 360);
    EXPECT_EQ(lineCoords(), (Coords{{360, 90, 450, 90}, {720, 90, 810, 90}, {0, 90, 90, 90}}));
    const RecordedPen& solid = *canvas.calls()[0].pen;
    EXPECT_EQ(solid.colour, 0xFFFF0000u);
    EXPECT_EQ(solid.width, 2.0f);
    EXPECT_EQ(solid.unit, CanvasUnit::World);
    EXPECT_EQ((std::vector<int>{solid.startCap, solid.endCap, solid.dashCap}),
              (std::vector<int>{cap::kRound, cap::kRound, cap::kRound}));
    EXPECT_TRUE(solid.dashPattern.empty());

    // Output position x - minX + marginX, y - minY + marginY; W / 360 on both axes.
    canvas.clear();
    const std::string path = folder.put("GridData", "30N|128/128/128/160/1.5/4|30/100/30/180\n");
    canvas.setSize(2160, 180);
    drawGrid(canvas, log, path, Projection(720, 360), 150, 20 + 720, 40, 10);
    EXPECT_EQ(lineCoords(), (Coords{{790, 90, 950, 90}, {1510, 90, 1670, 90}, {70, 90, 230, 90}}));
    EXPECT_EQ(canvas.calls()[0].pen->colour, 0xA0808080u);
    EXPECT_EQ(canvas.calls()[0].pen->dashPattern, (std::vector<float>{4, 4}));
}

TEST_F(GridLayer, WesternLongitudesByTheirText) {
    draw(
        "w|1/1/1/255/1/0|10/-90/10/ -90\n"
        "seam|1/1/1/255/1/0|0/170/0/-170\n");
    // Of the copies, only the one of w to the right reaches the picture.
    ASSERT_EQ(canvas.size(), 3u);
    // "-90" lies at 270°; " -90" does not start with "-" and lies left of the edge.
    EXPECT_EQ(canvas.calls()[0].coords, (std::vector<float>{270, 80, -90, 80}));
    EXPECT_EQ(canvas.calls()[1].coords, (std::vector<float>{630, 80, 270, 80}));
    // 170°E to 170°W is a short line across 180°, not one across the map.
    EXPECT_EQ(canvas.calls()[2].coords, (std::vector<float>{170, 90, 190, 90}));
}

TEST_F(GridLayer, StyleValuesWrapModulo256) {
    draw(
        "a|256/300/-1/256/1/0|0/0/0/1\n"
        "b|0/0/0/300/1/0|0/0/0/1\n"
        "c|0/0/0/-56/x/0.00000001|0/0/0/1\n");
    // Each line and its copy to the right; the copy to the left is off the picture.
    ASSERT_EQ(canvas.size(), 6u);
    EXPECT_EQ(canvas.calls()[0].pen->colour, 0x00002CFFu);  // alpha 0, red 0, green 44, blue 255
    EXPECT_EQ(canvas.calls()[2].pen->colour, 0x2C000000u);  // alpha 44
    const RecordedPen& pen = *canvas.calls()[4].pen;
    EXPECT_EQ(pen.colour, 0xC8000000u);  // -56 wraps to 200
    EXPECT_EQ(pen.width, 0.0f);          // an unreadable width reads 0
    EXPECT_TRUE(pen.dashPattern.empty());
}

TEST_F(GridLayer, MalformedLinesAreSkipped) {
    draw(
        "five|1/2/3/4/5|0/0/0/1\n"
        "three|1/2/3/4/5/6|0/0/0\n"
        "empty|1/2/3/4/5/6|\n"
        "no bars at all\n"
        "\n"
        "extra|1/2/3/4/5/6/7|1/2/3/4/5|ignored|fields\n");
    // Only the last line: extra values and a fourth field are ignored.
    ASSERT_EQ(canvas.size(), 2u);
    EXPECT_EQ(canvas.calls()[0].coords, (std::vector<float>{2, 89, 4, 87}));
}

TEST_F(GridLayer, LineEndsLfOrCrLf) {
    draw("a|1/1/1/255/1/0|0/0/0/1\nb|1/1/1/255/1/0|0/2/0/3\r\nc|1/1/1/255/1/0|0/4/0/5");
    ASSERT_EQ(canvas.size(), 6u);
    EXPECT_EQ(canvas.calls()[2].coords, (std::vector<float>{2, 90, 3, 90}));
    EXPECT_EQ(canvas.calls()[4].coords, (std::vector<float>{4, 90, 5, 90}));
}

TEST_F(GridLayer, MissingFileDrawsNothing) {
    drawGrid(canvas, log, folder.file("GridData"), Projection(360, 180), 0, 0, 0, 0);
    drawGrid(canvas, log, folder.path(), Projection(360, 180), 0, 0, 0, 0);
    EXPECT_EQ(canvas.size(), 0u);
    EXPECT_EQ(view.lineCount(), 0u);
}

TEST_F(GridLayer, CopiesThatCannotReachThePictureAreLeftOut) {
    // A 100 x 50 picture of a 360-pixel map, as a regional map shows it.
    canvas.setSize(100, 50);
    draw(
        "in|1/1/1/255/1/0|80/20/80/30\n"
        "far|1/1/1/255/1/0|80/200/80/210\n"
        "wide|1/1/1/255/20/0|80/110/80/120\n");
    // The main copy of "in"; none of "far"; "wide" reaches in with its pen.
    EXPECT_EQ(lineCoords(), (Coords{{20, 10, 30, 10}, {110, 10, 120, 10}}));

    // After a failure, copies are handed over until the canvas succeeds again,
    // so that the status checked after a line is its own.
    canvas.clear();
    canvas.failAllOf(CanvasOp::DrawLine, status::kInvalidParameter);
    const int64_t before = log.drawingErrors();
    draw("in|1/1/1/255/1/0|80/20/80/30\n");
    EXPECT_EQ(canvas.size(), 3u);
    EXPECT_EQ(log.drawingErrors(), before + 1);
    canvas.clearFailures();
    canvas.clear();
    draw("far|1/1/1/255/1/0|80/200/80/210\n");
    EXPECT_EQ(canvas.size(), 1u);
    EXPECT_EQ(log.drawingErrors(), before + 1);
}

TEST(DefaultGridData, CoversTheWholeMap) {
    ProgressRecorder view;
    StormStatistics stats;
    std::vector<DrawMessage> messages;
    JobLog log{view, stats, messages, 0};
    // Three map widths, the map in the middle: every copy is drawn.
    RecordingCanvas canvas(1080, 180);
    drawGrid(canvas, log, TCMAP_SOURCE_DIR "/data/GridData", Projection(360, 180), 0, 360, 0, 0);
    ASSERT_GT(canvas.size(), 0u);
    ASSERT_EQ(canvas.size() % 3, 0u);
    // Every 10° meridian and parallel is there; the main copies stay on the map.
    std::vector<bool> meridian(36), parallel(17);
    for (size_t i = 0; i < canvas.size(); i += 3) {
        std::vector<float> c = canvas.calls()[i].coords;
        c[0] -= 360;
        c[2] -= 360;
        for (const float v : c) {
            EXPECT_GE(v, 0.0f);
            EXPECT_LE(v, 360.0f);
        }
        const RecordedPen& pen = *canvas.calls()[i].pen;
        EXPECT_LT(pen.colour >> 24, 0xFFu) << "grid lines are see-through";
        EXPECT_LE(pen.width, 2.0f);
        if (c[0] == c[2] && c[1] == 0 && c[3] == 180 && static_cast<int>(c[0]) % 10 == 0) {
            meridian[static_cast<size_t>(c[0]) / 10] = true;
        }
        if (c[1] == c[3] && static_cast<int>(c[1]) % 10 == 0 && c[1] > 0 && c[1] < 180) {
            parallel[static_cast<size_t>(c[1]) / 10 - 1] = true;
        }
    }
    EXPECT_EQ(std::count(meridian.begin(), meridian.end(), false), 0);
    EXPECT_EQ(std::count(parallel.begin(), parallel.end(), false), 0);
    EXPECT_EQ(view.lineCount(), 0u);
}
