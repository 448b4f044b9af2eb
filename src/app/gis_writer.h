// GIS layers written to a file through GDAL/OGR. The file is made under a
// temporary name in the destination's folder and takes its name in one
// rename, so the destination holds the old file or the whole new one.
#pragma once

#include <string>
#include <vector>

#include "app/gis_format.h"
#include "app/gis_layers.h"

namespace tcmap {

// Writes `layers` to `path`; "" on success, else why not, in one line.
std::string writeGisFile(const std::vector<GisLayer>& layers, const std::string& path,
                         GisFormat format);

}  // namespace tcmap
