// Everything drawn near the 0° seam is drawn three times: where it is, one
// map width to the west and one to the east, so whichever edge of the map a
// picture shows, the element is whole. The projection holds the shifts; each
// layer applies them in its own order (which copy lies on top).
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "render/layers/grid_layer.h"
#include "render/layers/projection.h"
#include "render/layers/track_layer.h"
#include "render/layers/track_test_context.h"
#include "support/temp_folder.h"

using namespace tcmap;

namespace {

struct SeamCase {
    const char* name;
    // The x of each copy of one element, in drawing order.
    std::function<std::vector<double>(TrackTestContext&)> copies;
    std::vector<double> shifts;  // from the first copy, on a 360-pixel map
};

std::vector<double> xOfFirstThree(const RecordingCanvas& canvas, CanvasOp op) {
    std::vector<double> xs;
    for (const RecordedCall& call : canvas.callsOf(op)) {
        if (xs.size() == 3) break;
        xs.push_back(call.coords[0]);
    }
    return xs;
}

void twoFixes(TrackTestContext& c) {
    prepareTrackPen(c.pen, 1.0, 360);
    c.add(100, 50, 50, "201409010000");
    c.add(110, 50, 50, "201409010600");
    c.endTrack();
}

void runFixLoop(TrackTestContext& c) {
    LayerContext ctx = c.context();
    drawFixLoop(ctx, 4);
}

std::vector<double> asVector(const std::array<double, 3>& shifts) {
    return {shifts.begin(), shifts.end()};
}

const SeamCase kCases[] = {
    {"TracksMarkersAndLabelsFromTheProjection",
     [](TrackTestContext&) { return asVector(Projection(360, 180).copies()); },
     {0, -360, 360}},
    {"GridFromTheProjection",
     [](TrackTestContext&) { return asVector(Projection(360, 180).gridCopies()); },
     {0, 360, -360}},
    {"WindRadiiFromTheProjection",
     [](TrackTestContext&) { return asVector(Projection(360, 180).radiiCopies()); },
     {-360, 0, 360}},
    {"TrackSegment",
     [](TrackTestContext& c) {
         twoFixes(c);
         c.settings.markerOrder = MarkerOrder::OnTop;  // lines only
         runFixLoop(c);
         return xOfFirstThree(c.canvas, CanvasOp::DrawLine);
     },
     {0, -360, 360}},
    {"FixMarker",
     [](TrackTestContext& c) {
         twoFixes(c);
         runFixLoop(c);
         return xOfFirstThree(c.canvas, CanvasOp::FillEllipse);
     },
     {0, -360, 360}},
    {"TcvLabel",
     [](TrackTestContext& c) {
         c.useTcvStyle(2.0);
         prepareTrackPen(c.pen, 2.0, 360);
         c.add(100, 50, 20, "201409010000", "", SystemClass::Tropical, TrackFileKind::BestTrackFile,
               "AL992014");
         c.add(110, 50, 20, "201409010600", "", SystemClass::Tropical, TrackFileKind::BestTrackFile,
               "AL992014");
         c.endTrack();
         runFixLoop(c);
         return xOfFirstThree(c.canvas, CanvasOp::DrawText);
     },
     {0, -360, 360}},
    // A picture three map widths wide, the map in the middle, shows every copy.
    {"GridLine",
     [](TrackTestContext& c) {
         tcmap::testing::TempFolder folder;
         const std::string path = folder.put("GridData", "a|255/0/0/255/2/0|0/0/0/90\r\n");
         c.canvas.setSize(1080, 180);
         drawGrid(c.canvas, c.log, path, Projection(360, 180), 0, 360, 0, 0);
         return xOfFirstThree(c.canvas, CanvasOp::DrawLine);
     },
     {0, 360, -360}},
};

class SeamCopies : public ::testing::TestWithParam<SeamCase>, protected TrackTestContext {};

}  // namespace

TEST_P(SeamCopies, OneMapWidthToEitherSide) {
    const std::vector<double> xs = GetParam().copies(*this);
    ASSERT_EQ(xs.size(), 3u);
    std::vector<double> shifts;
    for (const double x : xs) shifts.push_back(x - xs[0] + GetParam().shifts[0]);
    EXPECT_EQ(shifts, GetParam().shifts);
}

INSTANTIATE_TEST_SUITE_P(Layers, SeamCopies, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });
