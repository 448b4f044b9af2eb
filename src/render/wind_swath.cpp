// The swath of 34, 50 and 64-kt winds (windSwath in forecast_geometry.h).
#include <algorithm>
#include <cmath>
#include <vector>

#include "render/forecast_geometry.h"
#include "render/geodesic_shapes.h"
#include "render/geos_context.h"

namespace tcmap {

namespace {

// Wider than any tropical cyclone's gale radius, short of absurd.
constexpr double kLargestWindRadiusNm = 3000.0;
// Steps between two fixes, whatever their distance.
constexpr int kMostStepsBetweenFixes = 1000;

using Radii = std::array<std::array<double, 4>, 3>;

struct WindState {
    GeoPoint center;
    Radii radii{};
};

std::string checkFixes(std::span<const SwathFix> fixes) {
    for (size_t i = 0; i < fixes.size(); ++i) {
        const auto& fix = fixes[i];
        const std::string where = "fix " + std::to_string(i + 1);
        if (!std::isfinite(fix.hour) || !std::isfinite(fix.lat) || !std::isfinite(fix.lon)) {
            return where + " has a time or position that is not finite";
        }
        if (std::fabs(fix.lat) > 90.0) return where + " has a latitude beyond 90 degrees";
        for (const auto& threshold : fix.radiiNm) {
            for (const double radius : threshold) {
                if (!std::isfinite(radius) || radius < 0.0 || radius > kLargestWindRadiusNm) {
                    return where + " has a wind radius that is not 0 to 3000 nm";
                }
            }
        }
    }
    return {};
}

std::string checkOptions(const SwathOptions& options) {
    if (options.circleVertices < 8 || !(options.maxStepHours > 0.0) || !(options.maxStepNm > 0.0) ||
        !(options.maxGapHours >= 0.0)) {
        return "swath options: at least 8 vertices a circle, steps above 0, a gap of 0 or more";
    }
    return {};
}

WindState interpolated(const WindState& a, const WindState& b, double t) {
    WindState state;
    state.center = {a.center.lat + t * (b.center.lat - a.center.lat),
                    a.center.lon + t * (b.center.lon - a.center.lon)};
    for (size_t k = 0; k < 3; ++k) {
        for (size_t q = 0; q < 4; ++q) {
            state.radii[k][q] = a.radii[k][q] + t * (b.radii[k][q] - a.radii[k][q]);
        }
    }
    return state;
}

class SwathBuilder {
  public:
    explicit SwathBuilder(const SwathOptions& options)
        : segments_(std::max(2, options.circleVertices / 4)) {}

    // The slices of `state`, each joined by its hull with the same slice of
    // `next` when there is one.
    void add(const WindState& state, const WindState* next) {
        for (size_t k = 0; k < 3; ++k) {
            for (size_t q = 0; q < 4; ++q) {
                const double radius = state.radii[k][q];
                const double nextRadius = next ? next->radii[k][q] : 0.0;
                if (radius <= 0.0 && nextRadius <= 0.0) continue;
                points_ = quadrantPoints(state.center, radius, static_cast<int>(q), segments_);
                if (next) {
                    const auto more =
                        quadrantPoints(next->center, nextRadius, static_cast<int>(q), segments_);
                    points_.insert(points_.end(), more.begin(), more.end());
                }
                if (auto hull = geos_.hull(points_)) parts_[k].push_back(std::move(hull));
            }
        }
    }

    std::string finish(SwathGeometry& result) {
        for (size_t k = 0; k < 3; ++k) {
            const auto area = geos_.unionOf(std::move(parts_[k]));
            if (!area || !geos_.error().empty()) return "swath union failed: " + geos_.error();
            result.areas[k] = geos_.shapeOf(area.get());
        }
        return {};
    }

  private:
    int segments_;
    GeosContext geos_;
    std::array<std::vector<GeosContext::Geometry>, 3> parts_;
    std::vector<GeoPoint> points_;
};

}  // namespace

SwathGeometry windSwath(std::span<const SwathFix> fixes, const SwathOptions& options) {
    SwathGeometry result;
    result.error = checkOptions(options);
    if (result.error.empty()) result.error = checkFixes(fixes);
    if (!result.error.empty() || fixes.empty()) return result;

    std::vector<SwathFix> track(fixes.begin(), fixes.end());
    std::stable_sort(track.begin(), track.end(),
                     [](const auto& a, const auto& b) { return a.hour < b.hour; });
    std::vector<WindState> states;
    for (const auto& fix : track) {
        const double lon =
            states.empty() ? fix.lon : unwrappedNear(fix.lon, states.back().center.lon);
        states.push_back({{fix.lat, lon}, fix.radiiNm});
    }

    SwathBuilder builder(options);
    const auto joined = [&](size_t i) {
        return i + 1 < track.size() && track[i + 1].hour - track[i].hour <= options.maxGapHours;
    };
    for (size_t i = 0; i < states.size(); ++i) {
        if (!joined(i)) {
            // A fix alone (the only one, or after a long gap) has its slices only.
            if (i == 0 || !joined(i - 1)) builder.add(states[i], nullptr);
            continue;
        }
        const WindState& a = states[i];
        const WindState& b = states[i + 1];
        const double hours = track[i + 1].hour - track[i].hour;
        const double steps =
            std::clamp(std::ceil(std::max(hours / options.maxStepHours,
                                          greatCircleNm(a.center, b.center) / options.maxStepNm)),
                       1.0, static_cast<double>(kMostStepsBetweenFixes));
        WindState from = a;
        for (int step = 1; step <= static_cast<int>(steps); ++step) {
            const WindState to =
                step == static_cast<int>(steps) ? b : interpolated(a, b, step / steps);
            builder.add(from, &to);
            from = to;
        }
    }
    result.error = builder.finish(result);
    return result;
}

}  // namespace tcmap
