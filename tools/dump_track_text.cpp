// Prints what the readers make of track files: for each file its kind, its
// track text, its radii text under every radii setting of both styles, and the
// statistics of the run so far. Used to record the golden track texts in
// tests/data and to look at a new file by hand.
//
// usage: dump_track_text <track file>...
#include <cstdio>
#include <string>
#include <string_view>

#include "track/atcf_reader.h"
#include "track/storm_statistics.h"
#include "track/track_file.h"
#include "track/track_text.h"

int main(int argc, char** argv) {
    using namespace tcmap;
    if (argc < 2) {
        std::fprintf(stderr, "usage: dump_track_text <track file>...\n");
        return 2;
    }
    StormStatistics run;
    for (int i = 1; i < argc; ++i) {
        const std::string path = argv[i];
        const TrackFileKind kind = trackFileKind(path);
        const std::string_view name = std::string_view(path).substr(path.find_last_of('/') + 1);
        std::printf("== file %.*s kind %d\n", static_cast<int>(name.size()), name.data(),
                    static_cast<int>(kind));
        const Track track = readAtcfFile(path, kind);
        if (track.statistics) addToRun(run, *track.statistics);
        for (const std::string& line : trackTextLines(track)) std::printf("%s\n", line.c_str());
        for (int tcv = 0; tcv <= 1; ++tcv) {
            for (int setting = 1; setting <= 3; ++setting) {
                std::printf("== radii setting %d tcv %d\n", setting, tcv);
                const std::string radii = radiiText(track, setting, tcv == 1);
                std::fwrite(radii.data(), 1, radii.size(), stdout);
                std::printf("\n");
            }
        }
        std::printf("== statistics %d %d %.6f\n", run.peakWind, run.lowestPressure, run.ace);
    }
    return 0;
}
