#include "app/save_gis_map.h"

#include "app/gis_writer.h"
#include "render/draw.h"

namespace tcmap {

std::string saveGisMap(const DrawResult& result, const std::string& path,
                       std::vector<GisLayer> extraLayers, std::vector<std::string>* notes) {
    if (result.tracks.empty()) return "no storm was drawn";
    GisLayerSet set = gisLayersOf(result.tracks, {}, std::move(extraLayers));
    if (notes != nullptr) notes->insert(notes->end(), set.notes.begin(), set.notes.end());
    if (!set.error.empty()) return set.error;
    const GisFormat format = gisFormatOf(path);
    // GeoJSON holds one collection: every layer goes in, each feature named
    // by its layer.
    if (format == GisFormat::GeoJson) set.layers = {mergedLayer(std::move(set.layers), "tcmap")};
    return writeGisFile(set.layers, path, format);
}

}  // namespace tcmap
