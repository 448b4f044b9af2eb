// Which tracks of a job are one storm seen by several agencies (a JTWC
// b-deck, a CMA or JMA archive storm, IBTrACS's agency tracks), told by when
// and where the storm was, never by its name or number, which differ between
// agencies. For each storm with several tracks, the largest differences
// between them at the times they share, for the job log.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "track/track.h"
#include "track/wind_averaging.h"

namespace tcmap {

// Two best tracks are one storm when at least `minimumCloseTimes` of the
// synoptic times (00, 06, 12, 18 UTC) that both give have their positions
// within `closeKm`, and those close times are at least half of the synoptic
// times both give. Measured on real tracks (see the tests' data): one storm
// from two agencies is 15 to 22 km apart at the median and 60 to 100 km at
// the 95th percentile, 307 km at the worst single time; two storms at the same
// time came within 250 km at one time only in forty years of CMA tracks
// (241 km), and no two were within 300 km at more than two times.
struct StormMatchSettings {
    int32_t minimumCloseTimes = 3;
    double closeKm = 250;
    // Winds are compared after converting each track's (by the averaging its
    // agency uses) to this one; AsGiven compares them as given.
    WindAveraging compareWindsAs = WindAveraging::AsGiven;
    WindAveragingFactors factors;
};

// The largest difference of one quantity between two tracks of a storm at a
// time both give, the earliest such time when several tie.
struct LargestDifference {
    bool found = false;  // false when no two tracks share a time with both values
    double value = 0;    // km, kt or hPa
    std::string time;    // YYYYMMDDHHMM
    size_t first = 0;    // the two tracks, as positions in the input
    size_t second = 0;
};

struct StormGroup {
    std::vector<size_t> tracks;  // positions in the input, ascending
    LargestDifference positionKm;
    LargestDifference windKt;       // times where both give a wind above 0
    LargestDifference pressureHpa;  // times where both give a pressure above 0
};

// Great-circle distance on a sphere of 6371 km.
double greatCircleKm(double latitude1, double longitude1, double latitude2, double longitude2);

// Whether two tracks are one storm by the rule above. Forecast tracks and
// fixes without a position or a YYYYMMDDHHMM time take no part.
bool sameStorm(const Track& a, const Track& b, const StormMatchSettings& settings = {});

// Every track in exactly one group (one storm), groups in the order of their
// first track. Tracks that match one another join one group even through a
// third (an agency splitting a storm that another keeps whole). The
// differences are looked for at every time two tracks of the group share,
// not only the synoptic ones.
std::vector<StormGroup> groupStorms(std::span<const Track* const> tracks,
                                    const StormMatchSettings& settings = {});

}  // namespace tcmap
