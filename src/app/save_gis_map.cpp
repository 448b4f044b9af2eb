#include "app/save_gis_map.h"

#include "app/forecast_gis_layers.h"
#include "app/gis_writer.h"
#include "render/draw.h"

namespace tcmap {

std::string saveGisMap(const DrawResult& result, const std::string& path,
                       std::vector<GisLayer> extraLayers, std::vector<std::string>* notes) {
    return saveGisMap(result.tracks, result.forecastAreas, path, std::move(extraLayers), notes);
}

std::string saveGisMap(const std::vector<Track>& tracks, const ForecastScene& forecastAreas,
                       const std::string& path, std::vector<GisLayer> extraLayers,
                       std::vector<std::string>* notes) {
    if (tracks.empty()) return "no storm was drawn";
    std::vector<GisLayer> layers = forecastGisLayers(forecastAreas);
    for (GisLayer& layer : extraLayers) layers.push_back(std::move(layer));
    GisLayerSet set = gisLayersOf(tracks, {}, std::move(layers));
    if (notes != nullptr) notes->insert(notes->end(), set.notes.begin(), set.notes.end());
    if (!set.error.empty()) return set.error;
    const GisFormat format = gisFormatOf(path);
    return writeGisFile(set.layers, path, format);
}

}  // namespace tcmap
