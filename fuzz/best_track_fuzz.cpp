// Best-track text from any bytes.
#include <cstddef>
#include <cstdint>

#include "fuzz_scratch.h"
#include "track/atcf_reader.h"
#include "track/track_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tcmap;
    trackTextLines(readAtcfText(fuzz::asText(data, size), TrackFileKind::BestTrackFile));
    return 0;
}
