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
    // GeoJSON holds one collection: every layer goes in, each feature named
    // by its layer. Moved, not copied: a season's features are hundreds of
    // thousands of strings, and a copy of them took a tenth of the run.
    if (format == GisFormat::GeoJson) {
        GisLayer merged = mergedLayer(std::move(set.layers), "tcmap");
        set.layers.clear();
        set.layers.push_back(std::move(merged));
    }
    return writeGisFile(set.layers, path, format);
}

}  // namespace tcmap
