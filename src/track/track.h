// Typed storms: what the readers of every track format yield and the drawing,
// the statistics and the listings take. A Track is one storm of an archive, or
// the whole of one ATCF file (which the drawing treats as one track whatever
// storms it holds).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "track/impossible_fix.h"
#include "track/track_model.h"

namespace tcmap {

// How far winds of at least one threshold reach from a fix, per quadrant.
struct WindRadii {
    int32_t thresholdKt = 0;
    std::array<int32_t, 4> quadrantsNm{};  // northeast, southeast, southwest, northwest
};

// One fix of a storm: a best-track position or a forecast point, with the
// values its record gives. Numbers are those the record's text stands for
// after the rounding the track text always applied (six significant digits
// in single precision; see base/compatibility.h), so every consumer sees what the
// drawing has always seen.
struct Fix {
    std::string basin;      // as written: "AL", "wp"
    std::string number;     // as written: "18"
    std::string subregion;  // best tracks: ATCF field 22; "" when the record has none
    // Best track: the date-time and its minutes ("00" when empty), as written:
    // "201210221800". Forecast: the date-time of the cycle, "2017082515".
    std::string time;
    int32_t forecastHour = 0;     // forecasts: hours after the cycle
    std::string aid;              // the ATCF technique: "BEST", "OFCL", ...
    double latitude = 0;          // degrees, north positive
    double longitude = 0;         // degrees, east positive (-0.0 for "0W")
    int32_t wind = 0;             // kt
    int32_t pressure = 0;         // hPa
    std::string type;             // system type code as written; "XX" for an empty forecast one
    std::string name;             // the record's storm name
    std::optional<int32_t> gust;  // kt, when the record gives a value
    // The radii of the record lines that make up this fix, in file order.
    std::vector<WindRadii> radii;
    // Fields of the source record (counted up to 28): which values it gives.
    int32_t fields = 0;
    int64_t line = 0;  // line of the source file, from 1

    std::string stormId() const { return basin + number; }
    bool hasLatitude() const { return fields >= 7; }
    bool hasLongitude() const { return fields >= 8; }
    bool hasWind() const { return fields >= 9; }
    bool hasPressure() const { return fields >= 10; }
    bool hasType() const { return fields >= 11; }
    bool hasSubregion() const { return fields >= 23; }
    bool hasName() const { return fields >= 28; }
};

// One row of a radii record: a threshold and its quadrants, or a row of the
// same fix time without radii (threshold 0), which the radii layer has always
// counted as an empty place among the rows.
struct RadiiRow {
    int32_t thresholdKt = 0;
    std::array<int32_t, 4> quadrantsNm{};
    // Whether the radii layer draws this row: its four quadrants were all
    // given, and no lone empty row before it shifted it out of step.
    bool drawn = false;
};

// The wind radii of one fix time as the radii layer draws them: a run of
// record lines with the same date-time, minutes (or aid number) and forecast
// hour, placed where its first line with radii places it. Best tracks have one
// per fix with radii; in a forecast file the runs follow the aids as well.
struct RadiiRecord {
    std::string key;  // date-time, minutes, "+", forecast hour as written: "2012102918+0"
    double latitude = 0;
    double longitude = 0;
    // Wind and type of that first line: the "tropical part" choice tests them.
    int32_t wind = 0;
    std::string type;
    std::vector<RadiiRow> rows;
};

struct Track {
    TrackFileKind kind = TrackFileKind::BestTrackFile;
    std::string source;   // the file it was read from
    std::string agency;   // whose format: "ATCF", "HURDAT2", "IBTrACS", "CMA"
    std::string stormId;  // the archive's id of the storm; an ATCF file's first storm id
    std::string name;     // the last name the fixes give
    std::string basin;
    // Every record that became a line of track text, in file order; a record
    // too short to be placed (fewer than 9 fields) still counts as one.
    std::vector<Fix> fixes;
    std::vector<RadiiRecord> radii;
    // The storm's peak wind, lowest pressure and ACE; nullopt for forecasts and
    // for a file whose last usable record names no storm.
    std::optional<StormStatistics> statistics;
    // Records left out for impossible values or a NUL byte (ATCF files; an
    // archive counts its skipped rows itself).
    SkippedFixes skipped;
};

}  // namespace tcmap
