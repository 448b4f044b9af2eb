// The IBTrACS archive reader on any bytes (see archive_fuzz.h).
#include <cstddef>
#include <cstdint>

#include "archive_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return tcmap::fuzz::readArchive(tcmap::ArchiveKind::Ibtracs, "archive.csv", data, size);
}
