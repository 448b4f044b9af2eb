// Drawing markers by intensity sorts the fixes by wind in the order of a
// selection sort. Measures the O(n log n) replay on up to 200 000 fixes with
// many equal winds beside the plain quadratic sort on smaller tables, and the
// whole track layer (loop and marker pass) on 200 000 fixes with a canvas that
// draws nothing, so the per-fix overhead of the layer shows.
#include <benchmark/benchmark.h>

#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "i18n/language_pack.h"
#include "render/draw.h"
#include "render/job_log.h"
#include "render/layers/track_layer.h"
#include "render/map_frame.h"
#include "track/track_model.h"

namespace {

using namespace tcmap;

// Winds in 5-kt steps from 0 to 185 kt: about 5 000 fixes share each value
// in a table of 200 000.
std::vector<int32_t> randomWinds(size_t n) {
    std::mt19937 random(2014);
    std::vector<int32_t> wind(n);
    for (auto& w : wind) w = static_cast<int32_t>(random() % 38) * 5;
    return wind;
}

std::vector<int64_t> identity(size_t n) {
    std::vector<int64_t> seq(n);
    std::iota(seq.begin(), seq.end(), 0);
    return seq;
}

void sortFast(benchmark::State& state) {
    const auto wind = randomWinds(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        auto seq = identity(wind.size());
        sortByWind(wind, seq);
        benchmark::DoNotOptimize(seq.data());
    }
}
BENCHMARK(sortFast)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);

void sortPlain(benchmark::State& state) {
    const auto wind = randomWinds(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        auto seq = identity(wind.size());
        sortByWindSelection(wind, seq);
        benchmark::DoNotOptimize(seq.data());
    }
}
BENCHMARK(sortPlain)->Arg(20000)->Arg(50000)->Unit(benchmark::kMillisecond);

class NullCanvas : public Canvas {
  public:
    int width() const override { return 7200; }
    int height() const override { return 3600; }
    bool drawPicture(const Picture&, float, float, float, float) override { return finish(0); }
    bool drawLine(const CanvasPen&, float, float, float, float) override { return finish(0); }
    bool drawArc(const CanvasPen&, float, float, float, float, float, float) override {
        return finish(0);
    }
    bool drawEllipse(const CanvasPen&, float, float, float, float) override { return finish(0); }
    bool fillEllipse(const CanvasBrush&, float, float, float, float) override { return finish(0); }
    bool fillRectangle(const CanvasBrush&, float, float, float, float) override {
        return finish(0);
    }
    bool fillPolygon(const CanvasBrush&, std::span<const PointF>) override { return finish(0); }
    bool drawText(std::string_view, const CanvasFont&, const CanvasBrush&, RectF,
                  const TextLayout*) override {
        return finish(0);
    }
};

// 200 000 fixes in files of 40, a six-hourly track wandering over a
// 7200-pixel map; every tenth file is a forecast.
FixTable makeTable(size_t n) {
    std::mt19937 random(1);
    FixTable t;
    const auto wind = randomWinds(n);
    for (size_t i = 0; i < n; ++i) {
        const size_t inFile = i % 40;
        const bool forecast = (i / 40) % 10 == 9;
        t.seq.push_back(static_cast<int64_t>(i));
        t.x.push_back(static_cast<double>(random() % 7200));
        t.y.push_back(static_cast<double>(random() % 3600));
        t.cls.push_back(static_cast<int32_t>(random() % 3));
        t.type.push_back(forecast ? "" : (wind[i] < 35 ? "TD" : "TS"));
        const size_t day = 1 + inFile / 4;
        const size_t hour = inFile % 4 * 6;
        t.time.push_back(forecast
                             ? std::to_string(inFile * 6)
                             : "2014" + std::string(day < 10 ? "090" : "09") + std::to_string(day) +
                                   (hour < 10 ? "0" : "") + std::to_string(hour) + "00");
        t.stormId.push_back("WP012014");
        t.kind.push_back(static_cast<int32_t>(forecast ? TrackFileKind::ForecastFile
                                                       : TrackFileKind::BestTrackFile));
        t.wind.push_back(wind[i]);
        t.continues.push_back(inFile == 39 ? 0 : 1);
        t.synoptic.push_back(1);
    }
    return t;
}

void trackLayer(benchmark::State& state) {
    const bool tcv = state.range(0) == 1;
    const FixTable table = makeTable(200000);
    struct : DrawProgress {
        void message(const DrawMessage&) override {}
        void infoLine(const StormStatistics&, const std::string*) override {}
    } progress;
    StormStatistics stats;
    std::vector<DrawMessage> messages;
    JobLog log(progress, stats, messages, 0);
    const LanguagePack lang(std::string(TCMAP_SOURCE_DIR) + "/data", "en", "UTF-8", false);
    JobSettings settings;
    settings.trackWidth = tcv ? 2.0 : 0.05;
    settings.markerOrder = tcv ? tcmap::MarkerOrder::WithTracks : tcmap::MarkerOrder::ByIntensity;
    settings.timeFormat = "%02d%02d%02dZ";
    settings.forecastFormat = "P+%dh\r\n%dkt";
    MapFrame frame;
    frame.mapWidth = 7200;
    frame.mapHeight = 3600;
    NullCanvas canvas;
    const LayerInput input{settings, tcv, frame, table, {}, lang, ""};
    for (auto _ : state) {
        drawTrackLayer(input, canvas, log);
        drawMarkerLayer(input, canvas, log);
    }
}
// 0: Wendrel style, markers sorted by wind; 1: TCV style with labels.
BENCHMARK(trackLayer)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
