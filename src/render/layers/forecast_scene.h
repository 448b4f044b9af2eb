// What the forecaster's map adds to a job's fixes: the aids of one cycle
// (the model spaghetti), the cone around the official forecast and the wind
// swath of the best track, all in degrees. The draw job fills it; the
// forecast layers draw it.
#pragma once

#include <array>
#include <vector>

#include "render/layers/geo_shape.h"
#include "track/forecast_deck.h"

namespace tcmap {

struct ForecastScene {
    std::vector<AidTrack> aids;  // drawn in this order, the official aid last
    GeoShape coneDays1to3;
    GeoShape coneDays4to5;
    std::array<GeoShape, 3> swath;  // areas of 34, 50 and 64-kt winds

    bool hasAreas() const {
        return !coneDays1to3.empty() || !coneDays4to5.empty() || !swath[0].empty();
    }
};

}  // namespace tcmap
