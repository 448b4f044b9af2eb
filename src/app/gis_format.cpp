#include "app/gis_format.h"

#include <string_view>

namespace tcmap {

namespace {

bool endsWithNoCase(std::string_view text, std::string_view ending) {
    if (text.size() < ending.size()) return false;
    const std::string_view tail = text.substr(text.size() - ending.size());
    for (size_t i = 0; i < tail.size(); ++i) {
        char c = tail[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != ending[i]) return false;
    }
    return true;
}

}  // namespace

GisFormat gisFormatOf(const std::string& path) {
    // Longer endings first: ".shp.zip" before ".shp".
    if (endsWithNoCase(path, ".shp.zip")) return GisFormat::ShapefileZip;
    if (endsWithNoCase(path, ".geojson")) return GisFormat::GeoJson;
    if (endsWithNoCase(path, ".kml")) return GisFormat::Kml;
    if (endsWithNoCase(path, ".kmz")) return GisFormat::Kmz;
    if (endsWithNoCase(path, ".gpkg")) return GisFormat::GeoPackage;
    if (endsWithNoCase(path, ".shp")) return GisFormat::ShapefileFolder;
    return GisFormat::None;
}

const char* gisDriverName(GisFormat format) {
    switch (format) {
        case GisFormat::GeoJson:
            return "GeoJSON";
        case GisFormat::Kml:
        case GisFormat::Kmz:
            return "LIBKML";
        case GisFormat::GeoPackage:
            return "GPKG";
        case GisFormat::ShapefileFolder:
        case GisFormat::ShapefileZip:
            return "ESRI Shapefile";
        case GisFormat::None:
            break;
    }
    return "";
}

}  // namespace tcmap
