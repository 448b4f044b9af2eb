// Maximum winds of different averaging periods made comparable: each agency
// gives the highest 1-, 2-, 3- or 10-minute mean wind, and the same storm's
// winds differ by the period alone. The conversion goes through the 10-minute
// wind with a factor per period, which is a setting; the defaults are the WMO
// guidance for winds at sea.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tcmap {

enum class WindAveraging : int32_t {
    AsGiven = 0,  // unknown or left alone: never converted
    OneMinute = 1,
    TwoMinute = 2,
    ThreeMinute = 3,
    TenMinute = 10,
};

// 10-minute wind = factor × wind of that period. Defaults from Table 1.1 of
// "Guidelines for converting between various wind averaging periods in
// tropical cyclone conditions" (Harper, Kepert and Ginger, WMO/TD-No. 1555,
// 2010), at sea: the highest 1-, 2-, 3- and 10-minute means within an hour
// are 1.11, 1.07, 1.06 and 1.03 times the hourly mean, so a 10-minute
// maximum is 1.03/1.11 = 0.93 of a 1-minute one (the guidance's own figure
// for converting a 1-minute "sustained" wind at sea, in place of the older
// 0.88), 1.03/1.07 = 0.96 of a 2-minute one and 1.03/1.06 = 0.97 of a
// 3-minute one.
struct WindAveragingFactors {
    double tenFromOneMinute = 0.93;
    double tenFromTwoMinute = 0.96;
    double tenFromThreeMinute = 0.97;

    // The factor of a period; 1 for 10 minutes and AsGiven.
    double tenFrom(WindAveraging averaging) const;
};

// A wind of one averaging period as a wind of another, to the nearest knot
// (halves up). Unchanged when either side is AsGiven, the periods are equal,
// the wind is 0 or below (no wind given) or a factor is not a positive
// number.
int32_t convertWind(int32_t windKt, WindAveraging from, WindAveraging to,
                    const WindAveragingFactors& factors = {});

// The averaging of an agency's winds, by the name a track's agency field or
// an IBTrACS column prefix gives (ASCII case ignored): 1 minute for ATCF,
// HURDAT2, JTWC and USA, 2 for CMA, 3 for NEWDELHI (IMD), 10 for JMA
// (TOKYO), HKO, REUNION, BOM, NADI and WELLINGTON; AsGiven for any other
// (IBTrACS's combined winds and the historical data sets, whose averaging
// varies).
WindAveraging nativeAveraging(std::string_view agency);

// The choice's name: "1min", "2min", "3min", "10min", "as-given"; and back
// (nullopt for another text).
std::string_view windAveragingName(WindAveraging averaging);
std::optional<WindAveraging> windAveragingNamed(std::string_view name);

}  // namespace tcmap
