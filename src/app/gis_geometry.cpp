// Longitudes into -180 .. 180 for GIS files: lines cut by hand (a segment
// crosses ±180° at most once), polygons through the GEOS cut of the forecast
// geometry only when they do cross it.
#include <cmath>
#include <string_view>

#include "app/gis_layers.h"
#include "render/forecast_geometry.h"
#include "render/geodesic_shapes.h"

namespace tcmap {

namespace {

// Which 360° band a longitude lies in: 0 for -180 .. 180.
double bandOf(double lon) {
    return std::floor((lon + 180.0) / 360.0);
}

void appendSegment(std::vector<GisLine>& pieces, double& pieceBand, GeoPoint from, GeoPoint to) {
    const double band = bandOf((from.lon + to.lon) / 2.0);
    const double shift = -360.0 * band;
    if (pieces.empty() || band != pieceBand) {
        pieces.push_back({{from.lat, from.lon + shift}});
        pieceBand = band;
    }
    pieces.back().push_back({to.lat, to.lon + shift});
}

}  // namespace

std::vector<GisLine> splitLineAtAntimeridian(const std::vector<GeoPoint>& points) {
    std::vector<GisLine> pieces;
    if (points.size() < 2) return pieces;
    double pieceBand = 0.0;
    GeoPoint previous = points.front();
    for (size_t i = 1; i < points.size(); ++i) {
        const GeoPoint next{points[i].lat, unwrappedNear(points[i].lon, previous.lon)};
        // The one edge of a band strictly between the two ends, if any.
        const double edge = 180.0 + 360.0 * bandOf(std::min(previous.lon, next.lon));
        if (std::min(previous.lon, next.lon) < edge && edge < std::max(previous.lon, next.lon)) {
            const double t = (edge - previous.lon) / (next.lon - previous.lon);
            const GeoPoint cut{previous.lat + t * (next.lat - previous.lat), edge};
            appendSegment(pieces, pieceBand, previous, cut);
            appendSegment(pieces, pieceBand, cut, next);
        } else {
            appendSegment(pieces, pieceBand, previous, next);
        }
        previous = next;
    }
    return pieces;
}

GeoShape wrappedShape(const GeoShape& shape, std::string& error) {
    if (shape.empty()) return {};
    const LonRange range = lonRange(shape);
    if (!std::isfinite(range.west) || !std::isfinite(range.east)) {
        error = "a polygon has a longitude that is not a number";
        return {};
    }
    const double band = bandOf(range.west);
    if (range.east <= 180.0 + 360.0 * band) return shiftedLongitudes(shape, -360.0 * band);
    SplitShape split = splitAtAntimeridian(shape);
    if (!split.ok()) {
        error = split.error;
        return {};
    }
    return std::move(split.shape);
}

MergedFields mergedFields(const std::vector<GisLayer>& layers) {
    MergedFields merged;
    merged.fields.push_back({"layer", GisFieldType::Text});
    for (const GisLayer& layer : layers) {
        std::vector<size_t>& place = merged.places.emplace_back();
        for (const GisFieldDef& field : layer.fields) {
            size_t at = 0;
            while (at < merged.fields.size() && merged.fields[at].name != field.name) ++at;
            if (at == merged.fields.size()) merged.fields.push_back(field);
            place.push_back(at);
        }
    }
    return merged;
}

std::string isoTimeOf(const std::string& trackTime) {
    if (trackTime.size() != 10 && trackTime.size() != 12) return trackTime;
    for (char c : trackTime) {
        if (c < '0' || c > '9') return trackTime;
    }
    // Written in place: it runs for every fix and radius of a season.
    const std::string_view t = trackTime;
    std::string iso;
    iso.reserve(17);
    iso.append(t.substr(0, 4)).append(1, '-').append(t.substr(4, 2)).append(1, '-');
    iso.append(t.substr(6, 2)).append(1, 'T').append(t.substr(8, 2)).append(1, ':');
    iso.append(t.size() == 12 ? t.substr(10, 2) : std::string_view("00")).append(1, 'Z');
    return iso;
}

}  // namespace tcmap
