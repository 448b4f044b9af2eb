// The vector world: reading the bundled file, and cutting its land and
// borders to the boxes a job asks for, from a season frame to the whole map
// with the copies beside it.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <optional>
#include <span>
#include <string>

#include "base/file_io.h"
#include "render/canvas/vector_world.h"

namespace tcmap {
namespace {

const std::string& fileBytes() {
    static const std::string bytes =
        readFileOrEmpty(std::string(TCMAP_SOURCE_DIR) + "/data/maps/world_vector.bin");
    return bytes;
}

std::span<const uint8_t> byteSpan() {
    const std::string& bytes = fileBytes();
    return {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()};
}

const VectorWorld& world() {
    static const VectorWorld loaded = [] {
        std::string error;
        std::optional<VectorWorld> w = VectorWorld::parse(byteSpan(), error);
        if (!w) std::abort();
        return std::move(*w);
    }();
    return loaded;
}

void parseFile(benchmark::State& state) {
    std::string error;
    for (auto _ : state) {
        std::optional<VectorWorld> w = VectorWorld::parse(byteSpan(), error);
        benchmark::DoNotOptimize(w);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fileBytes().size()));
}

// Boxes in map degrees (east of the 0° edge), each a little larger than the
// frame it stands for.
const GeoBox kBoxes[] = {
    {99.9, -0.1, 180.1, 50.1},   // NW Pacific season
    {259.9, 4.9, 350.1, 55.1},   // N Atlantic season
    {-30.1, -40.1, 60.1, 10.1},  // across the 0° seam
    {-0.1, -90, 360.1, 90},      // the whole map
    {-180, -90, 540, 90},        // the map and half a copy each side
};

void landIn(benchmark::State& state) {
    const GeoBox box = kBoxes[state.range(0)];
    size_t shapes = 0;
    for (auto _ : state) {
        const auto land = world().landIn(box);
        shapes = land.size();
        benchmark::DoNotOptimize(land.data());
    }
    state.counters["shapes"] = double(shapes);
}

void bordersIn(benchmark::State& state) {
    const GeoBox box = kBoxes[state.range(0)];
    for (auto _ : state) {
        const auto lines = world().bordersIn(box);
        benchmark::DoNotOptimize(lines.data());
    }
}

BENCHMARK(parseFile)->Unit(benchmark::kMillisecond);
BENCHMARK(landIn)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(bordersIn)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tcmap

BENCHMARK_MAIN();
