#include "render/layers/draw_status.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "render/job_log.h"
#include "support/recording_canvas.h"
#include "support/recording_view.h"
#include "track/track_model.h"

using namespace tcmap;

namespace {

const std::string kPrefix = "An error occurred while using GDI+: Count = ";

std::string expectedMessage(int64_t count, const std::string& tag, const std::string& text) {
    return kPrefix + std::to_string(count) + " Position = #" + tag + " Text = " + text;
}

class DrawStatusCheck : public ::testing::Test {
  protected:
    ProgressRecorder view;
    StormStatistics stats;
    std::vector<DrawMessage> messages;
    JobLog log{view, stats, messages, 0};
    RecordingCanvas canvas;
    CanvasPen pen;
    CanvasBrush brush;
};

}  // namespace

TEST(StatusText, KnownUnknownAndSuccess) {
    const struct {
        int32_t code;
        const char* text;
    } rows[] = {
        {0, ""},
        {1, "通用错误"},
        {2, "无效的参数"},
        {3, "内存溢出"},
        {7, "Win32错误"},
        {14, "未找到字体族"},
        {16, "不是TrueType字体"},
        {18, "Gdiplus未装载"},
        {21, "未找到配置文件"},
        {22, "未知错误"},
        {-1, "未知错误"},
        {std::numeric_limits<int32_t>::min(), "未知错误"},
        {std::numeric_limits<int32_t>::max(), "未知错误"},
    };
    for (const auto& row : rows) EXPECT_EQ(statusText(row.code), row.text) << row.code;
}

TEST_F(DrawStatusCheck, SuccessWritesNothingAndKeepsThePanelColour) {
    log.writeProgress(progressLine("Drawing"), kProgressColour);
    const int64_t before = log.drawingErrors();
    canvas.fillEllipse(brush, 1, 2, 3, 4);
    checkDrawStatus("2.3.1/Point", canvas, log);
    EXPECT_EQ(log.drawingErrors(), before);
    EXPECT_EQ(view.lineTexts(), std::vector<std::string>{"Drawing .."});
    EXPECT_EQ(view.textColour(), kProgressColour);
    EXPECT_EQ(view.statusPart(3), "");
}

TEST_F(DrawStatusCheck, FailureIsCountedAndWrittenInRedToPanelAndStatusBar) {
    stats.peakWind = 125;
    canvas.failCallOf(CanvasOp::DrawText, 0, status::kOutOfMemory);
    const int64_t before = log.drawingErrors();
    canvas.drawText("x", CanvasFont{}, brush, RectF{}, nullptr);
    checkDrawStatus("4.1.0/Label", canvas, log);

    const std::string message = expectedMessage(before + 1, "4.1.0/Label", "内存溢出");
    EXPECT_EQ(log.drawingErrors(), before + 1);
    ASSERT_EQ(view.lineCount(), 1u);
    EXPECT_EQ(view.lastLine()->text, message);
    EXPECT_EQ(view.lastLine()->colour, rgb(255, 0, 0));
    EXPECT_EQ(view.statusPart(3), message);
    EXPECT_EQ(view.statusPart(0), "VMAX: 125kts");
    // The check reads the last status and leaves it.
    EXPECT_EQ(canvas.lastStatus(), status::kOutOfMemory);
}

TEST_F(DrawStatusCheck, CountRunsOnOverJobs) {
    const int64_t before = log.drawingErrors();
    canvas.failAllOf(CanvasOp::DrawLine, status::kGenericError);
    canvas.drawLine(pen, 0, 0, 1, 1);
    checkDrawStatus("1.0.1/Line", canvas, log);
    canvas.drawLine(pen, 0, 0, 1, 1);
    checkDrawStatus("1.0.2/Line", canvas, log);

    // The next job starts on a cleared panel with a fresh canvas, and its
    // count goes on from the one the caller kept.
    view.clearPanel();
    JobLog nextLog{view, stats, messages, log.drawingErrors()};
    RecordingCanvas nextCanvas;
    nextCanvas.failCall(0, 22);
    nextCanvas.drawEllipse(pen, 0, 0, 5, 5);
    checkDrawStatus("3.0.0/Point", nextCanvas, nextLog);

    EXPECT_EQ(nextLog.drawingErrors(), before + 3);
    EXPECT_EQ(view.lineTexts(),
              std::vector<std::string>{expectedMessage(before + 3, "3.0.0/Point", "未知错误")});
}

TEST_F(DrawStatusCheck, OnlyTheLastOperationCounts) {
    const int64_t before = log.drawingErrors();
    // A grid line: the first of three copies fails, the last succeeds.
    canvas.failCall(0, status::kOutOfMemory);
    for (int copy = 0; copy < 3; ++copy) canvas.drawLine(pen, 0, 10, 360, 10);
    checkDrawStatus("3.3.0/Label", canvas, log);
    EXPECT_EQ(log.drawingErrors(), before);
    EXPECT_EQ(view.lineCount(), 0u);

    // Now the last copy fails.
    canvas.clear();
    canvas.clearFailures();
    canvas.failCall(2, status::kInvalidParameter);
    for (int copy = 0; copy < 3; ++copy) canvas.drawLine(pen, 0, 10, 360, 10);
    checkDrawStatus("3.3.0/Label", canvas, log);
    EXPECT_EQ(view.lineTexts(),
              std::vector<std::string>{expectedMessage(before + 1, "3.3.0/Label", "无效的参数")});
}

// A failed drawing call is a line of the job log, not a warning: a batch
// run shows it but keeps it out of its failure report.
TEST_F(DrawStatusCheck, AFailedCallIsALogLineNotAWarning) {
    canvas.failAllOf(CanvasOp::FillPolygon, status::kGenericError);
    const PointF triangle[3] = {{0, 0}, {4, 0}, {2, 3}};
    canvas.fillPolygon(brush, triangle);
    checkDrawStatus("2.1.1/Point", canvas, log);
    EXPECT_EQ(view.lineCount(), 1u);
    EXPECT_EQ(view.textColour(), kFailureColour);
    EXPECT_EQ(view.textsOf(MessageKind::DrawingError).size(), 1u);
    EXPECT_TRUE(view.textsOf(MessageKind::Warning).empty());
}
