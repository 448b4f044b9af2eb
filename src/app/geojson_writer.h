// A GeoJSON of many features written by several GDAL writers at once, each
// into memory, and their collections joined into one file: GDAL spends a
// season's writing time formatting numbers, one feature after another.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "app/gis_layers.h"

namespace tcmap {

// Writes every layer as one GeoJSON collection into the new file `path` with
// `threads` writers; the file is the same for any number. "" on success, else
// why not. GDAL and its drivers must be loaded.
std::string writeGeoJsonFile(const std::string& path, const std::vector<GisLayer>& layers,
                             size_t threads);

}  // namespace tcmap
