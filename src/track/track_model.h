// The classification of fixes and the run-wide storm statistics shared by the
// track readers, the draw job and the info line.
#pragma once

#include <cstdint>
#include <string_view>

namespace tcmap {

enum class SystemClass : int32_t { Tropical = 0, NonTropical = 1, Subtropical = 2 };

enum class TrackFileKind : int32_t { OtherFile = 0, BestTrackFile = 1, ForecastFile = 2 };

// Peak wind (kt), lowest pressure (hPa) and accumulated cyclone energy
// (10^4 kt^2) of one draw job; 0 means "none yet" for wind and pressure.
struct StormStatistics {
    int32_t peakWind = 0;
    int32_t lowestPressure = 0;
    double ace = 0.0;

    void reset() { *this = StormStatistics{}; }
};

// `tcvRule` is true when the TCV render style is active.
SystemClass systemClass(std::string_view typeCode, int32_t maxWind = 0, bool tcvRule = false);
bool isTropicalPart(int32_t maxWind, std::string_view typeCode, bool tcvRule);
// True when the last four characters of a time are 0000, 0600, 1200 or 1800.
bool isSynopticTime(std::string_view time);

}  // namespace tcmap
