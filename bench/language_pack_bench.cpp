// Every language text is looked up by reading its file again: measures one
// lookup in the shipped 180-line language file, plain and with the
// traditional-Chinese conversion.
#include <benchmark/benchmark.h>

#include <string>

#include "i18n/language_pack.h"
#include "i18n/safe_format.h"

namespace {

const std::string kDataFolder = std::string(TCMAP_SOURCE_DIR) + "/data";

void lookupText(benchmark::State& state) {
    const tcmap::LanguagePack pack(kDataFolder, "zh-cn", "UTF-8", state.range(0) != 0);
    int id = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pack.text(tcmap::TextId{id}));
        id = (id + 37) % 179;  // ids spread over the whole file
    }
}
BENCHMARK(lookupText)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void lookupLastText(benchmark::State& state) {
    const tcmap::LanguagePack pack(kDataFolder, "zh-cn", "UTF-8", false);
    for (auto _ : state) benchmark::DoNotOptimize(pack.text(tcmap::TextId::SavingMap));
}
BENCHMARK(lookupLastText)->Unit(benchmark::kMicrosecond);

void formatLabel(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(tcmap::safeFormat("%02d%02d%02dZ", {2, 11, 6}));
    }
}
BENCHMARK(formatLabel);

}  // namespace

BENCHMARK_MAIN();
