// The agencies' published radii of the forecast cone's circles (two-thirds of
// the official track errors of the previous five years fall inside), per basin
// and year, read from the run folder's data/forecast/cone_radii.csv:
//
//   # comment lines start with '#'
//   basin,year,12,24,36,48,60,72,96,120      <- header: the forecast hours
//   AL,2024,26,41,55,70,88,102,151,220       <- radii in nautical miles
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tcmap {

struct ConeRadius {
    int hour = 0;
    double nm = 0.0;
};

struct ConeRadiiRow {
    std::string basin;  // upper-case ATCF basin code: AL, EP, CP, ...
    int year = 0;
    std::vector<ConeRadius> radii;  // ascending hours, as in the header
};

struct ConeRadiiTable {
    std::vector<ConeRadiiRow> rows;
    // One message per bad line ("cone_radii.csv line 7: ..."); the good lines
    // are kept, so one typo costs one basin-year, not every cone.
    std::vector<std::string> errors;
};

// Reads the text of a radii file; `sourceName` starts each error message.
ConeRadiiTable parseConeRadii(std::string_view text,
                              std::string_view sourceName = "cone_radii.csv");

// Reads the file at `path`; a missing or unreadable file is one error.
ConeRadiiTable loadConeRadii(const std::string& path);

// The radii for a storm of `basin` (any case) in `year`: the basin's latest
// year not after `year`, else its earliest year (a storm older than the
// table). nullptr when the table has no row for the basin.
const ConeRadiiRow* coneRadiiFor(const ConeRadiiTable& table, std::string_view basin, int year);

}  // namespace tcmap
