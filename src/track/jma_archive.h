// The RSMC Tokyo (Japan Meteorological Agency) best tracks, bst_all.txt and
// its yearly cuts: fixed columns, per storm a header
//   "66666 1822  046 0029 1822 0 6             MANGKHUT              20181026"
// (international number, row count, tropical-cyclone number, end flag, hours
// to the final analysis, name in columns 31-50, revision date) and that many
// rows
//   "18091500 002 5 180 1241  905     110     90140 0140 90350 0325         #"
// (time YYMMDDHH, indicator 002, grade, latitude and longitude in tenths of a
// degree north and east, pressure hPa, 10-minute wind kt, the 50-kt and 30-kt
// radii as direction of the longest radius, longest and shortest radius in
// nm, landfall mark). Blank fields are missing values: winds before 1977,
// radii where there are none, the tropical-cyclone number and name of early
// storms.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "track/archive_fix.h"
#include "track/archive_reader.h"

namespace tcmap {

class JmaArchive : public ArchiveReader {
  public:
    JmaArchive(const std::string& path, const ArchiveSelection& selection)
        : ArchiveReader(path, selection) {}
    bool next(ArchiveStorm& storm) override;
};

// One row (basin, number and name already in `fix`): the time with its
// four-digit year, the position, pressure, wind (0 when blank), the type code
// of the grade and the radii of 30 and 50 kt in quadrants. False when the
// time, grade or position is unreadable or a value is not a number.
bool readJmaRow(std::string_view row, ArchiveFix& fix);

// The four-digit year of a two-digit one: 51 to 99 are 1951 to 1999, the
// rest 2000 to 2050.
int32_t jmaFullYear(int32_t twoDigitYear);

// The ATCF-like type code of a grade. The grades name TD, TS, STS (a tropical
// storm to the ATCF codes, which have no severe one), TY and the
// extratropical stage. Grade 7 (just entering the area) says nothing of the
// intensity, so the wind decides: TD below 34 kt, TS below 64, TY from 64, XX
// without a wind. Grade 9 (TS or stronger, given where early years have no
// wind) is TS, or TY from 64 kt.
std::string_view jmaTypeCode(int32_t grade, int32_t wind);

// The four quadrant radii (NE, SE, SW, NW) of a radius given as the direction
// of its longest extent (1 NE, 2 E, 3 SE, 4 S, 5 SW, 6 W, 7 NW, 8 N, 9 the
// same all round), the longest and the shortest radius: the longest towards
// the quadrant of a diagonal direction or the two quadrants beside a cardinal
// one, the shortest in the others. An approximation: the archive gives two
// numbers, the quadrant form wants four. Direction 0 (none) or any other code
// gives no radius (all zero).
std::array<int32_t, 4> jmaQuadrantRadii(int32_t direction, int32_t longestNm, int32_t shortestNm);

}  // namespace tcmap
