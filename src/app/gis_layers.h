// The storms of a drawing as GIS layers: plain features with attributes and
// geometry in degrees (longitudes within -180 .. 180, lines and polygons cut
// at the antimeridian), ready for any GIS file writer. Nothing here knows a
// file format.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "render/layers/geo_shape.h"
#include "track/intensity_scale.h"
#include "track/track.h"

namespace tcmap {

enum class GisFieldType { Integer, Real, Text };

struct GisFieldDef {
    std::string name;  // at most 10 characters: shapefiles keep no more
    GisFieldType type = GisFieldType::Text;
};

// No value (a null field), or one of the field's type.
using GisValue = std::variant<std::monostate, int64_t, double, std::string>;

using GisLine = std::vector<GeoPoint>;

// Mixed: each feature has the geometry it holds (a file of one layer only).
enum class GisGeometry { Point, Line, Polygon, Mixed };

struct GisFeature {
    std::vector<GisValue> values;  // one per field of the layer, in its order
    // The geometry the layer's kind asks for; an empty one writes a feature
    // without geometry (a storm of a single fix has no line).
    std::optional<GeoPoint> point;
    std::vector<GisLine> lines;
    GeoShape polygons;
    ScaleColour colour;  // the feature's style in formats that keep one
    std::string label;   // its name in formats that show one
};

struct GisLayer {
    std::string name;
    GisGeometry geometry = GisGeometry::Point;
    std::vector<GisFieldDef> fields;
    std::vector<GisFeature> features;
};

struct GisLayerSet {
    std::vector<GisLayer> layers;
    std::vector<std::string> notes;  // what was left out, and why
    std::string error;               // non-empty: nothing is to be written
};

// How the fixes are classed and coloured.
struct GisStyle {
    const IntensityScale* scale = nullptr;  // null: Saffir-Simpson
    size_t palette = 0;
};

// The layers "storms" (a line per storm with statistics), "fixes" (a point
// per fix) and "wind_radii" (a quadrant polygon per radius) of the tracks,
// followed by `extraLayers` (polygon layers the drawing made, such as a cone
// or a swath). Two layers of one name are an error.
GisLayerSet gisLayersOf(const std::vector<Track>& tracks, const GisStyle& style = {},
                        std::vector<GisLayer> extraLayers = {});

// A polyline with any longitudes cut where it crosses ±180° (after each point
// is taken within 180° of the one before), each piece moved into -180 .. 180.
// A line of fewer than two points has no piece.
std::vector<GisLine> splitLineAtAntimeridian(const std::vector<GeoPoint>& points);

// A polygon shape with unwrapped longitudes moved into -180 .. 180, cut at
// ±180° where it crosses it. Empty result and `error` set on a broken shape.
GeoShape wrappedShape(const GeoShape& shape, std::string& error);

// The fields of the layers as one list, for formats that hold a single layer
// (GeoJSON): a first field "layer" names each feature's layer, the other
// fields are those of every layer (a name two layers share is one field, of
// the first layer's type). `places[l][i]` is where field i of layer l goes.
struct MergedFields {
    std::vector<GisFieldDef> fields;
    std::vector<std::vector<size_t>> places;
};
MergedFields mergedFields(const std::vector<GisLayer>& layers);

// How many straight segments a quadrant arc of the radius is drawn with: the
// fewest that keep within half a nautical mile of the circle, 2 to 16.
int quadrantSegments(double radiusNm);

// "2012102918" or "201210221800" as "2012-10-29T18:00Z"; other text as given.
std::string isoTimeOf(const std::string& trackTime);

}  // namespace tcmap
