// Just enough ATCF reading to feed the forecast geometry real storms in tests
// and benchmarks: best-track fixes with their 34/50/64-kt quadrant radii, and
// one aid's forecast of one cycle. Header-only so the benchmarks can use it
// without the test libraries.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "render/forecast_geometry.h"

namespace tcmap::testing {

namespace atcf_detail {

inline std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

inline std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (start <= line.size()) {
        const size_t comma = line.find(',', start);
        const size_t end = comma == std::string_view::npos ? line.size() : comma;
        fields.push_back(trimmed(line.substr(start, end - start)));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return fields;
}

inline int number(std::string_view text) {
    int value = 0;
    bool negative = false;
    for (const char c : text) {
        if (c == '-') negative = true;
        if (c >= '0' && c <= '9') value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

// "166N" -> 16.6, "769W" -> -76.9.
inline double coordinate(std::string_view text) {
    if (text.empty()) return 0.0;
    const double value = number(text.substr(0, text.size() - 1)) / 10.0;
    const char hemisphere = text.back();
    return hemisphere == 'S' || hemisphere == 'W' ? -value : value;
}

// Hours since 1970 of a YYYYMMDDHH time.
inline double hoursOf(std::string_view time) {
    if (time.size() < 10) return 0.0;
    using namespace std::chrono;
    const year_month_day day{year{number(time.substr(0, 4))},
                             month{static_cast<unsigned>(number(time.substr(4, 2)))},
                             std::chrono::day{static_cast<unsigned>(number(time.substr(6, 2)))}};
    return sys_days{day}.time_since_epoch().count() * 24.0 + number(time.substr(8, 2));
}

template <typename Each>
void forEachRecord(std::string_view text, Each each) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const auto fields = fieldsOf(text.substr(start, end - start));
        if (fields.size() >= 8) each(fields);
        start = end + 1;
    }
}

}  // namespace atcf_detail

// One fix per time of a b-deck; its rows for 34, 50 and 64 kt (NEQ quadrants,
// or AAA: one radius all round) fill the fix's radii.
inline std::vector<SwathFix> bestTrackSwathFixes(std::string_view bdeck) {
    using namespace atcf_detail;
    std::vector<SwathFix> fixes;
    std::string lastTime;
    forEachRecord(bdeck, [&](const std::vector<std::string_view>& f) {
        if (f[2] != lastTime) {
            lastTime = std::string(f[2]);
            fixes.push_back({hoursOf(f[2]), coordinate(f[6]), coordinate(f[7]), {}});
        }
        if (f.size() < 17) return;
        const int threshold = number(f[11]);
        const int index = threshold == 34 ? 0 : threshold == 50 ? 1 : threshold == 64 ? 2 : -1;
        if (index < 0) return;
        auto& radii = fixes.back().radiiNm[static_cast<size_t>(index)];
        for (size_t q = 0; q < 4; ++q) {
            radii[q] = f[12] == "AAA" ? number(f[13]) : number(f[13 + q]);
        }
    });
    return fixes;
}

// The forecast of `aid` in `cycle` (YYYYMMDDHH; empty: the file's last cycle
// of that aid), one point per record (forecast hours repeat for each wind
// threshold, as in real a-decks).
inline std::vector<ForecastPoint> aidForecast(std::string_view adeck, std::string_view aid,
                                              std::string_view cycle = {}) {
    using namespace atcf_detail;
    std::string chosen(cycle);
    if (chosen.empty()) {
        forEachRecord(adeck, [&](const std::vector<std::string_view>& f) {
            if (f[4] == aid && f[2] > chosen) chosen = std::string(f[2]);
        });
    }
    std::vector<ForecastPoint> points;
    forEachRecord(adeck, [&](const std::vector<std::string_view>& f) {
        if (f[4] == aid && f[2] == chosen) {
            points.push_back({number(f[5]), coordinate(f[6]), coordinate(f[7])});
        }
    });
    return points;
}

}  // namespace tcmap::testing
