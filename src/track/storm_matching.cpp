#include "track/storm_matching.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <optional>
#include <string_view>

#include "track/track_model.h"

namespace tcmap {

namespace {

constexpr double kEarthRadiusKm = 6371.0;

// One time of a track: its first fix at that time.
struct TimedFix {
    int64_t time = 0;  // YYYYMMDDHHMM as a number, so it orders like the text
    bool synoptic = false;
    double latitude = 0;
    double longitude = 0;
    int32_t wind = 0;
    int32_t pressure = 0;
};

std::optional<int64_t> timeNumber(std::string_view time) {
    if (time.size() != 12) return std::nullopt;
    int64_t value = 0;
    for (const char c : time) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string timeText(int64_t time) {
    std::string text = std::to_string(time);
    if (text.size() < 12) text.insert(0, 12 - text.size(), '0');
    return text;
}

std::vector<TimedFix> timedFixes(const Track& track, const StormMatchSettings& settings) {
    std::vector<TimedFix> fixes;
    if (track.kind != TrackFileKind::BestTrackFile) return fixes;
    const WindAveraging given = nativeAveraging(track.agency);
    for (const Fix& fix : track.fixes) {
        const auto time = timeNumber(fix.time);
        if (!time || fix.forecastHour != 0 || !fix.hasLatitude() || !fix.hasLongitude()) continue;
        if (!std::isfinite(fix.latitude) || !std::isfinite(fix.longitude)) continue;
        TimedFix timed;
        timed.time = *time;
        timed.synoptic = isSynopticTime(fix.time);
        timed.latitude = fix.latitude;
        timed.longitude = fix.longitude;
        timed.wind = fix.hasWind()
                         ? convertWind(fix.wind, given, settings.compareWindsAs, settings.factors)
                         : 0;
        timed.pressure = fix.hasPressure() ? fix.pressure : 0;
        fixes.push_back(timed);
    }
    // The first fix of each time; a file out of time order is put in order.
    std::stable_sort(fixes.begin(), fixes.end(),
                     [](const TimedFix& a, const TimedFix& b) { return a.time < b.time; });
    fixes.erase(std::unique(fixes.begin(), fixes.end(),
                            [](const TimedFix& a, const TimedFix& b) { return a.time == b.time; }),
                fixes.end());
    return fixes;
}

double distanceKm(const TimedFix& a, const TimedFix& b) {
    return greatCircleKm(a.latitude, a.longitude, b.latitude, b.longitude);
}

// Calls `visit(a, b)` for each time both give, in time order.
template <typename Visit>
void forCommonTimes(const std::vector<TimedFix>& a, const std::vector<TimedFix>& b, Visit visit) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].time < b[j].time) {
            ++i;
        } else if (b[j].time < a[i].time) {
            ++j;
        } else {
            visit(a[i], b[j]);
            ++i;
            ++j;
        }
    }
}

bool matches(const std::vector<TimedFix>& a, const std::vector<TimedFix>& b,
             const StormMatchSettings& settings) {
    int32_t common = 0;
    int32_t close = 0;
    forCommonTimes(a, b, [&](const TimedFix& x, const TimedFix& y) {
        if (!x.synoptic) return;
        ++common;
        if (distanceKm(x, y) <= settings.closeKm) ++close;
    });
    return common > 0 && close >= std::max(settings.minimumCloseTimes, 1) && 2 * close >= common;
}

void keepLarger(LargestDifference& largest, double value, int64_t time, size_t first, size_t second,
                int64_t& largestTime) {
    if (largest.found &&
        (value < largest.value || (value == largest.value && time >= largestTime))) {
        return;
    }
    largest.found = true;
    largest.value = value;
    largestTime = time;
    largest.first = first;
    largest.second = second;
}

size_t findRoot(std::vector<size_t>& parent, size_t i) {
    while (parent[i] != i) {
        parent[i] = parent[parent[i]];
        i = parent[i];
    }
    return i;
}

}  // namespace

double greatCircleKm(double latitude1, double longitude1, double latitude2, double longitude2) {
    constexpr double kRadians = std::numbers::pi / 180;
    const double phi1 = latitude1 * kRadians;
    const double phi2 = latitude2 * kRadians;
    const double dPhi = phi2 - phi1;
    const double dLambda = (longitude2 - longitude1) * kRadians;
    const double h = std::sin(dPhi / 2) * std::sin(dPhi / 2) + std::cos(phi1) * std::cos(phi2) *
                                                                   std::sin(dLambda / 2) *
                                                                   std::sin(dLambda / 2);
    return 2 * kEarthRadiusKm * std::asin(std::sqrt(std::clamp(h, 0.0, 1.0)));
}

bool sameStorm(const Track& a, const Track& b, const StormMatchSettings& settings) {
    return matches(timedFixes(a, settings), timedFixes(b, settings), settings);
}

std::vector<StormGroup> groupStorms(std::span<const Track* const> tracks,
                                    const StormMatchSettings& settings) {
    std::vector<std::vector<TimedFix>> fixes;
    fixes.reserve(tracks.size());
    for (const Track* track : tracks) {
        fixes.push_back(track ? timedFixes(*track, settings) : std::vector<TimedFix>{});
    }

    // Only tracks whose times overlap can match: sweep them in order of
    // their first time, so a whole archive is not compared pair by pair.
    std::vector<size_t> order;
    for (size_t i = 0; i < fixes.size(); ++i) {
        if (!fixes[i].empty()) order.push_back(i);
    }
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return fixes[a].front().time < fixes[b].front().time ||
               (fixes[a].front().time == fixes[b].front().time && a < b);
    });
    std::vector<size_t> parent(tracks.size());
    std::iota(parent.begin(), parent.end(), size_t{0});
    for (size_t k = 0; k < order.size(); ++k) {
        const size_t a = order[k];
        for (size_t m = k + 1; m < order.size(); ++m) {
            const size_t b = order[m];
            if (fixes[b].front().time > fixes[a].back().time) break;
            if (matches(fixes[a], fixes[b], settings)) {
                parent[findRoot(parent, a)] = findRoot(parent, b);
            }
        }
    }

    std::vector<StormGroup> groups;
    std::vector<size_t> groupOfRoot(tracks.size(), tracks.size());
    for (size_t i = 0; i < tracks.size(); ++i) {
        const size_t root = findRoot(parent, i);
        if (groupOfRoot[root] == tracks.size()) {
            groupOfRoot[root] = groups.size();
            groups.emplace_back();
        }
        groups[groupOfRoot[root]].tracks.push_back(i);
    }

    for (StormGroup& group : groups) {
        int64_t positionTime = 0, windTime = 0, pressureTime = 0;
        for (size_t x = 0; x < group.tracks.size(); ++x) {
            for (size_t y = x + 1; y < group.tracks.size(); ++y) {
                const size_t first = group.tracks[x];
                const size_t second = group.tracks[y];
                forCommonTimes(
                    fixes[first], fixes[second], [&](const TimedFix& a, const TimedFix& b) {
                        keepLarger(group.positionKm, distanceKm(a, b), a.time, first, second,
                                   positionTime);
                        if (a.wind > 0 && b.wind > 0) {
                            keepLarger(group.windKt, std::abs(static_cast<double>(a.wind) - b.wind),
                                       a.time, first, second, windTime);
                        }
                        if (a.pressure > 0 && b.pressure > 0) {
                            keepLarger(group.pressureHpa,
                                       std::abs(static_cast<double>(a.pressure) - b.pressure),
                                       a.time, first, second, pressureTime);
                        }
                    });
            }
        }
        if (group.positionKm.found) group.positionKm.time = timeText(positionTime);
        if (group.windKt.found) group.windKt.time = timeText(windTime);
        if (group.pressureHpa.found) group.pressureHpa.time = timeText(pressureTime);
    }
    return groups;
}

}  // namespace tcmap
