// The forecast layers on a 360 x 180 map where a degree is a pixel: shapes
// and their seam copies where the output shows them, the aid legend's
// entries and corner, and the aid lines across the 0° seam.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "i18n/language_pack.h"
#include "render/job_log.h"
#include "render/layers/forecast_area_layer.h"
#include "render/layers/geo_shape_painter.h"
#include "render/layers/spaghetti_layer.h"
#include "support/recording_canvas.h"
#include "support/recording_view.h"

using namespace tcmap;

namespace {

GeoShape band(double west, double east) {
    return {{{{10, west}, {10, east}, {20, east}, {20, west}, {10, west}}, {}}};
}

// The whole 360 x 180 map as the output, as a Global job shows it.
OutputGeometry wholeMap() {
    OutputGeometry frame;
    frame.mapWidth = 360;
    frame.mapHeight = 180;
    frame.outputWidth = 360;
    frame.outputHeight = 180;
    return frame;
}

std::vector<float> xs(const RecordedCall& call) {
    std::vector<float> out;
    for (const PointF& p : call.points) out.push_back(p.x);
    return out;
}

}  // namespace

TEST(GeoShapePainter, EachShapeIsFilledOnceForEveryCopyTheOutputShows) {
    const struct {
        const char* what;
        GeoShape shape;
        OutputGeometry frame;
        std::vector<std::vector<float>> xs;  // of each filled polygon
    } rows[] = {
        {"across 180: one shape", band(170, 190), wholeMap(), {{170, 190, 190, 170, 170}}},
        {"across 0: the shape and its copy a map to the east",
         band(-10, 10),
         wholeMap(),
         {{-10, 10, 10, -10, -10}, {350, 370, 370, 350, 350}}},
        {"a region from 100 to 150 with a margin of 5: shifted into the output",
         band(120, 130),
         [] {
             OutputGeometry f = wholeMap();
             f.minX = 100;
             f.marginX = 5;
             f.outputWidth = 60;
             return f;
         }(),
         {{25, 35, 35, 25, 25}}},
        {"outside the output",
         band(200, 210),
         [] {
             OutputGeometry f = wholeMap();
             f.minX = 100;
             f.outputWidth = 50;
             return f;
         }(),
         {}},
    };
    for (const auto& row : rows) {
        RecordingCanvas canvas(row.frame.outputWidth, row.frame.outputHeight);
        CanvasBrush brush;
        brush.setSolid(0x80FFFFFF);
        EXPECT_TRUE(paintGeoShape(canvas, row.frame, row.shape, brush, CanvasPen{})) << row.what;
        const std::vector<RecordedCall> fills = canvas.callsOf(CanvasOp::FillPolygon);
        ASSERT_EQ(fills.size(), row.xs.size()) << row.what;
        for (size_t i = 0; i < fills.size(); ++i) EXPECT_EQ(xs(fills[i]), row.xs[i]) << row.what;
        // Latitude 20 N is 70 pixels below the top, 10 N is 80.
        for (const RecordedCall& fill : fills) {
            EXPECT_FLOAT_EQ(fill.points[0].y, 80) << row.what;
            EXPECT_FLOAT_EQ(fill.points[2].y, 70) << row.what;
        }
        EXPECT_EQ(canvas.count(CanvasOp::DrawLine), 0u) << "no outline pen, no outline";
    }
}

TEST(AidLegend, MembersShareOneEntryAndTheCornerAvoidsTheColourLegend) {
    std::vector<AidTrack> aids;
    for (const char* name : {"AP03", "AP01", "AVNO", "AP12", "OFCL", "HWRF"}) {
        aids.push_back({name, {{0, 10, 130, 30}}});
    }
    std::vector<std::string> labels;
    for (const AidLegendEntry& e : aidLegendEntries(aids)) labels.push_back(e.label);
    EXPECT_EQ(labels, (std::vector<std::string>{"AP01-AP12", "AVNO", "OFCL", "HWRF"}));

    const struct {
        LegendCorner colour, aids;
    } corners[] = {
        {LegendCorner::None, LegendCorner::UpperRight},
        {LegendCorner::UpperLeft, LegendCorner::UpperRight},
        {LegendCorner::UpperRight, LegendCorner::UpperLeft},
        {LegendCorner::LowerLeft, LegendCorner::LowerRight},
        {LegendCorner::LowerRight, LegendCorner::LowerLeft},
        {LegendCorner::Automatic, LegendCorner::UpperRight},
    };
    for (const auto& row : corners) {
        EXPECT_EQ(aidLegendCorner(row.colour), row.aids) << static_cast<int>(row.colour);
    }
    // The official forecast is the widest line.
    EXPECT_GT(aidLineWidth(aidLook("OFCL").weight), aidLineWidth(aidLook("AVNO").weight));
    EXPECT_GT(aidLineWidth(aidLook("AEMN").weight), aidLineWidth(aidLook("AP01").weight));
}

TEST(SpaghettiLayer, AnAidAcrossTheSeamIsOneLineWithItsCopies) {
    const OutputGeometry frame = wholeMap();
    FixTable fixes;
    JobSettings settings;
    LanguagePack lang("", "en", "UTF-8", false);
    const LayerInput input{settings, true, frame, fixes, {}, lang, ""};
    ForecastScene scene;
    // 175E to 175W: 10 degrees east across 180, then 5W to 5E across 0.
    scene.aids.push_back({"AVNO", {{0, 10, 175, 30}, {24, 10, -175, 30}}});
    scene.aids.push_back({"HWRF", {{0, 20, -5, 30}, {12, 20, 5, 30}}});
    RecordingCanvas canvas(360, 180);
    ProgressRecorder view;
    StormStatistics stats;
    std::vector<DrawMessage> messages;
    JobLog log{view, stats, messages, 0};
    drawSpaghettiLayer(scene, input, canvas, log);
    std::vector<std::vector<float>> avno, hwrf;
    const Argb avnoColour = toArgb(aidLook("AVNO").colour);
    for (const RecordedCall& line : canvas.callsOf(CanvasOp::DrawLine)) {
        if (line.coords[1] == 80 && line.coords[3] == 80) avno.push_back(line.coords);
        if (line.coords[1] == 70 && line.coords[3] == 70) hwrf.push_back(line.coords);
        if (line.coords[1] == 80) {
            EXPECT_EQ(line.pen->colour, avnoColour);
        }
    }
    // Each segment is 10 pixels long (never a line across the map), in three
    // copies one map width apart.
    EXPECT_EQ(avno, (std::vector<std::vector<float>>{
                        {175, 80, 185, 80}, {-185, 80, -175, 80}, {535, 80, 545, 80}}));
    EXPECT_EQ(hwrf, (std::vector<std::vector<float>>{
                        {355, 70, 365, 70}, {-5, 70, 5, 70}, {715, 70, 725, 70}}));
    // The 24-h tick of AVNO with its label; none at hour 0 or 12.
    std::vector<std::string> labels;
    for (const RecordedCall& text : canvas.callsOf(CanvasOp::DrawText)) labels.push_back(text.text);
    EXPECT_EQ(std::count(labels.begin(), labels.end(), "24"), 3);
    EXPECT_EQ(std::count(labels.begin(), labels.end(), "12"), 0);
    EXPECT_EQ(std::count(labels.begin(), labels.end(), "AVNO"), 1);  // the legend
}
