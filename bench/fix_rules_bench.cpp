// The draw job's fix rules over many fixes: every line of the 85 000-line
// forecast file, and synthetic best tracks of growing size, in both styles.
// The per-line cost must stay flat as the table grows.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "render/fix_rules.h"
#include "track/atcf_reader.h"

namespace {

const std::vector<tcmap::Fix>& forecastFixes() {
    static const std::vector<tcmap::Fix> fixes =
        tcmap::readAtcfFile(std::string(TCMAP_SOURCE_DIR) + "/bench/data/aal182012.fst",
                            tcmap::TrackFileKind::ForecastFile)
            .fixes;
    return fixes;
}

// A best track that wanders over the map, 6-hourly with an off-hour fix in
// between, so the seam and bound rules all run.
std::vector<tcmap::Fix> syntheticFixes(int64_t count) {
    std::vector<tcmap::Fix> fixes;
    fixes.reserve(static_cast<size_t>(count));
    for (int64_t i = 0; i < count; ++i) {
        const int hour = static_cast<int>(i % 8) * 3;
        tcmap::Fix& fix = fixes.emplace_back();
        fix.basin = "WP";
        fix.number = std::to_string(i % 97);
        fix.time = std::string("20140901") + (hour < 10 ? "0" : "") + std::to_string(hour) + "00";
        fix.latitude = -40 + static_cast<double>(i % 800) / 10;
        fix.longitude = -179.5 + static_cast<double>(i % 3590) / 10;
        fix.wind = static_cast<int32_t>(i % 140);
        fix.pressure = 990;
        fix.type = i % 5 == 0 ? "DB" : "TY";
        fix.name = "NAME";
        fix.fields = 28;
    }
    return fixes;
}

void collect(benchmark::State& state, const std::vector<tcmap::Fix>& lines, bool tcv) {
    tcmap::JobSettings settings;
    settings.allPoints = state.range(1) != 0;
    for (auto _ : state) {
        tcmap::FixTable fixes;
        tcmap::MapFrame frame;
        frame.mapWidth = 7200;
        frame.mapHeight = 3600;
        tcmap::FixCollector collector(fixes, frame, tcmap::DrawMode::Normal, tcv, settings);
        collector.beginFile(tcmap::TrackFileKind::BestTrackFile, lines.size());
        for (const tcmap::Fix& fix : lines) collector.addFix(fix);
        collector.endFileWithLines();
        benchmark::DoNotOptimize(fixes.x.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
}

void forecastFile(benchmark::State& state) {
    collect(state, forecastFixes(), state.range(0) != 0);
}
BENCHMARK(forecastFile)->Args({1, 0})->Unit(benchmark::kMillisecond);

void syntheticTrack(benchmark::State& state) {
    const std::vector<tcmap::Fix> lines = syntheticFixes(state.range(2));
    collect(state, lines, state.range(0) != 0);
    state.SetComplexityN(state.range(2));
}
BENCHMARK(syntheticTrack)
    ->ArgsProduct({{0, 1}, {1}, {50000, 200000, 800000}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
