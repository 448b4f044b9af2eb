// Best-track text from any bytes.
#include <cstddef>
#include <cstdint>

#include "fuzz_scratch.h"
#include "track/best_track.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tcmap::readBestTrack(tcmap::fuzz::asText(data, size));
    return 0;
}
