#include "app/forecast_gis_layers.h"

#include <array>

namespace tcmap {

namespace {

constexpr std::array<int32_t, 3> kSwathThresholds = {34, 50, 64};

// The cone as the map shows it: a light area, the later days fainter.
constexpr ScaleColour kConeNear{255, 255, 255};
constexpr ScaleColour kConeFar{200, 200, 200};

GisFeature coneFeature(const GeoShape& shape, const char* days, ScaleColour colour) {
    GisFeature feature;
    feature.polygons = shape;
    feature.values = {std::string(days)};
    feature.colour = colour;
    feature.label = std::string("days ") + days;
    return feature;
}

}  // namespace

std::vector<GisLayer> forecastGisLayers(const ForecastScene& areas, const GisStyle& style) {
    std::vector<GisLayer> layers;
    if (!areas.coneDays1to3.empty() || !areas.coneDays4to5.empty()) {
        GisLayer& cone = layers.emplace_back();
        cone.name = "cone";
        cone.geometry = GisGeometry::Polygon;
        cone.fields = {{"days", GisFieldType::Text}};
        if (!areas.coneDays1to3.empty()) {
            cone.features.push_back(coneFeature(areas.coneDays1to3, "1-3", kConeNear));
        }
        if (!areas.coneDays4to5.empty()) {
            cone.features.push_back(coneFeature(areas.coneDays4to5, "4-5", kConeFar));
        }
    }
    const IntensityScale& scale = style.scale != nullptr ? *style.scale : saffirSimpsonScale();
    GisLayer swath;
    swath.name = "swath";
    swath.geometry = GisGeometry::Polygon;
    swath.fields = {{"wind_kt", GisFieldType::Integer}};
    for (size_t i = 0; i < kSwathThresholds.size(); ++i) {
        if (areas.swath[i].empty()) continue;
        const int32_t threshold = kSwathThresholds[i];
        GisFeature& feature = swath.features.emplace_back();
        feature.polygons = areas.swath[i];
        feature.values = {int64_t{threshold}};
        feature.colour = scale.colourOf(threshold, {}, style.palette);
        feature.label = std::to_string(threshold) + " kt";
    }
    if (!swath.features.empty()) layers.push_back(std::move(swath));
    return layers;
}

}  // namespace tcmap
