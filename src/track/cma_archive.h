// The China Meteorological Administration's yearly best tracks: per storm a
// header "66666 1909   40 0012 1909 0 6 Mitag   20200417" (international
// number, row count, serial, Chinese number, end flag, interval, name, data
// date) and that many rows "YYYYMMDDHH I LAT LON PRES WND [OWD]".
#pragma once

#include <string>
#include <string_view>

#include "track/archive_fix.h"
#include "track/archive_reader.h"

namespace tcmap {

class CmaArchive : public ArchiveReader {
  public:
    CmaArchive(const std::string& path, const ArchiveSelection& selection)
        : ArchiveReader(path, selection) {}
    bool next(ArchiveStorm& storm) override;
};

// One row (basin, number and name already in `fix`);
// false when the row is unusable.
bool readCmaRow(std::string_view row, ArchiveFix& fix);

// The ATCF type code of a CMA category.
std::string_view cmaTypeCode(int32_t category);

// Knots of a wind in metres per second, to the nearest knot.
int32_t knotsFromMetresPerSecond(int32_t metresPerSecond);

}  // namespace tcmap
