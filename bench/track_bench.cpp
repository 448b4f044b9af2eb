// Reading track files: the 85 000-line forecast file into track text, and the
// statistics pass over a whole season of best tracks. The growing prefixes of
// the forecast file show that reading time is linear in the file size.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "track/atcf_reader.h"
#include "track/storm_statistics.h"
#include "track/track_file.h"

namespace {

const std::string kForecastPath = std::string(TCMAP_SOURCE_DIR) + "/bench/data/aal182012.fst";

const std::string& forecastBytes() {
    static const std::string bytes = tcmap::readFileOrEmpty(kForecastPath);
    return bytes;
}

const std::vector<std::string>& seasonFiles() {
    static const std::vector<std::string> files = [] {
        std::vector<std::string> result;
        for (int storm = 1; storm <= 23; ++storm) {
            char name[64];
            std::snprintf(name, sizeof name, "/tests/data/track/atcf/bwp%02d2014.dat", storm);
            result.push_back(tcmap::readFileOrEmpty(std::string(TCMAP_SOURCE_DIR) + name));
        }
        return result;
    }();
    return files;
}

// The forecast reader on the first `percent` of the file (cut at a line end).
void readForecastPrefix(benchmark::State& state) {
    const std::string& bytes = forecastBytes();
    size_t end = bytes.size() * static_cast<size_t>(state.range(0)) / 100;
    end = end >= bytes.size() ? bytes.size() : bytes.rfind('\n', end) + 1;
    const std::string_view text(bytes.data(), end);
    for (auto _ : state)
        benchmark::DoNotOptimize(tcmap::readAtcfText(text, tcmap::TrackFileKind::ForecastFile));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * end));
    state.SetComplexityN(static_cast<int64_t>(end));
}
BENCHMARK(readForecastPrefix)
    ->Arg(12)
    ->Arg(25)
    ->Arg(50)
    ->Arg(100)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// What the draw job does for the file: read it into a typed track.
void loadForecastLines(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            tcmap::readAtcfFile(kForecastPath, tcmap::TrackFileKind::ForecastFile));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * forecastBytes().size()));
}
BENCHMARK(loadForecastLines)->Unit(benchmark::kMillisecond);

void seasonStatistics(benchmark::State& state) {
    const auto& files = seasonFiles();
    size_t total = 0;
    for (const auto& file : files) total += file.size();
    for (auto _ : state) {
        tcmap::StormStatistics run;
        for (const auto& file : files) tcmap::accumulateStatistics(file, run);
        benchmark::DoNotOptimize(run);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total));
}
BENCHMARK(seasonStatistics)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
