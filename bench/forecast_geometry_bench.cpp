// The forecaster's map geometry on a real storm, Sandy (2012): the cone of a
// five-day official forecast with the shipped radii (hourly circles, one GEOS
// union per shade), the wind swath of its whole best track, and the cut of the
// cone at 180° for GIS files.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "base/file_io.h"
#include "render/forecast_geometry.h"
#include "support/atcf_geometry_input.h"
#include "track/cone_radii.h"

namespace {

using namespace tcmap;

const std::vector<ForecastPoint>& officialForecast() {
    // The 29 October 00 UTC cycle, the last one that reaches 120 h.
    static const std::vector<ForecastPoint> points = tcmap::testing::aidForecast(
        readFileOrEmpty(std::string(TCMAP_SOURCE_DIR) + "/bench/data/aal182012.fst"), "OFCL",
        "2012102900");
    return points;
}

const std::vector<ConeRadius>& atlanticRadii() {
    static const std::vector<ConeRadius> radii = [] {
        const ConeRadiiTable table =
            loadConeRadii(std::string(TCMAP_SOURCE_DIR) + "/data/forecast/cone_radii.csv");
        const ConeRadiiRow* row = coneRadiiFor(table, "AL", 2012);
        return row ? row->radii : std::vector<ConeRadius>{};
    }();
    return radii;
}

const std::vector<SwathFix>& sandyFixes() {
    static const std::vector<SwathFix> fixes = tcmap::testing::bestTrackSwathFixes(
        readFileOrEmpty(std::string(TCMAP_SOURCE_DIR) + "/tests/data/track/atcf/bal182012.dat"));
    return fixes;
}

void coneOfFiveDayForecast(benchmark::State& state) {
    if (officialForecast().empty() || atlanticRadii().empty()) {
        state.SkipWithError("no forecast or radii");
        return;
    }
    for (auto _ : state) {
        const ConeGeometry cone = forecastCone(officialForecast(), atlanticRadii());
        if (!cone.ok()) state.SkipWithError(cone.error.c_str());
        benchmark::DoNotOptimize(cone);
    }
}
BENCHMARK(coneOfFiveDayForecast)->Unit(benchmark::kMillisecond);

void swathOfSandy(benchmark::State& state) {
    for (auto _ : state) {
        const SwathGeometry swath = windSwath(sandyFixes());
        if (!swath.ok()) state.SkipWithError(swath.error.c_str());
        benchmark::DoNotOptimize(swath);
    }
    state.counters["fixes"] = static_cast<double>(sandyFixes().size());
}
BENCHMARK(swathOfSandy)->Unit(benchmark::kMillisecond);

void coneSplitAt180(benchmark::State& state) {
    // The same forecast moved to cross the date line.
    std::vector<ForecastPoint> shifted = officialForecast();
    for (auto& point : shifted) point.lon += 250.0;
    const ConeGeometry cone = forecastCone(shifted, atlanticRadii());
    for (auto _ : state) benchmark::DoNotOptimize(splitAtAntimeridian(cone.days1to3));
}
BENCHMARK(coneSplitAt180)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
