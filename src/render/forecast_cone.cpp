// The cone of uncertainty (forecastCone in forecast_geometry.h).
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "render/forecast_geometry.h"
#include "render/geodesic_shapes.h"
#include "render/geos_context.h"

namespace tcmap {

namespace {

// Far beyond any published error circle, short of absurd.
constexpr double kLargestConeRadiusNm = 3000.0;
// Hourly steps over ten days; a longer "forecast" is bad data.
constexpr int kMostSteps = 240 * 60;

std::string checkRadii(std::span<const ConeRadius> radii) {
    if (radii.empty()) return "no cone radii";
    for (size_t i = 0; i < radii.size(); ++i) {
        const auto& radius = radii[i];
        if (!std::isfinite(radius.nm) || radius.nm < 0.0 || radius.nm > kLargestConeRadiusNm) {
            return "cone radius at " + std::to_string(radius.hour) + " h is not 0 to 3000 nm";
        }
        if (radius.hour < 0 || (i > 0 && radius.hour <= radii[i - 1].hour)) {
            return "cone radii must have ascending hours from 0";
        }
    }
    return {};
}

std::string checkForecast(std::span<const ForecastPoint> forecast) {
    if (forecast.empty()) return "no forecast positions";
    for (const auto& point : forecast) {
        const std::string where = "forecast position at " + std::to_string(point.hour) + " h";
        if (!std::isfinite(point.lat) || !std::isfinite(point.lon)) return where + " is not finite";
        if (std::fabs(point.lat) > 90.0) return where + " has a latitude beyond 90 degrees";
        if (point.hour < 0) return where + " has a negative forecast hour";
    }
    return {};
}

// Sorted by hour, one point per hour (the first given), longitudes unwrapped.
std::vector<ForecastPoint> trackOf(std::span<const ForecastPoint> forecast) {
    std::vector<ForecastPoint> track(forecast.begin(), forecast.end());
    std::stable_sort(track.begin(), track.end(),
                     [](const auto& a, const auto& b) { return a.hour < b.hour; });
    track.erase(std::unique(track.begin(), track.end(),
                            [](const auto& a, const auto& b) { return a.hour == b.hour; }),
                track.end());
    for (size_t i = 1; i < track.size(); ++i) {
        track[i].lon = unwrappedNear(track[i].lon, track[i - 1].lon);
    }
    return track;
}

// The error radius at `hour`, linear between the table's hours from radius 0
// at hour 0; none beyond the table.
std::optional<double> radiusAt(std::span<const ConeRadius> radii, int hour) {
    if (hour > radii.back().hour) return std::nullopt;
    double lastHour = 0.0;
    double lastNm = 0.0;
    for (const auto& radius : radii) {
        if (hour <= radius.hour) {
            if (radius.hour == lastHour) return radius.nm;
            const double t = (hour - lastHour) / (radius.hour - lastHour);
            return lastNm + t * (radius.nm - lastNm);
        }
        lastHour = radius.hour;
        lastNm = radius.nm;
    }
    return std::nullopt;
}

GeoPoint positionAt(const std::vector<ForecastPoint>& track, int hour) {
    size_t i = 0;
    while (i + 1 < track.size() && track[i + 1].hour < hour) ++i;
    if (i + 1 == track.size() || track[i].hour >= hour) return {track[i].lat, track[i].lon};
    const auto& a = track[i];
    const auto& b = track[i + 1];
    const double t = static_cast<double>(hour - a.hour) / (b.hour - a.hour);
    return {a.lat + t * (b.lat - a.lat), a.lon + t * (b.lon - a.lon)};
}

struct Disc {
    int hour = 0;
    std::vector<GeoPoint> points;  // the circle, or only the centre at radius 0
};

// The circles every stepHours from the first forecast hour to the last one
// the radii table covers, that last hour and the split hour always included
// (so no hull straddles the two shades).
std::vector<Disc> discsOf(const std::vector<ForecastPoint>& track,
                          std::span<const ConeRadius> radii, const ConeOptions& options) {
    std::vector<int> hours;
    const int first = track.front().hour;
    const int last = std::min(track.back().hour, radii.back().hour);
    const auto append = [&](int hour) {
        if (!hours.empty() && hours.back() < options.splitHour && hour > options.splitHour) {
            hours.push_back(options.splitHour);
        }
        hours.push_back(hour);
    };
    for (int hour = first; hour < last; hour += options.stepHours) append(hour);
    if (first <= last) append(last);
    std::vector<Disc> discs;
    for (const int hour : hours) {
        discs.push_back({hour, circlePoints(positionAt(track, hour), *radiusAt(radii, hour),
                                            options.circleVertices)});
    }
    return discs;
}

}  // namespace

ConeGeometry forecastCone(std::span<const ForecastPoint> forecast,
                          std::span<const ConeRadius> radii, const ConeOptions& options) {
    ConeGeometry result;
    if (options.circleVertices < 8 || options.stepHours < 1) {
        result.error = "cone options: at least 8 vertices a circle and a step of 1 h";
        return result;
    }
    result.error = checkForecast(forecast);
    if (result.error.empty()) result.error = checkRadii(radii);
    if (!result.error.empty()) return result;

    const std::vector<ForecastPoint> track = trackOf(forecast);
    if ((track.back().hour - track.front().hour) / options.stepHours > kMostSteps) {
        result.error = "forecast of " + std::to_string(track.back().hour) + " h is too long";
        return result;
    }
    const std::vector<Disc> discs = discsOf(track, radii, options);

    GeosContext geos;
    std::vector<GeosContext::Geometry> early;
    std::vector<GeosContext::Geometry> late;
    const auto add = [&](GeosContext::Geometry part, int toHour) {
        // A hull of points on a line (radius 0) has no area and no part.
        if (part) (toHour <= options.splitHour ? early : late).push_back(std::move(part));
    };
    if (discs.size() == 1) add(geos.hull(discs[0].points), discs[0].hour);
    std::vector<GeoPoint> pair;
    for (size_t i = 0; i + 1 < discs.size(); ++i) {
        pair = discs[i].points;
        pair.insert(pair.end(), discs[i + 1].points.begin(), discs[i + 1].points.end());
        add(geos.hull(pair), discs[i + 1].hour);
    }

    const GeosContext::Geometry firstDays = geos.unionOf(std::move(early));
    const GeosContext::Geometry lastDays = geos.unionOf(std::move(late));
    GeosContext::Geometry rest;
    if (firstDays && lastDays) rest = geos.difference(*lastDays, *firstDays);
    if (!rest || !geos.error().empty()) {
        result.error = "cone union failed: " + geos.error();
        return result;
    }
    result.days1to3 = geos.shapeOf(firstDays.get());
    result.days4to5 = geos.shapeOf(rest.get());
    return result;
}

}  // namespace tcmap
