#include "render/layers/track_layer.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numeric>
#include <random>

#include "render/layers/colour_scales.h"
#include "render/layers/track_test_context.h"

using namespace tcmap;

namespace {

using Line = std::array<float, 4>;

class TrackLayer : public ::testing::Test, protected TrackTestContext {
  protected:
    void SetUp() override { prepareTrackPen(pen, 1.0, 360); }  // 1 pixel on this map

    void runLoop(double pointSize = 4) {
        LayerContext ctx = context();
        drawFixLoop(ctx, pointSize);
    }
    void runMarkerPass(double pointSize = 4) {
        LayerContext ctx = context();
        drawMarkerPass(ctx, pointSize);
    }
    std::vector<Line> lines() const {
        std::vector<Line> out;
        for (const auto& c : canvas.callsOf(CanvasOp::DrawLine)) {
            out.push_back({c.coords[0], c.coords[1], c.coords[2], c.coords[3]});
        }
        return out;
    }
    // Centre x of the first copy of each marker, in drawing order.
    std::vector<float> markerCentres() const {
        std::vector<float> out;
        const auto fills = canvas.callsOf(CanvasOp::FillEllipse);
        for (size_t i = 0; i < fills.size(); i += 3) {
            out.push_back(fills[i].coords[0] + fills[i].coords[2] / 2);
        }
        return out;
    }
    bool logHas(const std::string& part) const {
        for (const auto& text : view.lineTexts()) {
            if (text.find(part) != std::string::npos) return true;
        }
        return false;
    }
};

std::vector<int64_t> identity(size_t n) {
    std::vector<int64_t> seq(n);
    std::iota(seq.begin(), seq.end(), 0);
    return seq;
}

}  // namespace

TEST(TrackPen, WhiteRoundCappedWidthInDegreesOfLongitude) {
    CanvasPen pen;
    prepareTrackPen(pen, 0.05, 7200);
    EXPECT_EQ(pen.colour, 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(pen.width, 1.0f);
    EXPECT_EQ(pen.unit, CanvasUnit::Pixel);
    EXPECT_EQ(pen.startCap, cap::kRound);
    EXPECT_EQ(pen.endCap, cap::kRound);
    EXPECT_EQ(pen.dashCap, cap::kRound);
    EXPECT_FALSE(pen.dashed());
    EXPECT_DOUBLE_EQ(pointSizeInPixels(0.4, 7200), 8.0);
}

TEST_F(TrackLayer, SegmentsAreDrawnThreeTimesWithTheMarkerOfEachFix) {
    add(100, 50, 130, "201409010000");
    add(110, 60, 20, "201409010600");
    endTrack();
    runLoop();
    EXPECT_EQ(lines(),
              (std::vector<Line>{{100, 50, 110, 60}, {-260, 50, -250, 60}, {460, 50, 470, 60}}));
    std::vector<CanvasOp> ops;
    for (const auto& c : canvas.calls()) ops.push_back(c.op);
    const auto L = CanvasOp::DrawLine, E = CanvasOp::FillEllipse;
    EXPECT_EQ(ops, (std::vector<CanvasOp>{L, L, L, E, E, E, E, E, E}));
    for (const auto& c : canvas.callsOf(CanvasOp::DrawLine)) {
        EXPECT_EQ(c.pen->colour, 0xFFFFFFFFu);  // white whatever the wind
    }
}

TEST_F(TrackLayer, SeamCrossingsDrawTwoShortPiecesNeverALineAcrossTheMap) {
    add(355, 90, 50, "201409010000");  // 5°W to 5°E: eastwards
    add(5, 90, 50, "201409010600");
    endTrack();
    add(5, 90, 50, "201409010000");  // 5°E to 5°W: westwards
    add(355, 90, 50, "201409010600");
    endTrack();
    add(175, 90, 50, "201409010000");  // 175°E to 175°W: no seam
    add(185, 90, 50, "201409010600");
    endTrack();
    add(0, 90, 50, "201409010000");  // exactly half a map apart: no line
    add(180, 90, 50, "201409010600");
    endTrack();
    settings.markerOrder = MarkerOrder::OnTop;  // lines only
    runLoop();

    EXPECT_EQ(lines(), (std::vector<Line>{{355, 90, 365, 90},
                                          {-5, 90, 5, 90},
                                          {365, 90, 355, 90},
                                          {5, 90, -5, 90},
                                          {175, 90, 185, 90},
                                          {-185, 90, -175, 90},
                                          {535, 90, 545, 90}}));
    for (const Line& l : lines()) EXPECT_LT(std::abs(l[2] - l[0]), 180.0f);
    // Its failure messages: tests/render/layers/status_tag_test.cpp.
}

TEST_F(TrackLayer, NoSegmentWhereTimesDoNotIncreaseOrAFileEnds) {
    settings.markerOrder = MarkerOrder::OnTop;
    add(10, 10, 50, "201409010000");
    add(20, 10, 50, "201409010000");  // same time: gap
    add(30, 10, 50, "201409010600");
    add(40, 10, 50, "201409010000");  // earlier: gap
    add(50, 10, 50, "201409011200");
    endTrack();
    add(60, 10, 50, "201409011800");  // next file: not joined
    endTrack();
    runLoop();
    const auto drawn = lines();
    ASSERT_EQ(drawn.size(), 6u);
    EXPECT_EQ(drawn[0], (Line{20, 10, 30, 10}));
    EXPECT_EQ(drawn[3], (Line{40, 10, 50, 10}));
}

TEST_F(TrackLayer, MarkerPassDrawsOnTopInTableOrderOrByWind) {
    const std::array<int32_t, 4> winds = {50, 30, 50, 30};
    for (size_t i = 0; i < winds.size(); ++i) add(10.0 * (i + 1), 10, winds[i], "201409010000");
    endTrack();

    settings.markerOrder = MarkerOrder::OnTop;
    runLoop();
    EXPECT_EQ(canvas.count(CanvasOp::FillEllipse), 0u);
    runMarkerPass();
    EXPECT_EQ(markerCentres(), (std::vector<float>{10, 20, 30, 40}));

    // The selection sort is not stable: the two 50-kt fixes swap places.
    canvas.clear();
    settings.markerOrder = MarkerOrder::ByIntensity;
    runMarkerPass();
    EXPECT_EQ(markerCentres(), (std::vector<float>{20, 40, 30, 10}));
    EXPECT_EQ(fixes.wind, (std::vector<int32_t>{50, 30, 50, 30}));  // only seq moves
    EXPECT_EQ(view.lineCount(), 0u);

    canvas.clear();
    tcv = true;
    runMarkerPass();
    EXPECT_EQ(canvas.size(), 0u);  // the TCV style has no deferred markers
}

TEST_F(TrackLayer, ManyFixesWarnBeforeSortingByWind) {
    settings.markerOrder = MarkerOrder::ByIntensity;
    for (int i = 0; i < 9999; ++i) add(10, 10, 9999 - i, "201409010000");
    runMarkerPass();
    EXPECT_EQ(view.lineCount(), 0u);

    add(10, 10, 0, "201409010000");
    fixes.seq = identity(fixes.size());
    canvas.clear();
    runMarkerPass();
    const auto line = view.lastLine();
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->text, "Many fixes: sorting them by intensity may take a while");
    EXPECT_EQ(line->colour, kWarningColour);
    EXPECT_EQ(view.statusPart(3), line->text);
    // Sorted all the same: the calm fix first, the strongest last; the table
    // keeps its own order.
    const auto fills = canvas.callsOf(CanvasOp::FillEllipse);
    EXPECT_EQ(fills.front().brush, toArgb(wendrelColour(0, true)));
    EXPECT_EQ(fills.back().brush, toArgb(wendrelColour(9999, true)));
    EXPECT_EQ(fixes.seq.front(), 0);
}

TEST_F(TrackLayer, TcvSegmentsTakeTheStartingFixColourAndForecastsAreDashed) {
    useTcvStyle(2.0);
    settings.showText = false;
    add(10, 10, 20, "201409010000", "TD");  // not tropical: half width
    add(20, 10, 50, "201409010600", "TS");
    endTrack();
    add(30, 10, 60, "0", "", SystemClass::Tropical, TrackFileKind::ForecastFile);
    add(40, 10, 70, "12", "", SystemClass::Tropical, TrackFileKind::ForecastFile);
    endTrack();
    runLoop();

    const auto drawn = canvas.callsOf(CanvasOp::DrawLine);
    ASSERT_GE(drawn.size(), 9u);
    EXPECT_EQ(drawn[0].pen->colour, 0xFF0088FFu);
    EXPECT_FLOAT_EQ(drawn[0].pen->width, 1.0f);
    EXPECT_TRUE(drawn[0].pen->dashPattern.empty());
    const auto& forecast = drawn[3 + 6];  // after the segment and cross of the best track
    EXPECT_EQ(forecast.coords, (std::vector<float>{30, 10, 40, 10}));
    EXPECT_EQ(forecast.pen->colour, 0xFF00FF00u);
    EXPECT_FLOAT_EQ(forecast.pen->width, 2.0f);
    EXPECT_EQ(forecast.pen->dashPattern, (std::vector<float>{3, 3}));
    // Everything after a forecast segment is solid again.
    for (const auto& c : canvas.callsOf(CanvasOp::DrawEllipse)) {
        EXPECT_TRUE(c.pen->dashPattern.empty()) << describe(c);
    }
}

TEST_F(TrackLayer, TcvCirclesWhereTracksTurnTropicalAndAtLaterForecastHours) {
    useTcvStyle(2.0);
    settings.showText = false;
    add(100, 50, 20, "201409010000", "TD");
    add(110, 50, 30, "201409010600", "TD");  // first fix of 24 kt or more
    add(120, 50, 40, "201409011200", "EX");  // non-tropical code
    add(130, 50, 40, "201409011800", "TS");  // tropical again
    endTrack();
    add(140, 50, 40, "201409020000", "TS");  // a new file starts tropical
    endTrack();
    for (const char* hour : {"0", "6", "12", "24"}) {
        add(150, 60, 45, hour, "", SystemClass::Tropical, TrackFileKind::ForecastFile);
    }
    endTrack();
    runLoop();

    const auto circles = canvas.callsOf(CanvasOp::DrawEllipse);
    ASSERT_EQ(circles.size(), 15u);
    const std::array<float, 5> centres = {110, 130, 140, 150, 150};
    for (size_t k = 0; k < centres.size(); ++k) {
        const auto& c = circles[3 * k];
        EXPECT_EQ(c.coords, (std::vector<float>{centres[k] - 4, c.coords[1], 8, 8}));
        EXPECT_FLOAT_EQ(c.pen->width, 1.5f);
        EXPECT_EQ(c.pen->colour, k < 3 ? 0xFFFFFFFFu : 0xFF00FF00u);
        EXPECT_EQ(circles[3 * k + 1].coords[0], centres[k] - 4 - 360);
        EXPECT_EQ(circles[3 * k + 2].coords[0], centres[k] - 4 + 360);
    }
    EXPECT_EQ(circles[9].coords[1], 56);
}

TEST_F(TrackLayer, TcvTrackThatNeverTurnsTropicalGetsOnlyItsEndCross) {
    useTcvStyle(2.0);
    settings.showText = false;
    settings.allPoints = true;
    add(100, 50, 20, "201409010000");
    add(110, 60, 20, "201409010600");
    endTrack();
    runLoop();
    EXPECT_EQ(canvas.count(CanvasOp::DrawEllipse), 0u);
    EXPECT_EQ(canvas.count(CanvasOp::FillEllipse), 0u);
    EXPECT_EQ(canvas.count(CanvasOp::DrawText), 0u);
    const auto drawn = lines();
    ASSERT_EQ(drawn.size(), 9u);
    EXPECT_EQ(std::vector<Line>(drawn.begin() + 3, drawn.end()),
              (std::vector<Line>{{107.5f, 57.5f, 112.5f, 62.5f},
                                 {112.5f, 57.5f, 107.5f, 62.5f},
                                 {-252.5f, 57.5f, -247.5f, 62.5f},
                                 {-247.5f, 57.5f, -252.5f, 62.5f},
                                 {467.5f, 57.5f, 472.5f, 62.5f},
                                 {472.5f, 57.5f, 467.5f, 62.5f}}));
    const auto cross = canvas.callsOf(CanvasOp::DrawLine).back();
    EXPECT_EQ(cross.pen->colour, 0xFF0088FFu);
    EXPECT_FLOAT_EQ(cross.pen->width, 2.0f);
}

TEST_F(TrackLayer, TcvDotsBySynopticHour) {
    useTcvStyle(2.0);
    settings.showText = false;
    const auto addTrack = [this] {
        add(100, 50, 50, "201409010000");
        add(110, 50, 50, "201409010600");
        add(120, 50, 50, "201409010300");
        add(125, 50, 50, "201409020000", "EX");  // not tropical: no dot
        add(130, 50, 50, "201409030000");        // track end: no dot
        endTrack();
    };
    addTrack();
    settings.allPoints = true;
    runLoop();
    const auto dots = canvas.callsOf(CanvasOp::FillEllipse);
    ASSERT_EQ(dots.size(), 9u);
    EXPECT_EQ(dots[0].coords, (std::vector<float>{97, 47, 6, 6}));
    EXPECT_EQ(dots[0].brush, 0xFF00FF00u);
    EXPECT_EQ(dots[3].coords, (std::vector<float>{107.5f, 47.5f, 5, 5}));
    EXPECT_EQ(dots[6].coords, (std::vector<float>{118, 48, 4, 4}));

    // Without AllPoints: only midnight dots, in light grey, on wide maps.
    settings.allPoints = false;
    canvas.clear();
    canvas.clearFailures();
    runLoop();
    EXPECT_EQ(canvas.count(CanvasOp::FillEllipse), 0u);
    frame.mapWidth = 4000;
    runLoop();
    const auto wide = canvas.callsOf(CanvasOp::FillEllipse);
    ASSERT_EQ(wide.size(), 3u);
    EXPECT_EQ(wide[0].coords, (std::vector<float>{97.5f, 47.5f, 5, 5}));
    EXPECT_EQ(wide[0].brush, 0xFFECECECu);
    EXPECT_EQ(wide[1].coords[0], 97.5f - 4000);
}
