// The storms a map shows, as the title, the storm names and the chart see
// them: who they are, where they came from, their statistics, and which rows
// of the job's fix table are theirs.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "track/track_model.h"

namespace tcmap {

// An ATCF file names its storm by basin and number ("AL09"); with the year of
// its first fix the id is the one agencies publish ("AL092022").
inline std::string stormIdWithYear(const std::string& id, const std::string& firstTime) {
    if (id.size() != 4 || firstTime.size() < 4) return id;
    return id + firstTime.substr(0, 4);
}

struct MapStorm {
    std::string stormId;  // "AL092022"
    std::string name;     // "IAN"; empty when the file names none
    std::string basin;    // "AL"
    std::string agency;   // the format's owner: "ATCF", "HURDAT2", ...
    std::string source;   // the file it was read from
    bool forecast = false;
    // Best track: the first and last fix times ("202209230600"); forecast:
    // the cycle ("2023102406") in both.
    std::string firstTime;
    std::string lastTime;
    std::optional<StormStatistics> statistics;  // best tracks that name a storm
    size_t firstFix = 0;  // its rows of the fix table: [firstFix, firstFix + fixCount)
    size_t fixCount = 0;
};

}  // namespace tcmap
