// Telling the agencies' archives from ATCF files by their beginning, whatever
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
    Cma = 3,      // "66666 1909   40 0012 1909 0 6 Mitag   20200417", rows "2019080318 ..."
    Jma = 4,      // "66666 1909  066 0013 1909 0 6 LEKIMA ...", rows "19080400 002 ..."
};

// A "66666" header alone does not tell CMA's yearly files from JMA's
// archive; it counts as CMA's, as it did before JMA's was read.
ArchiveKind archiveKindOfFirstLine(std::string_view firstLine);

// The first line and the first row under it (the first line after it that
// is neither blank nor a header; empty when there is none): below a "66666"
// header, JMA's rows start with "YYMMDDHH 002", CMA's with "YYYYMMDDHH".
ArchiveKind archiveKindOfLines(std::string_view firstLine, std::string_view firstRow);

// Reads only the beginning of the file.
ArchiveKind archiveKind(const std::string& path);

}  // namespace tcmap
