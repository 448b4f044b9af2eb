// Which GIS file a path asks for, by its name: the storms written as layers
// rather than drawn as a picture.
#pragma once

#include <string>

namespace tcmap {

enum class GisFormat {
    None,
    GeoJson,          // .geojson
    Kml,              // .kml
    Kmz,              // .kmz (zipped KML)
    GeoPackage,       // .gpkg
    ShapefileFolder,  // .shp: a folder holding one shapefile per layer
    ShapefileZip,     // .shp.zip: the same files in one zip
};

// The format of `path` by its ending (ASCII case ignored); None for any other.
GisFormat gisFormatOf(const std::string& path);

inline bool isGisOutput(const std::string& path) {
    return gisFormatOf(path) != GisFormat::None;
}

// The GDAL driver that writes the format.
const char* gisDriverName(GisFormat format);

}  // namespace tcmap
