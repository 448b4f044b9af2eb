// The draw job's fix rules over many fixes: every line of the 85 000-line
// forecast file, and synthetic best tracks of growing size, in both styles.
// The per-line cost must stay flat as the table grows.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "render/fix_rules.h"
#include "track/atcf_reader.h"
#include "track/track_text.h"

namespace {

const std::vector<std::string>& forecastLines() {
    static const std::vector<std::string> lines = [] {
        return tcmap::trackTextLines(
            tcmap::readAtcfFile(std::string(TCMAP_SOURCE_DIR) + "/bench/data/aal182012.fst",
                                tcmap::TrackFileKind::ForecastFile));
    }();
    return lines;
}

// A best track that wanders over the map, 6-hourly with an off-hour fix in
// between, so the seam and bound rules all run.
std::vector<std::string> syntheticLines(int64_t count) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(count));
    for (int64_t i = 0; i < count; ++i) {
        const int hour = static_cast<int>(i % 8) * 3;
        const double lat = -40 + static_cast<double>(i % 800) / 10;
        const double lon = -179.5 + static_cast<double>(i % 3590) / 10;
        lines.push_back(
            "WP" + std::to_string(i % 97) + " W 2014" + "0901" + (hour < 10 ? "0" : "") +
            std::to_string(hour) + "00 " + std::to_string(lat) + " " + std::to_string(lon) + " " +
            std::to_string(i % 140) + " 990 " + (i % 5 == 0 ? "DB" : "TY") + " NAME 0 ");
    }
    return lines;
}

void collect(benchmark::State& state, const std::vector<std::string>& lines, bool tcv) {
    tcmap::JobSettings settings;
    settings.allPoints = state.range(1) != 0;
    for (auto _ : state) {
        tcmap::FixTable fixes;
        tcmap::MapFrame frame;
        frame.mapWidth = 7200;
        frame.mapHeight = 3600;
        tcmap::FixCollector collector(fixes, frame, tcmap::DrawMode::Normal, tcv, settings);
        collector.beginFile(tcmap::TrackFileKind::BestTrackFile, lines.size());
        for (const std::string& line : lines) collector.addLine(line);
        collector.endFileWithLines();
        benchmark::DoNotOptimize(fixes.x.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
}

void forecastFile(benchmark::State& state) {
    collect(state, forecastLines(), state.range(0) != 0);
}
BENCHMARK(forecastFile)->Args({1, 0})->Unit(benchmark::kMillisecond);

void syntheticTrack(benchmark::State& state) {
    const std::vector<std::string> lines = syntheticLines(state.range(2));
    collect(state, lines, state.range(0) != 0);
    state.SetComplexityN(state.range(2));
}
BENCHMARK(syntheticTrack)
    ->ArgsProduct({{0, 1}, {1}, {50000, 200000, 800000}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
