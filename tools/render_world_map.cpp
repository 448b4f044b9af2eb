// Draws the bundled world map picture from the land rings that
// tools/world_map/extract_land_rings.js writes: an equirectangular picture with
// 0° at its left and right edges, 180° in its middle and 90°N at the top, land
// filled in one muted colour on a dark blue sea.
//
// usage: render_world_map <land_rings.txt> <out.png> [width]
//
// The rings come straight from the source data, with longitudes -180..180.
// Rings that cross the 180° meridian jump by about 360° between two points,
// and Antarctica's ring runs once round the globe without closing, so each
// ring is unwrapped to continuous longitudes, moved into 0..360, the polar one
// is closed along the pole, and every polygon is filled three times, 360°
// apart; the canvas clips whatever falls outside.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_io.h"
#include "render/canvas/cairo_canvas.h"
#include "render/canvas/canvas.h"
#include "render/canvas/picture.h"

namespace tcmap {
namespace {

constexpr uint32_t kSeaColour = rgb(22, 42, 72);
constexpr uint32_t kLandColour = rgb(92, 98, 84);
constexpr int kDefaultWidth = 7200;

struct GeoPoint {
    double lon = 0;
    double lat = 0;
};
using Ring = std::vector<GeoPoint>;
// The outer ring first, then its holes.
using LandPolygon = std::vector<Ring>;

// Line-by-line reader of the ring text; every failure names its line.
class RingReader {
  public:
    explicit RingReader(std::string_view text) : text_(text) {}

    std::optional<std::vector<LandPolygon>> read() {
        std::vector<LandPolygon> polygons;
        std::string_view line;
        while (nextLine(line)) {
            if (line.empty() || line.front() == '#') continue;
            long ringCount = 0;
            if (!readCount(line, 'P', ringCount)) return fail("a polygon header \"P <rings>\"");
            LandPolygon polygon;
            for (long r = 0; r < ringCount; ++r) {
                Ring ring;
                if (!readRing(ring)) return std::nullopt;
                polygon.push_back(std::move(ring));
            }
            polygons.push_back(std::move(polygon));
        }
        return polygons;
    }

    const std::string& error() const { return error_; }

  private:
    bool nextLine(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos) end = text_.size();
        line = text_.substr(pos_, end - pos_);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pos_ = end + 1;
        ++lineNumber_;
        return true;
    }

    std::nullopt_t fail(std::string_view expected) {
        error_ = "line " + std::to_string(lineNumber_) + ": expected " + std::string(expected);
        return std::nullopt;
    }

    // "<tag> <count>" with 0 < count <= the lines left, so a bad count can
    // neither loop long nor reserve much.
    bool readCount(std::string_view line, char tag, long& count) const {
        if (line.size() < 3 || line[0] != tag || line[1] != ' ') return false;
        const char* first = line.data() + 2;
        const char* last = line.data() + line.size();
        const auto [end, ec] = std::from_chars(first, last, count);
        const size_t bytesLeft = text_.size() - std::min(pos_, text_.size());
        return ec == std::errc() && end == last && count > 0 &&
               static_cast<unsigned long>(count) <= bytesLeft / 2;
    }

    bool readRing(Ring& ring) {
        std::string_view line;
        long pointCount = 0;
        if (!nextLine(line) || !readCount(line, 'R', pointCount)) {
            fail("a ring header \"R <points>\"");
            return false;
        }
        ring.reserve(static_cast<size_t>(pointCount));
        for (long i = 0; i < pointCount; ++i) {
            GeoPoint point;
            if (!nextLine(line) || !readPoint(line, point)) {
                fail("\"<lon> <lat>\" in degrees");
                return false;
            }
            ring.push_back(point);
        }
        return true;
    }

    static bool readPoint(std::string_view line, GeoPoint& point) {
        const char* p = line.data();
        const char* last = p + line.size();
        auto lon = std::from_chars(p, last, point.lon);
        if (lon.ec != std::errc() || lon.ptr == last || *lon.ptr != ' ') return false;
        auto lat = std::from_chars(lon.ptr + 1, last, point.lat);
        return lat.ec == std::errc() && lat.ptr == last && std::isfinite(point.lon) &&
               std::isfinite(point.lat) && std::fabs(point.lon) <= 180.0 &&
               std::fabs(point.lat) <= 90.0;
    }

    std::string_view text_;
    size_t pos_ = 0;
    long lineNumber_ = 0;
    std::string error_;
};

// Continuous longitudes (no step over 180°), shifted so the ring starts in
// [0, 360).
void unwrapRing(Ring& ring) {
    for (size_t i = 1; i < ring.size(); ++i) {
        const double step = ring[i].lon - ring[i - 1].lon;
        ring[i].lon -= 360.0 * std::round(step / 360.0);
    }
    const double shift = 360.0 * std::floor(ring.front().lon / 360.0);
    for (GeoPoint& p : ring) p.lon -= shift;
}

// A ring that goes once round the globe ends 360° east or west of its start.
// Running it down to the nearer pole and back closes it so that it encloses
// the land between its coast and the pole, not a band across the map.
bool closeAroundPole(Ring& ring) {
    const double drift = ring.back().lon - ring.front().lon;
    if (std::fabs(drift) < 180.0) return false;
    double latSum = 0;
    for (const GeoPoint& p : ring) latSum += p.lat;
    const double pole = latSum < 0 ? -90.0 : 90.0;
    const GeoPoint start = ring.front();
    ring.push_back({ring.back().lon, pole});
    ring.push_back({start.lon, pole});
    ring.push_back(start);
    return true;
}

// Moves a hole by whole turns to lie over its outer ring.
void alignHole(Ring& hole, const Ring& outer) {
    auto middle = [](const Ring& ring) {
        double low = ring.front().lon, high = low;
        for (const GeoPoint& p : ring) {
            low = std::min(low, p.lon);
            high = std::max(high, p.lon);
        }
        return (low + high) / 2;
    };
    const double shift = 360.0 * std::round((middle(outer) - middle(hole)) / 360.0);
    for (GeoPoint& p : hole) p.lon += shift;
}

void closeRing(Ring& ring) {
    if (ring.front().lon != ring.back().lon || ring.front().lat != ring.back().lat) {
        ring.push_back(ring.front());
    }
}

struct Counts {
    int polygons = 0;
    int polar = 0;
    int failures = 0;
};

// Fills one polygon and its holes as one even-odd path; the rings are joined
// at their closing points, so the joins cover no area.
void fillLand(Canvas& canvas, const CanvasBrush& land, LandPolygon polygon, Counts& counts) {
    if (polygon.empty() || polygon.front().size() < 3) return;
    for (Ring& ring : polygon) unwrapRing(ring);
    if (closeAroundPole(polygon.front())) ++counts.polar;
    for (Ring& ring : polygon) closeRing(ring);
    for (size_t i = 1; i < polygon.size(); ++i) alignHole(polygon[i], polygon.front());

    const double scaleX = canvas.width() / 360.0;
    const double scaleY = canvas.height() / 180.0;
    std::vector<PointF> points;
    for (const Ring& ring : polygon) {
        for (const GeoPoint& p : ring) {
            points.push_back(
                {static_cast<float>(p.lon * scaleX), static_cast<float>((90.0 - p.lat) * scaleY)});
        }
    }
    std::vector<PointF> copy(points.size());
    for (const int turn : {-1, 0, 1}) {
        const float dx = static_cast<float>(turn * canvas.width());
        for (size_t i = 0; i < points.size(); ++i) copy[i] = {points[i].x + dx, points[i].y};
        if (!canvas.fillPolygon(land, copy)) ++counts.failures;
    }
    ++counts.polygons;
}

int run(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: render_world_map <land_rings.txt> <out.png> [width]\n");
        return 2;
    }
    int width = kDefaultWidth;
    if (argc == 4) {
        const std::string_view text = argv[3];
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), width);
        if (ec != std::errc() || end != text.data() + text.size() || width < 2 ||
            width > kMaxPictureSide || width % 2 != 0) {
            std::fprintf(stderr, "width must be an even number from 2 to %d\n", kMaxPictureSide);
            return 2;
        }
    }

    const std::optional<std::string> text = readFileBytes(argv[1]);
    if (!text) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    RingReader reader(*text);
    std::optional<std::vector<LandPolygon>> polygons = reader.read();
    if (!polygons) {
        std::fprintf(stderr, "%s: %s\n", argv[1], reader.error().c_str());
        return 1;
    }
    if (polygons->empty()) {
        std::fprintf(stderr, "%s: no land polygons\n", argv[1]);
        return 1;
    }

    Picture picture;
    const int32_t created = picture.create(width, width / 2, toArgb(kSeaColour), kPngFormatId);
    if (created != status::kOk) {
        std::fprintf(stderr, "cannot create a %d x %d picture (status %d)\n", width, width / 2,
                     created);
        return 1;
    }
    CairoCanvas canvas(picture);
    if (canvas.lastStatus() != status::kOk) {
        std::fprintf(stderr, "cannot open a canvas (status %d)\n", canvas.lastStatus());
        return 1;
    }
    CanvasBrush land;
    land.setSolid(toArgb(kLandColour));
    Counts counts;
    for (LandPolygon& polygon : *polygons) fillLand(canvas, land, std::move(polygon), counts);
    canvas.close();
    if (counts.failures > 0) {
        std::fprintf(stderr, "%d polygon fills failed\n", counts.failures);
        return 1;
    }

    const int32_t saved = picture.save(argv[2], kPngFormatId);
    if (saved != status::kOk) {
        std::fprintf(stderr, "cannot write %s (status %d)\n", argv[2], saved);
        return 1;
    }
    std::printf("%d polygons (%d closed along a pole) -> %s, %d x %d\n", counts.polygons,
                counts.polar, argv[2], width, width / 2);
    return 0;
}

}  // namespace
}  // namespace tcmap

int main(int argc, char** argv) {
    return tcmap::run(argc, argv);
}
