// Checks the vector world against the bundled map picture, and writes vector
// maps of it to look at and weigh.
//
// usage: world_vector_proof compare <world_vector.bin> <world.png> [west south east north]
//          fills the land of the vector world through the Cairo canvas at the
//          picture's scale and counts the pixels whose land/sea class differs
//          from the picture's, and how far each lies from the picture's coast;
//        world_vector_proof pdf|svg <world_vector.bin> <out> [west south east north]
//          writes the land and borders of the box (default: the whole map) as
//          a vector file through the drawing tape, at 20 pixels a degree.
//
// Boxes are in degrees east of the map's 0° edge (they may run below 0 or
// past 360) and north.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "render/canvas/cairo_canvas.h"
#include "render/canvas/canvas.h"
#include "render/canvas/drawing_tape.h"
#include "render/canvas/picture.h"
#include "render/canvas/vector_output.h"
#include "render/canvas/vector_world.h"

namespace tcmap {
namespace {

constexpr uint32_t kSeaColour = rgb(22, 42, 72);
constexpr uint32_t kLandColour = rgb(92, 98, 84);
constexpr uint32_t kBorderColour = rgb(130, 136, 120);
constexpr float kBorderWidth = 0.75f;
constexpr double kPdfPixelsPerDegree = 20.0;

// Degrees to canvas coordinates of a picture whose top-left corner is
// (west, north). The map picture measures degrees from pixel edges (pixel 0
// covers 0° to 0.05°) while the canvas puts whole coordinates at pixel
// centres, so `offset` -0.5 draws the land where the picture has it.
struct PixelMapping {
    double west = 0, north = 0, scale = 1, offset = 0;
    PointF operator()(const WorldPoint& p) const {
        return {static_cast<float>((p.lon - west) * scale + offset),
                static_cast<float>((north - p.lat) * scale + offset)};
    }
};

std::vector<PointF> shapePoints(const LandShape& shape, const PixelMapping& map) {
    std::vector<PointF> points;
    appendShapeOutline(shape, map, points);
    return points;
}

// The box widened by two pixels, so cut edges fall outside the picture.
GeoBox withMargin(GeoBox box, double scale) {
    const double margin = 2.0 / scale;
    return {box.west - margin, box.south - margin, box.east + margin, box.north + margin};
}

bool parseBox(int argc, char** argv, int first, GeoBox& box) {
    if (argc == first) return true;
    if (argc != first + 4) return false;
    double v[4];
    for (int i = 0; i < 4; ++i) {
        char* end = nullptr;
        v[i] = std::strtod(argv[first + i], &end);
        if (end == argv[first + i] || *end != '\0' || !std::isfinite(v[i])) return false;
    }
    box = {v[0], v[1], v[2], v[3]};
    return box.west < box.east && box.south < box.north && box.south >= -90 && box.north <= 90;
}

bool isLand(uint32_t argb) {
    const Argb land = toArgb(kLandColour), sea = toArgb(kSeaColour);
    auto distance = [argb](uint32_t to) {
        int sum = 0;
        for (int shift : {0, 8, 16}) {
            const int d =
                static_cast<int>((argb >> shift) & 0xFF) - static_cast<int>((to >> shift) & 0xFF);
            sum += d * d;
        }
        return sum;
    };
    return distance(land) < distance(sea);
}

int compare(const VectorWorld& world, const std::string& mapPath, GeoBox box) {
    Picture map;
    if (!map.loadFile(mapPath)) {
        std::fprintf(stderr, "cannot read %s\n", mapPath.c_str());
        return 1;
    }
    const double scale = map.width() / 360.0;
    const int x0 = static_cast<int>(std::lround(box.west * scale));
    const int y0 = std::max(0, static_cast<int>(std::lround((90 - box.north) * scale)));
    const int width = static_cast<int>(std::lround(box.east * scale)) - x0;
    const int height =
        std::min(map.height(), static_cast<int>(std::lround((90 - box.south) * scale))) - y0;
    Picture drawn;
    if (drawn.create(width, height, toArgb(kSeaColour), kPngFormatId) != status::kOk) {
        std::fprintf(stderr, "cannot create a %d x %d picture\n", width, height);
        return 1;
    }
    const PixelMapping mapping{x0 / scale, 90 - y0 / scale, scale, -0.5};
    const std::vector<LandShape> shapes = world.landIn(withMargin(box, scale));
    {
        CairoCanvas canvas(drawn);
        CanvasBrush land;
        land.setSolid(toArgb(kLandColour));
        for (const LandShape& shape : shapes) {
            if (!canvas.fillPolygon(land, shapePoints(shape, mapping))) {
                std::fprintf(stderr, "a fill failed (status %d)\n", canvas.lastStatus());
                return 1;
            }
        }
        canvas.close();
    }

    // Map pixels wrap round at the 0° seam.
    auto mapLand = [&](int x, int y) {
        x = ((x % map.width()) + map.width()) % map.width();
        return isLand(map.pixelArgb(x, y));
    };
    const Argb pureLand = toArgb(kLandColour), pureSea = toArgb(kSeaColour);
    // How far (in pixels, Chebyshev) a pixel lies from a pixel of the other
    // class or a blended coast pixel in the map picture; 9 means farther.
    auto coastDistance = [&](int x, int y) {
        const bool own = mapLand(x, y);
        for (int r = 0; r <= 8; ++r) {
            for (int dy = -r; dy <= r; ++dy) {
                const int yy = y + dy;
                if (yy < 0 || yy >= map.height()) continue;
                for (int dx = -r; dx <= r; ++dx) {
                    if (std::max(std::abs(dx), std::abs(dy)) != r) continue;
                    const int xx = ((x + dx) % map.width() + map.width()) % map.width();
                    const uint32_t p = map.pixelArgb(xx, yy);
                    if (isLand(p) != own || (p != pureLand && p != pureSea)) return r;
                }
            }
        }
        return 9;
    };

    int64_t differ = 0, land = 0;
    int64_t byDistance[10] = {};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool vectorLand = isLand(drawn.pixelArgb(x, y));
            land += vectorLand ? 1 : 0;
            if (vectorLand == mapLand(x0 + x, y0 + y)) continue;
            ++differ;
            ++byDistance[coastDistance(x0 + x, y0 + y)];
        }
    }
    const double total = static_cast<double>(width) * height;
    std::printf("%zu shapes, %d x %d pixels at (%d, %d), land %.4f\n", shapes.size(), width, height,
                x0, y0, land / total);
    std::printf("land/sea class differs: %lld pixels, %.5f%%\n", static_cast<long long>(differ),
                100.0 * differ / total);
    std::printf("by distance from the map's coast (pixels):");
    for (int r = 0; r <= 9; ++r) {
        if (byDistance[r] > 0) {
            std::printf(" %s%d: %lld", r == 9 ? ">" : "", r == 9 ? 8 : r,
                        static_cast<long long>(byDistance[r]));
        }
    }
    std::printf("\n");
    return 0;
}

int writeVector(const VectorWorld& world, const std::string& path, VectorFormat format,
                GeoBox box) {
    const double scale = kPdfPixelsPerDegree;
    const int width = static_cast<int>(std::lround((box.east - box.west) * scale));
    const int height = static_cast<int>(std::lround((box.north - box.south) * scale));
    // Where the map picture, embedded at pixel edges, would have the land.
    const PixelMapping mapping{box.west, box.north, scale, -0.5};
    DrawingTape tape(width, height, "en");
    CanvasBrush sea, land;
    sea.setSolid(toArgb(kSeaColour));
    land.setSolid(toArgb(kLandColour));
    // The canvas centres pixels on whole coordinates: from -1 the sea covers
    // the page's edge pixels whole.
    tape.recordFillRectangle(sea, -1, -1, static_cast<float>(width + 2),
                             static_cast<float>(height + 2));
    const GeoBox cutBox = withMargin(box, scale);
    const std::vector<LandShape> shapes = world.landIn(cutBox);
    size_t landPoints = 0;
    for (const LandShape& shape : shapes) {
        const std::vector<PointF> points = shapePoints(shape, mapping);
        landPoints += points.size();
        tape.recordPolygon(land, points);
    }
    CanvasPen border;
    border.create(toArgb(kBorderColour), kBorderWidth, CanvasUnit::Pixel);
    border.setCaps(cap::kRound, cap::kRound, cap::kRound);
    border.setLineJoin(join::kRound);
    const std::vector<BorderLine> lines = world.bordersIn(cutBox);
    size_t segments = 0;
    for (const BorderLine& line : lines) {
        for (size_t i = 1; i < line.size(); ++i) {
            const PointF a = mapping(line[i - 1]), b = mapping(line[i]);
            tape.recordLine(border, a.x, a.y, b.x, b.y);
        }
        segments += line.size() - 1;
    }
    const VectorWriteReport report = writeVectorMap(tape, path, format);
    if (report.result != VectorWriteResult::Written) {
        std::fprintf(stderr, "cannot write %s (status %d)\n", path.c_str(), report.status);
        return 1;
    }
    std::printf(
        "%zu land shapes (%zu points), %zu border lines (%zu segments) -> %s, %d x %d, "
        "%llu bytes\n",
        shapes.size(), landPoints, lines.size(), segments, path.c_str(), width, height,
        static_cast<unsigned long long>(report.bytes));
    return 0;
}

int run(int argc, char** argv) {
    const std::string_view mode = argc > 1 ? argv[1] : "";
    GeoBox box{0, -90, 360, 90};
    if (argc < 4 || (mode != "compare" && mode != "pdf" && mode != "svg") ||
        !parseBox(argc, argv, 4, box)) {
        std::fprintf(stderr,
                     "usage: world_vector_proof compare <world_vector.bin> <world.png> [box]\n"
                     "       world_vector_proof pdf|svg <world_vector.bin> <out> [box]\n"
                     "box: west south east north, in degrees\n");
        return 2;
    }
    std::string error;
    const std::optional<VectorWorld> world = VectorWorld::load(argv[2], error);
    if (!world) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (mode == "compare") return compare(*world, argv[3], box);
    return writeVector(*world, argv[3], mode == "pdf" ? VectorFormat::Pdf : VectorFormat::Svg, box);
}

}  // namespace
}  // namespace tcmap

int main(int argc, char** argv) {
    return tcmap::run(argc, argv);
}
