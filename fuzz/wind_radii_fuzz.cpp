// Radii text from any bytes, for every selection in both render styles.
#include <cstddef>
#include <cstdint>

#include "fuzz_scratch.h"
#include "track/atcf_reader.h"
#include "track/track_text.h"
#include "track/wind_radii.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tcmap;
    const Track track = readAtcfText(fuzz::asText(data, size), TrackFileKind::BestTrackFile);
    for (const int32_t selection : {kAllFixes, kLastFixWithRadii, kTropicalFixes}) {
        radiiText(track, selection, false);
        radiiText(track, selection, true);
    }
    return 0;
}
