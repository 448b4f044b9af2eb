#include "render/intensity_chart.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/recording_canvas.h"
#include "track/atcf_reader.h"

using namespace tcmap;

namespace {

std::shared_ptr<const Track> ian() {
    return std::make_shared<const Track>(
        readAtcfFile(TCMAP_SOURCE_DIR "/tests/data/atlantic-2021-2022/bal092022.dat",
                     TrackFileKind::BestTrackFile));
}

}  // namespace

TEST(IntensityChart, HoursOfTimes) {
    struct Row {
        const char* time;
        std::optional<double> hours;
    };
    const Row rows[] = {
        {"1970010100", 0.0},        {"1970010206", 30.0},         {"197001010030", 0.5},
        {"2000030100", 264408.0},   {"2022093000", 462360.0},     {"2022133100", std::nullopt},
        {"20220930", std::nullopt}, {"2022093024", std::nullopt}, {"20220a3000", std::nullopt},
    };
    for (const Row& row : rows) EXPECT_EQ(hoursOfTime(row.time), row.hours) << row.time;
    // A leap day is a day.
    EXPECT_EQ(*hoursOfTime("2000030100") - *hoursOfTime("2000022800"), 48.0);
}

TEST(IntensityChart, IanSpansItsTimesWindsAndLow) {
    const std::vector<std::shared_ptr<const Track>> tracks = {ian()};
    const std::vector<ChartSeries> series = chartSeries(tracks);
    ASSERT_EQ(series.size(), 1u);
    EXPECT_EQ(series[0].label, "Ian (AL092022)");
    const std::vector<ChartPoint>& points = series[0].points;
    // One point per time, though 34, 50 and 64 kt radii repeat most records.
    for (size_t i = 1; i < points.size(); ++i) EXPECT_LT(points[i - 1].hours, points[i].hours);

    const ChartAxes axes = chartAxes(series);
    EXPECT_EQ(axes.firstHour, *hoursOfTime("2022092218"));
    EXPECT_EQ(axes.lastHour, *hoursOfTime("2022100106"));
    const auto [weakest, strongest] = std::minmax_element(
        points.begin(), points.end(),
        [](const ChartPoint& a, const ChartPoint& b) { return a.wind < b.wind; });
    EXPECT_EQ(weakest->wind, 30);
    EXPECT_EQ(strongest->wind, 140);
    EXPECT_EQ(strongest->hours, *hoursOfTime("2022092812"));
    EXPECT_GE(axes.windHigh, 150);  // room above the peak
    EXPECT_LE(axes.windHigh, 160);
    const auto low = std::min_element(
        points.begin(), points.end(),
        [](const ChartPoint& a, const ChartPoint& b) { return a.pressure < b.pressure; });
    EXPECT_EQ(low->pressure, 937);
    EXPECT_EQ(axes.pressureLow, 930);
    EXPECT_EQ(axes.pressureHigh, 1020);

    // Drawn: the pressure line reaches its lowest point at 937 hPa, the wind
    // line its highest at 140 kt, both at 28 September 12 UTC.
    ChartRequest request;
    request.tracks = tracks;
    request.language = LanguagePack{TCMAP_SOURCE_DIR "/data", "en", "UTF-8", false};
    auto canvas = std::make_shared<RecordingCanvas>(request.width, request.height);
    request.openCanvas = [canvas](Picture&) { return canvas; };
    const DrawResult result = drawIntensityChart(request);
    ASSERT_TRUE(result.drawn());
    EXPECT_EQ(result.picture.width(), 1600);
    const ChartFrame frame = chartFrame(axes, 1600, 900);
    const float peakX = static_cast<float>(frame.x(strongest->hours));
    bool pressureLow = false, windPeak = false;
    float lowestPressureY = 0;
    for (const RecordedCall& call : canvas->calls()) {
        if (call.op != CanvasOp::DrawLine || !call.pen || call.pen->dashPattern.empty()) continue;
        lowestPressureY = std::max({lowestPressureY, call.coords[1], call.coords[3]});
    }
    for (const RecordedCall& call : canvas->calls()) {
        if (call.op != CanvasOp::DrawLine || call.coords[2] != peakX) continue;
        pressureLow = pressureLow || call.coords[3] == static_cast<float>(frame.pressureY(937));
        windPeak = windPeak || call.coords[3] == static_cast<float>(frame.windY(140));
    }
    EXPECT_TRUE(pressureLow);
    EXPECT_TRUE(windPeak);
    EXPECT_EQ(lowestPressureY, static_cast<float>(frame.pressureY(937)));
    // The texts of the axes, in the chart's language.
    std::vector<std::string> texts;
    for (const RecordedCall& call : canvas->calls()) texts.push_back(call.text);
    for (const char* text : {"Wind (kt)", "Pressure (hPa)", "Ian (AL092022)", "09-28", "140"}) {
        EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end()) << text;
    }
}

TEST(IntensityChart, NothingToChartWithoutABestTrack) {
    auto forecast = std::make_shared<Track>();
    forecast->kind = TrackFileKind::ForecastFile;
    ChartRequest request;
    request.tracks = {forecast};
    const DrawResult result = drawIntensityChart(request);
    EXPECT_FALSE(result.drawn());
    ASSERT_EQ(result.messages.size(), 1u);
}
