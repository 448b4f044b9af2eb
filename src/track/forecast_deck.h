// The forecast records of an a-deck sorted by cycle and aid: what the
// forecaster's map draws from one cycle (the model spaghetti, the official
// forecast under the cone). The track reader keeps an a-deck as one run of
// lines for the all-cycles drawing; this reader tells the aids apart.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "track/text_lines.h"

namespace tcmap {

struct AidPoint {
    int hour = 0;      // forecast hour (tau)
    double lat = 0.0;  // degrees, north positive
    double lon = 0.0;  // degrees, east positive
    int windKt = 0;
};

// One aid's forecast of one cycle: one point per forecast hour (the first
// record of each hour; the others repeat it for more wind thresholds),
// ascending hours.
struct AidTrack {
    std::string aid;  // upper case
    std::vector<AidPoint> points;
};

struct ForecastCycle {
    std::string cycle;                      // YYYYMMDDHH
    std::vector<AidTrack> aids;             // in the order the file first gives them
    std::vector<std::string> positionless;  // aids whose rows all lack a position
};

struct ForecastDeck {
    std::string basin;                            // upper case, of the first forecast record
    std::string number;                           // the storm's two digits, of that record
    int year = 0;                                 // of the first cycle
    std::map<std::string, ForecastCycle> cycles;  // by cycle time, ascending
};

// True when the text holds a record whose technique is a forecast aid
// (anything but BEST, CARQ and WRNG): an a-deck, whatever the file's name.
// Looks at the first `maxLines` records.
bool holdsForecastRecords(LineSource& lines, size_t maxLines = 2000);
bool fileHoldsForecastRecords(const std::string& path);

// Reads every forecast record: BEST, CARQ and WRNG rows, short rows, rows
// without a position (0N 0W) and rows with a position no storm can have are
// left out of the tracks (an aid with no positioned row is listed in
// `positionless`).
ForecastDeck readForecastDeck(LineSource& lines);
ForecastDeck readForecastDeckFile(const std::string& path);

struct CyclePick {
    const ForecastCycle* cycle = nullptr;  // null: `error` says why
    std::string error;
};

// "latest" (or empty) is the last cycle of the file, "YYYYMMDDHH" that cycle;
// a cycle the file lacks gives an error naming the cycles it holds.
CyclePick pickCycle(const ForecastDeck& deck, std::string_view wanted);

// "2012102418, 2012102500 ... 2012103100 (29 cycles)": the cycles a message
// can name without flooding the log.
std::string cycleListText(const ForecastDeck& deck);

}  // namespace tcmap
