// Telling the agencies' archives from ATCF files by their first line, whatever
// the file is named.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tcmap {

enum class ArchiveKind : int32_t {
    None = 0,     // not an archive: an ATCF file, read by its extension
    Hurdat2 = 1,  // "EP202015,           PATRICIA,     19,"
    Ibtracs = 2,  // a CSV header naming SID, ISO_TIME, LAT and LON
    Cma = 3,      // "66666 1909   40 0012 1909 0 6 Mitag   20200417"
};

ArchiveKind archiveKindOfFirstLine(std::string_view firstLine);

// Reads only the beginning of the file.
ArchiveKind archiveKind(const std::string& path);

}  // namespace tcmap
