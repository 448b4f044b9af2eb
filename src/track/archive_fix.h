// One fix of an archive as its row gives it, and the typed track an archive
// storm's fixes make. A storm of an archive is drawn as a best-track file of
// its own would be: the same fix, radii and statistics rules apply to the
// values its rows give.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "track/radii_grouping.h"
#include "track/storm_statistics.h"
#include "track/track.h"

namespace tcmap {

struct ArchiveFix {
    std::string basin;     // ATCF basin code, "EP"
    std::string number;    // two digits, "20"
    std::string dateTime;  // YYYYMMDDHH
    std::string minutes = "00";
    int32_t latTenths = 0;  // north positive, within ±900
    int32_t lonTenths = 0;  // east positive, -1800 to 1800
    int32_t wind = 0;       // knots
    int32_t pressure = 0;   // hPa
    std::string type;       // system type code
    std::string name;
    // Radii in nautical miles of the winds of radiiThresholdsKt, quadrants
    // from the northeast clockwise; 0 where there is none. The thresholds
    // are the archive's own: 34, 50 and 64 kt, or JMA's 30 and 50 kt.
    std::array<std::array<int32_t, 4>, 3> radii{};
    std::array<int32_t, 3> radiiThresholdsKt{34, 50, 64};
};

class ArchiveTrackBuilder {
  public:
    // `agency` names the archive's format: "HURDAT2", "IBTrACS", "CMA".
    ArchiveTrackBuilder(std::string source, std::string agency);
    // Room for the fixes of `rows` rows, when a header counts them: a fix is
    // large, and growing a whole archive's tracks one fix at a time moved
    // every fix several times.
    void reserve(size_t rows) { track_.fixes.reserve(rows); }
    // False, adding nothing, for a row with impossible values.
    bool add(const ArchiveFix& fix, int64_t line);
    // The storm's track; `stormId`, `name` and `basin` from its header.
    Track finish(std::string stormId, std::string name, std::string basin);

  private:
    Track track_;
    std::string lastKey_;
    RadiiGrouping radii_;
    StatisticsPass statistics_;
};

}  // namespace tcmap
