// Reading the JMA archive and grouping one storm's tracks from several
// agencies. The archive cuts of tests/data hold 377 and 117 real rows; the
// time per row is what a whole bst_all.txt (about 65 000 rows, 1 784 storms)
// would cost. Grouping runs over the tracks of every archive and b-deck of
// the tests' data at once.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "track/archive_kind.h"
#include "track/archive_reader.h"
#include "track/atcf_reader.h"
#include "track/storm_matching.h"

namespace {

const std::string kArchives = std::string(TCMAP_SOURCE_DIR) + "/tests/data/archives/";

std::vector<tcmap::Track> readAll(const std::string& path,
                                  const tcmap::ArchiveSelection& selection) {
    std::vector<tcmap::Track> tracks;
    const auto reader = tcmap::openArchive(path, tcmap::archiveKind(path), selection);
    tcmap::ArchiveStorm storm;
    while (reader && reader->next(storm)) {
        if (storm.selected) tracks.push_back(std::move(storm.track));
    }
    return tracks;
}

// Every storm read and converted (rows per second in the counter).
void readJmaArchive(benchmark::State& state) {
    const std::string path = kArchives + "jma-2018-eight-storms.txt";
    const tcmap::ArchiveSelection everything;
    int64_t rows = 0;
    for (auto _ : state) {
        for (const tcmap::Track& track : readAll(path, everything)) {
            rows += static_cast<int64_t>(track.fixes.size());
        }
    }
    state.counters["rows"] =
        benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsRate);
}
BENCHMARK(readJmaArchive);

// One storm selected: the others' rows are passed over, as a listing or a
// one-storm map of a whole archive does.
void passOverJmaArchive(benchmark::State& state) {
    const std::string path = kArchives + "jma-2018-eight-storms.txt";
    const tcmap::ArchiveSelection one("", "", "1826");
    for (auto _ : state) benchmark::DoNotOptimize(readAll(path, one));
}
BENCHMARK(passOverJmaArchive);

void groupAgencyTracks(benchmark::State& state) {
    std::vector<tcmap::Track> tracks;
    const tcmap::ArchiveSelection everything;
    for (const char* name : {"jma-2018-eight-storms.txt", "jma-2019-lekima-krosa.txt",
                             "cma-2018-soulik-cimaron-yutu.txt", "cma-2019-lekima-krosa.txt",
                             "hurdat2-nepac-2015.txt"}) {
        for (tcmap::Track& track : readAll(kArchives + name, everything)) {
            tracks.push_back(std::move(track));
        }
    }
    tracks.push_back(
        tcmap::readAtcfFile(std::string(TCMAP_SOURCE_DIR) + "/tests/data/agencies/bwp312018.dat",
                            tcmap::TrackFileKind::BestTrackFile));
    std::vector<const tcmap::Track*> pointers;
    for (const tcmap::Track& track : tracks) pointers.push_back(&track);
    for (auto _ : state) benchmark::DoNotOptimize(tcmap::groupStorms(pointers));
    state.counters["tracks"] = static_cast<double>(pointers.size());
}
BENCHMARK(groupAgencyTracks);

}  // namespace

BENCHMARK_MAIN();
