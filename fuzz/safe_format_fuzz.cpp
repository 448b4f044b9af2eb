// Any format text with each mix of arguments the program passes.
#include <cstddef>
#include <cstdint>
#include <limits>

#include "fuzz_scratch.h"
#include "i18n/safe_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using tcmap::safeFormat;
    const std::string_view format = tcmap::fuzz::asText(data, size);
    safeFormat(format, {});
    safeFormat(format, {"C:/storms/bwp152014.dat"});
    safeFormat(format, {std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()});
    safeFormat(format, {"12abc", -1, "", uint64_t{18446744073709551615u}, 'x'});
    return 0;
}
