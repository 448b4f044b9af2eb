#include "app/gis_layers.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "render/geodesic_shapes.h"

namespace tcmap {

namespace {

// A quadrant's arc strays from the true circle by at most this much between
// its vertices: far below what a map shows, and a season of radii in a
// GeoJSON is less than half as large as with a fixed 16 segments a quadrant.
constexpr double kArcToleranceNm = 0.5;
constexpr int kMinQuadrantSegments = 2;
constexpr int kMaxQuadrantSegments = 16;
constexpr const char* kQuadrantNames[4] = {"NE", "SE", "SW", "NW"};

GisValue text(const std::string& value) {
    return value.empty() ? GisValue{} : GisValue{value};
}

GisValue positive(int32_t value) {
    return value > 0 ? GisValue{int64_t{value}} : GisValue{};
}

}  // namespace

int quadrantSegments(double radiusNm) {
    if (!(radiusNm > kArcToleranceNm)) return kMinQuadrantSegments;
    // A chord of angle a lies R(1 - cos(a/2)) inside the arc at its middle.
    const double step = 2.0 * std::acos(1.0 - kArcToleranceNm / radiusNm);
    const int segments = static_cast<int>(std::ceil((M_PI / 2.0) / step));
    return std::clamp(segments, kMinQuadrantSegments, kMaxQuadrantSegments);
}

namespace {

class LayerBuilder {
  public:
    explicit LayerBuilder(const GisStyle& style)
        : scale_(style.scale != nullptr ? *style.scale : saffirSimpsonScale()),
          palette_(style.palette) {
        storms_.name = "storms";
        storms_.geometry = GisGeometry::Line;
        storms_.fields = {{"id", GisFieldType::Text},           {"name", GisFieldType::Text},
                          {"basin", GisFieldType::Text},        {"agency", GisFieldType::Text},
                          {"first_time", GisFieldType::Text},   {"last_time", GisFieldType::Text},
                          {"peak_wind", GisFieldType::Integer}, {"min_pres", GisFieldType::Integer},
                          {"ace", GisFieldType::Real},          {"fixes", GisFieldType::Integer}};
        fixes_.name = "fixes";
        fixes_.geometry = GisGeometry::Point;
        fixes_.fields = {{"storm_id", GisFieldType::Text},     {"time", GisFieldType::Text},
                         {"wind", GisFieldType::Integer},      {"pressure", GisFieldType::Integer},
                         {"type", GisFieldType::Text},         {"category", GisFieldType::Text},
                         {"fcst_hour", GisFieldType::Integer}, {"aid", GisFieldType::Text}};
        radii_.name = "wind_radii";
        radii_.geometry = GisGeometry::Polygon;
        radii_.fields = {
            {"storm_id", GisFieldType::Text},     {"time", GisFieldType::Text},
            {"fcst_hour", GisFieldType::Integer}, {"wind_kt", GisFieldType::Integer},
            {"quadrant", GisFieldType::Text},     {"radius_nm", GisFieldType::Integer}};
    }

    void add(const Track& track) {
        if (!error_.empty()) return;
        const bool forecast = track.kind == TrackFileKind::ForecastFile;
        std::vector<GeoPoint> line;
        for (const Fix& fix : track.fixes) {
            if (!std::isfinite(fix.latitude) || !std::isfinite(fix.longitude) ||
                std::fabs(fix.latitude) > 90.0) {
                error_ = track.source + ": the fix at line " + std::to_string(fix.line) +
                         " has no place on the globe (latitude " + std::to_string(fix.latitude) +
                         ", longitude " + std::to_string(fix.longitude) + ")";
                return;
            }
            if (std::fabs(fix.latitude) == 90.0) {
                notes_.push_back(track.source + ": the fix at line " + std::to_string(fix.line) +
                                 " lies at a pole; it is written at longitude 0");
            }
            const GeoPoint place = placeOf(fix);
            line.push_back(place);
            addFix(fix, place, forecast);
            addRadii(track, fix, place, forecast);
        }
        if (track.statistics && !forecast) addStorm(track, line);
    }

    GisLayerSet finish(std::vector<GisLayer> extraLayers) {
        GisLayerSet set;
        set.notes = std::move(notes_);
        if (!error_.empty()) {
            set.error = error_;
            return set;
        }
        set.layers.push_back(std::move(storms_));
        set.layers.push_back(std::move(fixes_));
        set.layers.push_back(std::move(radii_));
        std::set<std::string> names{"storms", "fixes", "wind_radii"};
        for (GisLayer& layer : extraLayers) {
            if (!names.insert(layer.name).second) {
                set.error = "two layers are named \"" + layer.name + "\"";
                set.layers.clear();
                return set;
            }
            for (GisFeature& feature : layer.features) {
                std::string error;
                feature.polygons = wrappedShape(feature.polygons, error);
                if (!error.empty()) {
                    set.error = "layer " + layer.name + ": " + error;
                    set.layers.clear();
                    return set;
                }
            }
            set.layers.push_back(std::move(layer));
        }
        return set;
    }

  private:
    // At a pole every longitude is the same place.
    static GeoPoint placeOf(const Fix& fix) {
        if (std::fabs(fix.latitude) == 90.0) return {fix.latitude, 0.0};
        double lon = fix.longitude - 360.0 * std::floor((fix.longitude + 180.0) / 360.0);
        if (lon == -180.0 && fix.longitude > 0) lon = 180.0;
        return {fix.latitude, lon};
    }

    GisValue category(int32_t wind) const {
        const int band = scale_.bandOf(wind);
        if (band <= 0) return {};
        return std::string(scale_.bands[static_cast<size_t>(band - 1)].code);
    }

    void addFix(const Fix& fix, GeoPoint place, bool forecast) {
        GisFeature feature;
        feature.point = place;
        feature.colour = scale_.colourOf(fix.wind, fix.type, palette_);
        const std::string time = isoTimeOf(fix.time);
        feature.label = forecast ? fix.aid + " +" + std::to_string(fix.forecastHour) : time;
        feature.values = {text(fix.stormId()),
                          text(time),
                          fix.hasWind() ? GisValue{int64_t{fix.wind}} : GisValue{},
                          fix.hasPressure() ? positive(fix.pressure) : GisValue{},
                          fix.hasType() ? text(fix.type) : GisValue{},
                          category(fix.wind),
                          forecast ? GisValue{int64_t{fix.forecastHour}} : GisValue{},
                          forecast ? text(fix.aid) : GisValue{}};
        fixes_.features.push_back(std::move(feature));
    }

    void addStorm(const Track& track, const std::vector<GeoPoint>& line) {
        const StormStatistics& stats = *track.statistics;
        GisFeature feature;
        feature.lines = splitLineAtAntimeridian(line);
        feature.colour = scale_.colourOf(stats.peakWind, {}, palette_);
        feature.label = track.name.empty() ? track.stormId : track.name;
        const std::string first = track.fixes.empty() ? "" : isoTimeOf(track.fixes.front().time);
        const std::string last = track.fixes.empty() ? "" : isoTimeOf(track.fixes.back().time);
        feature.values = {text(track.stormId),
                          text(track.name),
                          text(track.basin),
                          text(track.agency),
                          text(first),
                          text(last),
                          positive(stats.peakWind),
                          positive(stats.lowestPressure),
                          GisValue{stats.ace},
                          GisValue{static_cast<int64_t>(track.fixes.size())}};
        storms_.features.push_back(std::move(feature));
    }

    // The quadrants of each threshold the fix's records give, as pie slices.
    void addRadii(const Track& track, const Fix& fix, GeoPoint place, bool forecast) {
        if (fix.radii.empty()) return;
        if (std::fabs(fix.latitude) >= 90.0) {
            notes_.push_back(track.source + ": the wind radii of the fix at line " +
                             std::to_string(fix.line) + " lie at a pole and are left out");
            return;
        }
        for (const WindRadii& radii : fix.radii) {
            if (radii.thresholdKt <= 0) continue;
            for (int q = 0; q < 4; ++q) {
                const int32_t radius = radii.quadrantsNm[static_cast<size_t>(q)];
                if (radius <= 0) continue;
                GeoRing ring = quadrantPoints(place, radius, q, quadrantSegments(radius));
                ring.push_back(ring.front());
                std::string error;
                GisFeature feature;
                feature.polygons = wrappedShape({GeoPolygon{ring, {}}}, error);
                if (!error.empty()) {
                    notes_.push_back(track.source + ": the wind radii of the fix at line " +
                                     std::to_string(fix.line) +
                                     " could not be cut at 180 degrees (" + error + ")");
                    continue;
                }
                feature.colour = scale_.colourOf(radii.thresholdKt, {}, palette_);
                feature.label = std::to_string(radii.thresholdKt) + " kt " + kQuadrantNames[q];
                feature.values = {text(fix.stormId()),
                                  text(isoTimeOf(fix.time)),
                                  forecast ? GisValue{int64_t{fix.forecastHour}} : GisValue{},
                                  int64_t{radii.thresholdKt},
                                  std::string(kQuadrantNames[q]),
                                  int64_t{radius}};
                radii_.features.push_back(std::move(feature));
            }
        }
    }

    const IntensityScale& scale_;
    size_t palette_;
    GisLayer storms_, fixes_, radii_;
    std::vector<std::string> notes_;
    std::string error_;
};

}  // namespace

GisLayerSet gisLayersOf(const std::vector<Track>& tracks, const GisStyle& style,
                        std::vector<GisLayer> extraLayers) {
    LayerBuilder builder(style);
    for (const Track& track : tracks) builder.add(track);
    return builder.finish(std::move(extraLayers));
}

}  // namespace tcmap
