// The drawing-error message every layer writes when its last drawing call
// failed: the running count, the tag of the element and the status's text,
// in the order the failures happened, and nothing for a call that failed
// before a later one of the same element succeeded.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "render/layers/grid_layer.h"
#include "render/layers/track_layer.h"
#include "render/layers/track_test_context.h"
#include "support/temp_folder.h"

using namespace tcmap;

namespace {

struct TagCase {
    const char* name;
    std::function<void(TrackTestContext&)> draw;
    std::vector<std::string> messages;
};

std::string message(int count, const std::string& tag, const std::string& text) {
    return "An error occurred while using GDI+: Count = " + std::to_string(count) +
           " Position = #" + tag + " Text = " + text;
}

void runFixLoop(TrackTestContext& c) {
    LayerContext ctx = c.context();
    drawFixLoop(ctx, 4);
}

const TagCase kCases[] = {
    {"TrackPiecesAcrossTheSeamEastwardsThenWestwards",
     [](TrackTestContext& c) {
         prepareTrackPen(c.pen, 1.0, 360);
         c.add(355, 90, 50, "201409010000");
         c.add(5, 90, 50, "201409010600");
         c.endTrack();
         c.add(5, 90, 50, "201409010000");
         c.add(355, 90, 50, "201409010600");
         c.endTrack();
         c.add(175, 90, 50, "201409010000");  // no seam
         c.add(185, 90, 50, "201409010600");
         c.endTrack();
         c.add(0, 90, 50, "201409010000");  // exactly half a map apart: no line
         c.add(180, 90, 50, "201409010600");
         c.endTrack();
         c.settings.markerOrder = MarkerOrder::OnTop;  // lines only
         c.canvas.failCallOf(CanvasOp::DrawLine, 1, status::kGenericError);
         c.canvas.failCallOf(CanvasOp::DrawLine, 3, status::kGenericError);
         runFixLoop(c);
     },
     {message(1, "1.0.3/Line", "通用错误"), message(2, "1.0.2/Line", "通用错误")}},
    // A fix without a dot does not report the segment's failure again.
    {"TrackSegmentBeforeAFixWithoutDot",
     [](TrackTestContext& c) {
         prepareTrackPen(c.pen, 1.0, 360);
         c.useTcvStyle(2.0);
         c.settings.showText = false;
         c.add(100, 50, 50, "201409010000");
         c.add(110, 50, 50, "201409010600");
         c.endTrack();
         c.canvas.failCallOf(CanvasOp::DrawLine, 2, status::kOutOfMemory);
         runFixLoop(c);
     },
     {message(1, "1.0.1/Line", "内存溢出")}},
    {"TcvDotOfASynopticFix",
     [](TrackTestContext& c) {
         prepareTrackPen(c.pen, 1.0, 360);
         c.useTcvStyle(2.0);
         c.settings.showText = false;
         c.settings.allPoints = true;
         c.add(100, 50, 50, "201409010000");
         c.add(110, 50, 50, "201409010600");
         c.add(120, 50, 50, "201409010300");
         c.add(125, 50, 50, "201409020000", "EX");
         c.add(130, 50, 50, "201409030000");
         c.endTrack();
         c.canvas.failCallOf(CanvasOp::FillEllipse, 8, status::kGenericError);
         runFixLoop(c);
     },
     {message(1, "3.1.1/Point", "通用错误")}},
    {"TcvLabelAtTheEndOfATrackNeverTropical",
     [](TrackTestContext& c) {
         c.useTcvStyle(2.0);
         prepareTrackPen(c.pen, 2.0, 360);
         c.add(100, 50, 20, "201409010000", "", SystemClass::Tropical, TrackFileKind::BestTrackFile,
               "AL992014");
         c.add(110, 50, 20, "201409010600", "", SystemClass::Tropical, TrackFileKind::BestTrackFile,
               "AL992014");
         c.endTrack();
         c.canvas.failCallOf(CanvasOp::DrawText, 2, status::kGenericError);
         runFixLoop(c);
     },
     {message(1, "4.1.0/Label", "通用错误")}},
    // A grid line's copy to the west is off this picture and left out, unless
    // an earlier copy failed: then it is drawn, and its status is the one
    // reported, once for the line.
    {"GridLineFromItsLastCopy",
     [](TrackTestContext& c) {
         tcmap::testing::TempFolder folder;
         const std::string path =
             folder.put("GridData", "a|1/1/1/255/1/0|0/0/0/1\nb|1/1/1/255/1/0|0/0/0/1\n");
         c.canvas.failCall(1, status::kInvalidParameter);  // east copy of line 1
         c.canvas.failCall(2, status::kGenericError);      // its west copy, drawn after it
         drawGrid(c.canvas, c.log, path, Projection(360, 180), 0, 0, 0, 0);
     },
     {message(1, "3.3.0/Label", "通用错误")}},
};

class StatusTag : public ::testing::TestWithParam<TagCase>, protected TrackTestContext {};

}  // namespace

TEST_P(StatusTag, MessagesNameTheElementInFailureOrder) {
    GetParam().draw(*this);
    EXPECT_EQ(view.textsOf(MessageKind::DrawingError), GetParam().messages);
    EXPECT_EQ(view.lineTexts(), GetParam().messages);
    EXPECT_EQ(log.drawingErrors(), static_cast<int64_t>(GetParam().messages.size()));
}

INSTANTIATE_TEST_SUITE_P(Layers, StatusTag, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });
