// Values no storm can have: a position off the globe, a wind no cyclone ever
// reached, a pressure outside any ever measured at sea level, or a number
// that is no number at all. A fix with one of them is skipped (and counted),
// never drawn or counted in the statistics. A wind or pressure of 0 means
// "not given" in ATCF files (forecast records often carry both) and stays
// allowed, as do the negative placeholders of the archives.
#pragma once

#include <cstdint>
#include <string>

namespace tcmap {

inline constexpr double kMaxLatitude = 90;
inline constexpr double kMaxLongitude = 360;
inline constexpr int32_t kMaxWindKt = 300;
inline constexpr int32_t kMinPressureHpa = 800;
inline constexpr int32_t kMaxPressureHpa = 1100;

// Why the values cannot be a fix ("latitude 999.9"), or empty when they can.
std::string impossibleFixReason(double latitude, double longitude, int32_t wind, int32_t pressure);

// The fixes of one file that were skipped: how many, and the first of them.
struct SkippedFixes {
    int64_t count = 0;
    int64_t firstLine = 0;
    std::string firstReason;

    void add(int64_t line, const std::string& reason) {
        if (count++ == 0) {
            firstLine = line;
            firstReason = reason;
        }
    }
};

}  // namespace tcmap
