// Forecast track text from any bytes.
#include <cstddef>
#include <cstdint>

#include "fuzz_scratch.h"
#include "track/forecast.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tcmap::readForecast(tcmap::fuzz::asText(data, size));
    return 0;
}
