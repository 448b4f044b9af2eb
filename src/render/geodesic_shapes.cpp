#include "render/geodesic_shapes.h"

#include <algorithm>
#include <cmath>

#include "render/forecast_geometry.h"

namespace tcmap {

namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;

}  // namespace

GeoPoint destinationPoint(double lat, double lon, double bearingDeg, double distanceNm) {
    const double phi = lat * kDegree;
    const double theta = bearingDeg * kDegree;
    const double delta = distanceNm / kNmPerRadian;
    // Rounding can push the sine a hair past ±1 near the poles.
    const double sinPhi2 = std::clamp(
        std::sin(phi) * std::cos(delta) + std::cos(phi) * std::sin(delta) * std::cos(theta), -1.0,
        1.0);
    const double phi2 = std::asin(sinPhi2);
    const double dLambda = std::atan2(std::sin(theta) * std::sin(delta) * std::cos(phi),
                                      std::cos(delta) - std::sin(phi) * sinPhi2);
    return {phi2 / kDegree, lon + dLambda / kDegree};
}

double greatCircleNm(GeoPoint from, GeoPoint to) {
    const double phi1 = from.lat * kDegree;
    const double phi2 = to.lat * kDegree;
    const double sinHalfLat = std::sin((phi2 - phi1) / 2.0);
    const double sinHalfLon = std::sin((to.lon - from.lon) * kDegree / 2.0);
    const double a = std::clamp(
        sinHalfLat * sinHalfLat + std::cos(phi1) * std::cos(phi2) * sinHalfLon * sinHalfLon, 0.0,
        1.0);
    return 2.0 * std::atan2(std::sqrt(a), std::sqrt(1.0 - a)) * kNmPerRadian;
}

double unwrappedNear(double lon, double reference) {
    return lon - 360.0 * std::round((lon - reference) / 360.0);
}

double poleClampedRadius(double lat, double radiusNm) {
    const double toNearerPoleNm = (90.0 - std::fabs(lat)) * 60.0;
    return std::clamp(radiusNm, 0.0, std::max(0.0, toNearerPoleNm - 1.0));
}

void appendArc(std::vector<GeoPoint>& points, GeoPoint center, double radiusNm, double fromBearing,
               double toBearing, int segments) {
    const double radius = poleClampedRadius(center.lat, radiusNm);
    if (radius <= 0.0) {
        points.push_back(center);
        return;
    }
    for (int i = 0; i <= segments; ++i) {
        const double bearing = fromBearing + (toBearing - fromBearing) * i / segments;
        points.push_back(destinationPoint(center.lat, center.lon, bearing, radius));
    }
}

std::vector<GeoPoint> circlePoints(GeoPoint center, double radiusNm, int vertices) {
    std::vector<GeoPoint> points;
    // The arc's last point would repeat its first: leave it out.
    appendArc(points, center, radiusNm, 0.0, 360.0, vertices);
    if (points.size() > 1) points.pop_back();
    return points;
}

std::vector<GeoPoint> quadrantPoints(GeoPoint center, double radiusNm, int quadrant, int segments) {
    std::vector<GeoPoint> points{center};
    if (poleClampedRadius(center.lat, radiusNm) <= 0.0) return points;
    appendArc(points, center, radiusNm, 90.0 * quadrant, 90.0 * (quadrant + 1), segments);
    return points;
}

}  // namespace tcmap
