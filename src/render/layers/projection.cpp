#include "render/layers/projection.h"

#include <cmath>

#include "base/text_rules.h"

namespace tcmap {

namespace {

constexpr double kEarthCircumferenceKm = 40032.642882722655;
constexpr double kKmPerNauticalMile = 1.852;
constexpr double kKmPerTwoNauticalMiles = 3.704;
constexpr double kPi = 3.1415926535;

}  // namespace

MapPoint Projection::fix(double latitude, double longitude, double previousX) const {
    MapPoint p;
    p.y = fixY(latitude);
    p.x =
        std::fabs(longitude) > kEpsilon ? fixX(longitude, longitude < 0) : zeroMeridianX(previousX);
    return p;
}

double Projection::radiiX(double longitude) const {
    const double w = width_;
    return longitude > kEpsilon ? longitude * w / 360 : (longitude + 360) * w / 360;
}

double Projection::radiiCosine(double latitude) {
    return std::cos(static_cast<double>(toSingle(std::fabs(latitude))) * kPi / 180);
}

double Projection::nauticalMilesX(double miles, double cosine) const {
    const double w = width_;
    return miles / (cosine * kEarthCircumferenceKm) * kKmPerNauticalMile * w;
}

double Projection::nauticalMilesY(double miles) const {
    const double w = width_;
    return miles / kEarthCircumferenceKm * kKmPerTwoNauticalMiles * w / 2;
}

}  // namespace tcmap
