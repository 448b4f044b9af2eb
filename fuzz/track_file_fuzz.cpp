// A track file as a draw job loads it: the input is stored under each of the
// names whose extension picks a reader, then its lines and radii are read.
#include <cstddef>
#include <cstdint>

#include "fuzz_scratch.h"
#include "track/atcf_reader.h"
#include "track/track_file.h"
#include "track/track_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tcmap;
    const auto& scratch = fuzz::ScratchFolder::instance();
    for (const char* name : {"storm.dat", "storm.fst", "storm.other"}) {
        const std::string path = scratch.put(name, fuzz::asText(data, size));
        const TrackFileKind kind = trackFileKind(path);
        const Track track = readAtcfFile(path, kind);
        trackTextLines(track);
        for (int32_t setting = 1; setting <= 3; ++setting) radiiText(track, setting, setting != 2);
    }
    return 0;
}
