// Radii text from any bytes, for every selection in both render styles.
#include <cstddef>
#include <cstdint>

#include "fuzz_scratch.h"
#include "track/wind_radii.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = tcmap::fuzz::asText(data, size);
    for (const int32_t selection :
         {tcmap::kAllFixes, tcmap::kLastFixWithRadii, tcmap::kTropicalFixes}) {
        tcmap::readWindRadii(text, selection, false);
        tcmap::readWindRadii(text, selection, true);
    }
    return 0;
}
