// Every real track file of tests/data and samples against the texts recorded
// from it by tools/dump_track_text: its kind, track text, radii texts under
// every radii setting of both styles, and the running statistics.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "base/file_io.h"
#include "track/archive_kind.h"
#include "track/atcf_reader.h"
#include "track/storm_statistics.h"
#include "track/track_file.h"
#include "track/track_text.h"

namespace tcmap {
namespace {

std::string describe(const std::filesystem::path& path) {
    StormStatistics run;
    const TrackFileKind kind = trackFileKind(path.string());
    std::string out = "== file " + path.filename().string() + " kind " +
                      std::to_string(static_cast<int>(kind)) + "\n";
    const Track track = readAtcfFile(path.string(), kind);
    if (track.statistics) addToRun(run, *track.statistics);
    for (const std::string& line : trackTextLines(track)) out += line + "\n";
    for (int tcv = 0; tcv <= 1; ++tcv) {
        for (int setting = 1; setting <= 3; ++setting) {
            out += "== radii setting " + std::to_string(setting) + " tcv " + std::to_string(tcv) +
                   "\n";
            out += radiiText(track, setting, tcv == 1) + "\n";
        }
    }
    char stats[96];
    std::snprintf(stats, sizeof stats, "== statistics %d %d %.6f\n", run.peakWind,
                  run.lowestPressure, run.ace);
    return out + stats;
}

// Every ATCF track file of these folders has its golden, and every golden its
// file. Settings files and notes are no track files; the archives (told by
// their first line) are read storm by storm by the archive readers, whose
// tests are archive_test.cpp.
TEST(RealFiles, ReadExactlyAsRecorded) {
    namespace fs = std::filesystem;
    const fs::path expected = std::string(TCMAP_TEST_DATA_DIR) + "/track/expected/all";
    std::set<std::string> unused;
    for (const auto& entry : fs::directory_iterator(expected)) {
        unused.insert(entry.path().filename().string());
    }
    int compared = 0;
    for (const char* folder : {"/tests/data/track/atcf", "/samples", "/tests/data/batch"}) {
        for (const auto& entry : fs::directory_iterator(std::string(TCMAP_SOURCE_DIR) + folder)) {
            const std::string path = entry.path().string();
            if (trackFileKind(path) == TrackFileKind::OtherFile) continue;
            if (archiveKind(path) != ArchiveKind::None) continue;
            const std::string name = entry.path().filename().string() + ".dump";
            const fs::path golden = expected / name;
            if (!fs::exists(golden)) {
                ADD_FAILURE() << path << " has no golden " << golden.string()
                              << ": record it with tools/dump_track_text";
                continue;
            }
            EXPECT_EQ(describe(entry.path()), readFileOrEmpty(golden.string())) << path;
            unused.erase(name);
            ++compared;
        }
    }
    for (const std::string& name : unused) ADD_FAILURE() << "the golden " << name << " has no file";
    EXPECT_GE(compared, 28);
}

}  // namespace
}  // namespace tcmap
