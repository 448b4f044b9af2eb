#include "render/layers/wind_radii_layer.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "support/recording_canvas.h"

using namespace tcmap;

namespace {

// 3600 pixels around the map: ten pixels per degree.
constexpr int32_t kWidth = 3600;

// 100 nm is about 1.666 degrees of latitude on this map's 40 032.6 km earth.
constexpr float kRy100 = 16.654409f;
constexpr float kRx100At30 = 19.230855f;  // kRy100 / cos 30°

// The call's operation and coordinates, to a thousandth of a pixel.
void expectCall(const RecordedCall& call, CanvasOp op, std::vector<float> coords) {
    ASSERT_EQ(call.op, op) << describe(call);
    ASSERT_EQ(call.coords.size(), coords.size()) << describe(call);
    for (size_t i = 0; i < coords.size(); ++i) {
        EXPECT_NEAR(call.coords[i], coords[i], 1e-3) << describe(call) << " at " << i;
    }
}

// A picture three map widths wide and one high; layers drawn with an x offset
// of one map width put every copy of the radii on it.
RecordingCanvas seamCanvas() {
    return RecordingCanvas(3 * kWidth, kWidth);
}

// A record with rows of a threshold and four quadrants each, all drawn.
RadiiRecord record(double lat, double lon,
                   std::vector<std::pair<int32_t, std::array<int32_t, 4>>> rows) {
    RadiiRecord r;
    r.key = "k";
    r.latitude = lat;
    r.longitude = lon;
    for (const auto& [threshold, quadrants] : rows) r.rows.push_back({threshold, quadrants, true});
    return r;
}

std::vector<Argb> penColours(const RecordingCanvas& canvas) {
    std::vector<Argb> colours;
    for (const RecordedCall& call : canvas.callsOf(CanvasOp::DrawArc)) {
        if (colours.empty() || colours.back() != call.pen->colour) {
            colours.push_back(call.pen->colour);
        }
    }
    return colours;
}

}  // namespace

TEST(WindRadii, QuadrantArcsAndJoiningLinesInThreeCopies) {
    RecordingCanvas canvas = seamCanvas();
    // 34 kt: NE 100, SE 50, SW 0, NW 25 at 30°N 100°E; offsets move the centre.
    const std::vector<RadiiRecord> records = {record(30.0, 100.0, {{34, {100, 50, 0, 25}}})};
    drawWindRadii(canvas, records, Projection(kWidth, kWidth / 2), 1.5, kWidth + 10, -20);
    ASSERT_EQ(canvas.size(), 24u);

    const float y = 600 - 20;  // (90 - 30) x 3600 / 360 + offY
    const float rx[4] = {kRx100At30, kRx100At30 / 2, 0, kRx100At30 / 4};
    const float ry[4] = {kRy100, kRy100 / 2, 0, kRy100 / 4};
    const float starts[4] = {270, 0, 90, 180};
    for (int copy = 0; copy < 3; ++copy) {
        SCOPED_TRACE(copy);
        const float x = 1000 + 10 + copy * kWidth;  // copies at -W, 0, +W of the offset
        const auto& calls = canvas.calls();
        const size_t first = static_cast<size_t>(copy) * 8;
        for (size_t q = 0; q < 4; ++q) {
            expectCall(calls[first + q], CanvasOp::DrawArc,
                       {x - rx[q], y - ry[q], 2 * rx[q], 2 * ry[q], starts[q], 90});
        }
        const CanvasOp line = CanvasOp::DrawLine;
        expectCall(calls[first + 4], line, {x, y - ry[3], x, y - ry[0]});  // north
        expectCall(calls[first + 5], line, {x + rx[0], y, x + rx[1], y});  // east
        expectCall(calls[first + 6], line, {x, y + ry[1], x, y});          // south, to the centre
        expectCall(calls[first + 7], line, {x, y, x - rx[3], y});          // west, from the centre
    }

    const RecordedPen& pen = *canvas.calls()[0].pen;
    EXPECT_EQ(pen.width, 1.5f);
    EXPECT_EQ(pen.unit, CanvasUnit::World);
    EXPECT_EQ(pen.lineJoin, join::kRound);
    EXPECT_EQ((std::vector<int>{pen.startCap, pen.endCap, pen.dashCap}),
              (std::vector<int>{cap::kRound, cap::kRound, cap::kRound}));
    EXPECT_TRUE(pen.dashPattern.empty());
}

TEST(WindRadii, PositionAndHorizontalScale) {
    RecordingCanvas canvas = seamCanvas();
    // At 60°S a degree of longitude is half as long: rx = 2 ry. Equal radii
    // give joining lines without length.
    const std::vector<RadiiRecord> south = {record(-60.0, 210.0, {{64, {80, 80, 80, 80}}})};
    drawWindRadii(canvas, south, Projection(kWidth, kWidth / 2), 1, kWidth, 0);
    ASSERT_EQ(canvas.size(), 24u);
    const float r = kRy100 * 0.8f;
    const float x = kWidth + 2100;
    expectCall(canvas.calls()[8], CanvasOp::DrawArc, {x - 2 * r, 1500 - r, 4 * r, 2 * r, 270, 90});
    expectCall(canvas.calls()[12], CanvasOp::DrawLine, {x, 1500 - r, x, 1500 - r});
    expectCall(canvas.calls()[13], CanvasOp::DrawLine, {x + 2 * r, 1500, x + 2 * r, 1500});

    // 0° lies at the right edge, its copy at -W at the left edge; -90° at 270°.
    canvas.clear();
    const std::vector<RadiiRecord> edges = {record(10.0, 0.0, {{34, {0, 0, 0, 0}}}),
                                            record(10.0, -90.0, {{34, {0, 0, 0, 0}}})};
    drawWindRadii(canvas, edges, Projection(kWidth, kWidth / 2), 1, kWidth, 0);
    ASSERT_EQ(canvas.size(), 48u);
    EXPECT_EQ(canvas.calls()[0].coords[0], 0.0f + kWidth);
    EXPECT_EQ(canvas.calls()[8].coords[0], 3600.0f + kWidth);
    EXPECT_EQ(canvas.calls()[24 + 8].coords[0], 2700.0f + kWidth);
}

TEST(WindRadii, SkipsTheEquatorAndRowsNotDrawn) {
    RecordingCanvas canvas = seamCanvas();
    std::vector<RadiiRecord> records = {
        record(0.0, 120.0, {{34, {100, 100, 100, 100}}}),  // latitude 0
        record(0.00000001, 120.0, {{34, {100, 100, 100, 100}}}),
        record(20.0, 120.0, {}),
        record(20.0, 120.0, {{34, {90, 90, 90, 0}}, {50, {40, 40, 40, 40}}, {64, {0, 0, 0, 0}}}),
    };
    // Of the last record only the 50 kt row is drawn: its 34 kt row lacked a
    // quadrant, its 64 kt row stood out of step.
    records[3].rows[0].drawn = false;
    records[3].rows[2].drawn = false;
    drawWindRadii(canvas, records, Projection(kWidth, kWidth / 2), 1, kWidth, 0);
    // One row, three copies.
    ASSERT_EQ(canvas.size(), 24u);
    EXPECT_EQ(penColours(canvas), std::vector<Argb>{0xBFFF8000});
}

TEST(WindRadii, ThresholdColours) {
    RecordingCanvas canvas = seamCanvas();
    const std::vector<RadiiRecord> records = {record(15.0, 120.0,
                                                     {{24, {10, 10, 10, 10}},
                                                      {34, {10, 10, 10, 10}},
                                                      {49, {10, 10, 10, 10}},
                                                      {50, {10, 10, 10, 10}},
                                                      {63, {10, 10, 10, 10}},
                                                      {64, {10, 10, 10, 10}},
                                                      {23, {10, 10, 10, 10}}})};
    drawWindRadii(canvas, records, Projection(kWidth, kWidth / 2), 1, kWidth, 0);
    EXPECT_EQ(penColours(canvas), (std::vector<Argb>{0xBFFFFFFF, 0xBFFFFF00, 0xBF808080, 0xBFFF8000,
                                                     0xBF808080, 0xBFFF0000, 0xBF808080}));
}

TEST(WindRadii, HostileValuesGiveOnlyFiniteCoordinates) {
    RecordingCanvas canvas;
    constexpr int32_t kMax = 2147483647;
    const std::vector<RadiiRecord> records = {
        record(90.0, 1e308, {{34, {kMax, kMax, kMax, -5}}}),
        record(89.99999, -1e308, {{64, {1, 1, 1, 1}}}),
        record(89.99999, 10, {{64, {kMax, kMax, kMax, kMax}}}),
        record(1e30, -1e30, {{50, {1, 2, 3, 4}}}),
        record(20, 20, {{34, {0, 0, 0, 0}}, {kMax, {1, 1, 1, 1}}, {-kMax, {1, 1, 1, 1}}}),
    };
    drawWindRadii(canvas, records, Projection(kMax, kMax / 2), 1e300, kMax, -kMax - 1);
    // The positions of the first two overflow and are skipped; the huge radii
    // of the third cover the picture in every copy, the fourth lies far above
    // it and is left out, and so do the small rows of the last.
    EXPECT_EQ(canvas.size(), 24u);
    for (const RecordedCall& call : canvas.calls()) {
        for (const float value : call.coords) ASSERT_TRUE(std::isfinite(value)) << describe(call);
        ASSERT_TRUE(std::isfinite(call.pen->width));
    }
}

TEST(WindRadii, CopiesThatCannotReachThePictureAreLeftOut) {
    // A 360 x 180 picture of a 360-pixel map: a pixel per degree.
    RecordingCanvas canvas;
    // Small radii at 20°E: only the main copy; the copies at -340 and 380 are off.
    const std::vector<RadiiRecord> small = {record(30.0, 20.0, {{34, {100, 100, 100, 100}}})};
    drawWindRadii(canvas, small, Projection(360, 180), 1, 0, 0);
    ASSERT_EQ(canvas.size(), 8u);
    EXPECT_NEAR(canvas.calls()[4].coords[0], 20, 1e-3);

    // Large radii at 350°E also reach over the left edge in the copy at -10.
    canvas.clear();
    const std::vector<RadiiRecord> large = {record(30.0, 350.0, {{34, {2000, 2000, 2000, 2000}}})};
    drawWindRadii(canvas, large, Projection(360, 180), 1, 0, 0);
    ASSERT_EQ(canvas.size(), 16u);
    EXPECT_NEAR(canvas.calls()[4].coords[0], -10, 1e-3);
    EXPECT_NEAR(canvas.calls()[12].coords[0], 350, 1e-3);

    // After a failed call the copies are handed over anyway, so that the
    // status a later check reads is their own.
    canvas.clear();
    canvas.failCall(7, status::kGenericError);
    drawWindRadii(canvas, small, Projection(360, 180), 1, 0, 0);
    EXPECT_EQ(canvas.size(), 16u);
    EXPECT_EQ(canvas.lastStatus(), status::kOk);
}
