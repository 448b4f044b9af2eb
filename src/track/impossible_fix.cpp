#include "track/impossible_fix.h"

#include <cmath>
#include <cstdio>

namespace tcmap {

namespace {

std::string degrees(const char* what, double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%s %.6g", what, value);
    return text;
}

}  // namespace

std::string impossibleFixReason(double latitude, double longitude, int32_t wind, int32_t pressure) {
    if (!std::isfinite(latitude) || std::fabs(latitude) > kMaxLatitude)
        return degrees("latitude", latitude);
    if (!std::isfinite(longitude) || std::fabs(longitude) > kMaxLongitude)
        return degrees("longitude", longitude);
    if (wind > kMaxWindKt) return "wind " + std::to_string(wind) + " kt";
    // 0 and the archives' negative placeholders (-999) mean "not given".
    if (pressure > 0 && (pressure < kMinPressureHpa || pressure > kMaxPressureHpa))
        return "pressure " + std::to_string(pressure) + " hPa";
    return {};
}

}  // namespace tcmap
