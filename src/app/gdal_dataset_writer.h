// GIS layers written into one GDAL dataset: each feature with its attributes,
// geometry (GeoJSON's as RFC 7946 asks) and, for KML, its style. Where the
// dataset is and how it takes the destination's place is the caller's.
#pragma once

#include <ogr_api.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/gis_format.h"
#include "app/gis_layers.h"

namespace tcmap {

// The one layer a GeoJSON holds.
inline constexpr const char* kGeoJsonLayerName = "tcmap";

// GDAL reports through a handler of the calling thread: quiet while we
// write, the last message kept for ours.
class QuietGdalErrors {
  public:
    QuietGdalErrors();
    ~QuietGdalErrors();
    QuietGdalErrors(const QuietGdalErrors&) = delete;
    QuietGdalErrors& operator=(const QuietGdalErrors&) = delete;

    static std::string last();  // the latest message, or "GDAL gave no reason"
    static bool failed();       // whether the latest message is an error
};

// What one layer of the file holds: the source layers whose features it
// takes (one, or all of them merged for GeoJSON) and where their fields go.
struct LayerPlan {
    std::string name;
    OGRwkbGeometryType type = wkbUnknown;
    std::vector<GisFieldDef> fields;
    std::vector<const GisLayer*> sources;
    std::vector<std::vector<size_t>> places;  // per source: its fields' indices
    bool nameField = false;                   // field 0 names each feature's layer
    // The run of the sources' features, counted across them all in order.
    size_t begin = 0;
    size_t end = SIZE_MAX;
};

// A layer as it is: its own name, kind, fields and features.
LayerPlan planOf(const GisLayer& layer);

// GeoJSON holds one collection: every layer goes in, each feature named by
// its layer in the field "layer". The features are read where they are,
// never copied: a season is hundreds of thousands of them.
LayerPlan mergedPlan(const std::vector<GisLayer>& layers);

// The points of a feature's geometry: what writing it costs.
size_t pointsOf(const GisFeature& feature);

// Writes the layers of `plans` into a new dataset `name` and closes it; "" on
// success, else why not. GDAL and its drivers must be loaded.
std::string writeDataset(const std::string& name, const std::vector<LayerPlan>& plans,
                         GisFormat format);

}  // namespace tcmap
