// The one map projection: where a latitude and longitude fall on the map
// picture, how many pixels a nautical mile spans, and the copies one map
// width to either side that carry everything drawn across the 0° seam.
//
// The map picture is equirectangular with 0° at both edges, 180° in the
// middle and 90°N at the top: W pixels for 360°, H for 180°. The layers grew
// their formulas one by one and a few differ in the order of their operations
// or in the scale they take for the vertical (H / 180 for fixes, W / 360 for
// wind radii and the grid); each is kept here as it was, so every pixel stays
// where it was drawn before, and each says who uses it.
#pragma once

#include <array>
#include <cstdint>

#include "base/text_rules.h"

namespace tcmap {

struct MapPoint {
    double x = 0;
    double y = 0;
};

class Projection {
  public:
    Projection() = default;
    Projection(int32_t mapWidth, int32_t mapHeight) : width_(mapWidth), height_(mapHeight) {}

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    // Half the map width in whole pixels: two fixes at least this far apart
    // (within 1e-7) are joined across the 0° seam.
    int32_t halfWidth() const { return width_ / 2; }

    // Fixes (frame, tracks, markers, labels): y = (90 − lat) × H / 180;
    // x = lon × W / 360, a western longitude counted from 360°.
    double fixY(double latitude) const { return (90 - latitude) * height_ / 180; }
    double fixX(double longitude, bool west) const {
        return west ? (longitude + 360) * width_ / 360 : longitude * width_ / 360;
    }
    // x of a fix on the 0° meridian: the edge on the side of the previous
    // fix (previous x − W / 2 ≥ −1e-7: the right edge, W − 1; else 0).
    double zeroMeridianX(double previousX) const {
        return previousX - width_ * 0.5 >= -kEpsilon ? width_ - 1 : 0;
    }
    // A fix; a longitude within 1e-7 of 0° is on the 0° meridian.
    MapPoint fix(double latitude, double longitude, double previousX) const;

    // Extents of a region in degrees, in pixels: r × H / 180 and r × W / 360.
    double latitudeSpan(double degrees) const { return degrees * height_ / 180; }
    double longitudeSpan(double degrees) const { return degrees * width_ / 360; }

    // Wind-radii centres: the width on both axes (the same scale on a map
    // twice as wide as high), and 0° itself counted from 360° (x = W).
    double radiiX(double longitude) const;
    double radiiY(double latitude) const { return (90 - latitude) * width_ / 360; }
    // The cosine a radius east and west is divided by: of |lat| in single
    // precision.
    static double radiiCosine(double latitude);
    // A radius in nautical miles as the pixels of its ellipse's half axes.
    double nauticalMilesX(double miles, double cosine) const;
    double nauticalMilesY(double miles) const;

    // The grid: degrees times the width of one degree (W / 360) on both axes,
    // a western longitude (its text starts with "-") counted from 360°.
    double degreeWidth() const { return width_ / 360.0; }
    double gridX(double longitude, bool west) const {
        return west ? (longitude + 360) * degreeWidth() : longitude * degreeWidth();
    }
    double gridY(double latitude) const { return (90 - latitude) * degreeWidth(); }

    // The shifts of the three copies of an element: at its x, then one map
    // width to the west, then to the east (tracks, markers, labels).
    std::array<double, 3> copies() const { return {0.0, -double(width_), double(width_)}; }
    // The grid draws its copies main, east, west; the wind radii west, main,
    // east. Only the order differs; it decides which copy lies on top.
    std::array<double, 3> gridCopies() const { return {0.0, double(width_), -double(width_)}; }
    std::array<double, 3> radiiCopies() const { return {-double(width_), 0.0, double(width_)}; }

  private:
    int32_t width_ = 0;
    int32_t height_ = 0;
};

}  // namespace tcmap
