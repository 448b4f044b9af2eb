#include "render/layers/fix_marker.h"

#include <gtest/gtest.h>

#include <cmath>

#include "render/layers/track_test_context.h"

using namespace tcmap;

namespace {

constexpr float kTol = 1e-4f;
const double kSqrt3 = std::sqrt(3.0);

class FixMarker : public ::testing::Test, protected TrackTestContext {
  protected:
    void draw(int64_t index, double pointSize = 12) {
        LayerContext ctx = context();
        drawFixMarker(ctx, index, pointSize);
    }
    std::string lastLogLine() const {
        const auto line = view.lastLine();
        return line ? line->text : "";
    }
};

void expectBox(const RecordedCall& call, float x, float y, float w, float h) {
    ASSERT_EQ(call.coords.size(), 4u) << describe(call);
    EXPECT_NEAR(call.coords[0], x, kTol) << describe(call);
    EXPECT_NEAR(call.coords[1], y, kTol) << describe(call);
    EXPECT_NEAR(call.coords[2], w, kTol) << describe(call);
    EXPECT_NEAR(call.coords[3], h, kTol) << describe(call);
}

}  // namespace

TEST_F(FixMarker, CircleForTropicalFixesSmallerOffTheSynopticHours) {
    add(100, 50, 50, "201409010600");
    add(100, 50, 0, "201409010300", "", SystemClass::Tropical, TrackFileKind::BestTrackFile,
        "WP012014", 0);
    draw(0);
    draw(1);
    settings.newColour = false;
    draw(0);
    const auto circles = canvas.callsOf(CanvasOp::FillEllipse);
    ASSERT_EQ(canvas.size(), 9u);
    ASSERT_EQ(circles.size(), 9u);
    expectBox(circles[0], 94, 44, 12, 12);
    expectBox(circles[1], 94 - 360, 44, 12, 12);
    expectBox(circles[2], 94 + 360, 44, 12, 12);
    expectBox(circles[3], 96, 46, 8, 8);
    EXPECT_EQ(circles[0].brush, 0xFF4DFFFFu);  // 50 kt on the 2023 scale
    EXPECT_EQ(circles[3].brush, 0xFF808080u);  // calm
    EXPECT_EQ(circles[6].brush, 0xFF00FAF4u);  // 50 kt on the classic scale
}

TEST_F(FixMarker, SquareForSubtropicalTriangleForOtherSystems) {
    add(100, 50, 30, "201409010000", "SS", SystemClass::Subtropical);
    add(100, 50, 30, "201409010000", "EX", SystemClass::NonTropical);
    draw(0);
    draw(1);
    const auto squares = canvas.callsOf(CanvasOp::FillRectangle);
    ASSERT_EQ(squares.size(), 3u);
    const double side = 12 * kSqrt3 / 2;
    expectBox(squares[0], float(100 - side / 2), float(50 - side / 2), float(side), float(side));
    expectBox(squares[2], float(460 - side / 2), float(50 - side / 2), float(side), float(side));

    const auto triangles = canvas.callsOf(CanvasOp::FillPolygon);
    ASSERT_EQ(triangles.size(), 3u);
    for (size_t copy = 0; copy < 3; ++copy) {
        const double shift = copy == 0 ? 0 : copy == 1 ? -360 : 360;
        const auto& p = triangles[copy].points;
        ASSERT_EQ(p.size(), 3u);
        EXPECT_NEAR(p[0].x, 94 + shift, kTol);
        EXPECT_NEAR(p[0].y, 50 + 12 * kSqrt3 / 6, kTol);  // base about 3.5 below the fix
        EXPECT_NEAR(p[1].x, 100 + shift, kTol);
        EXPECT_NEAR(p[1].y, 50 - 12 * kSqrt3 / 3, kTol);  // apex about 6.9 above
        EXPECT_NEAR(p[2].x, 106 + shift, kTol);
        EXPECT_NEAR(p[2].y, p[0].y, kTol);
    }
}

TEST_F(FixMarker, DrawsAFixOfTheTableWithTheFrameOffsets) {
    add(10, 10, 40, "201409010000");
    add(200, 100, 40, "201409010000");
    frame.minX = 150;
    frame.minY = 80;
    frame.marginX = 20;
    frame.marginY = 5;
    draw(1, 2);
    expectBox(canvas.calls()[0], 69, 24, 2, 2);  // 200 - 150 + 20 - 1, 100 - 80 + 5 - 1

    // Indexes outside the table draw nothing.
    canvas.clear();
    draw(2);
    draw(-1);
    EXPECT_EQ(canvas.size(), 0u);
}

TEST_F(FixMarker, EachCopyIsCheckedWithItsOwnTag) {
    add(100, 50, 30, "201409010000", "EX", SystemClass::NonTropical);
    add(100, 50, 30, "201409010000", "SS", SystemClass::Subtropical);
    add(100, 50, 30, "201409010000");
    canvas.failCallOf(CanvasOp::FillPolygon, 1, status::kOutOfMemory);
    canvas.failCallOf(CanvasOp::FillRectangle, 2, status::kInvalidParameter);
    canvas.failCallOf(CanvasOp::FillEllipse, 0, status::kGenericError);
    const size_t before = view.lineCount();
    draw(0);
    EXPECT_NE(lastLogLine().find("#2.1.2/Point Text = 内存溢出"), std::string::npos);
    draw(1);
    EXPECT_NE(lastLogLine().find("#2.2.3/Point Text = 无效的参数"), std::string::npos);
    draw(2);
    EXPECT_NE(lastLogLine().find("#2.3.1/Point Text = 通用错误"), std::string::npos);
    EXPECT_EQ(view.lineCount(), before + 3);  // the other copies succeeded silently
}
