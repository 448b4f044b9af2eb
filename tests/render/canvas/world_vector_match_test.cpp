// The bundled vector world fills the same land as the bundled map picture:
// windows of the map drawn from data/maps/world_vector.bin through the Cairo
// canvas, pixel for pixel against data/maps/world.png, differ only on the
// picture's coast pixels, and there seldom.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "render/canvas/cairo_canvas.h"
#include "render/canvas/canvas.h"
#include "render/canvas/picture.h"
#include "render/canvas/vector_world.h"

namespace tcmap {
namespace {

constexpr Argb kSea = toArgb(rgb(22, 42, 72));
constexpr Argb kLand = toArgb(rgb(92, 98, 84));
constexpr int kPixelsPerDegree = 20;

bool isLand(uint32_t argb) {
    auto distance = [argb](uint32_t to) {
        int sum = 0;
        for (int shift : {0, 8, 16}) {
            const int d =
                static_cast<int>((argb >> shift) & 0xFF) - static_cast<int>((to >> shift) & 0xFF);
            sum += d * d;
        }
        return sum;
    };
    return distance(kLand) < distance(kSea);
}

class WorldVectorMatch : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        map_ = std::make_unique<Picture>();
        map_->loadFile(std::string(TCMAP_SOURCE_DIR) + "/data/maps/world.png");
        world_ = VectorWorld::load(std::string(TCMAP_SOURCE_DIR) + "/data/maps/world_vector.bin",
                                   error_);
    }
    static void TearDownTestSuite() {
        map_.reset();
        world_.reset();
    }

    void SetUp() override {
        ASSERT_EQ(map_->width(), 360 * kPixelsPerDegree) << "data/maps/world.png missing";
        ASSERT_TRUE(world_) << error_;
    }

    // The map picture's pixel, wrapping round at the 0° seam.
    static uint32_t mapPixel(int x, int y) {
        x = ((x % map_->width()) + map_->width()) % map_->width();
        return map_->pixelArgb(x, y);
    }

    // A coast pixel of the picture: blended itself, or beside one of the
    // other class.
    static bool onMapCoast(int x, int y) {
        const bool own = isLand(mapPixel(x, y));
        for (int dy = -1; dy <= 1; ++dy) {
            const int yy = y + dy;
            if (yy < 0 || yy >= map_->height()) continue;
            for (int dx = -1; dx <= 1; ++dx) {
                const uint32_t p = mapPixel(x + dx, yy);
                if (isLand(p) != own || (p != kLand && p != kSea)) return true;
            }
        }
        return false;
    }

    struct Difference {
        int64_t pixels = 0;
        int64_t offCoast = 0;
        int64_t total = 0;
    };

    // Draws the land of the window (whole degrees) from the vector world, as
    // render_world_map fills the picture's, and counts the pixels whose class
    // differs from the picture's.
    static Difference compareWindow(int west, int south, int east, int north) {
        const int x0 = west * kPixelsPerDegree, y0 = (90 - north) * kPixelsPerDegree;
        const int width = (east - west) * kPixelsPerDegree;
        const int height = (north - south) * kPixelsPerDegree;
        Picture drawn;
        EXPECT_EQ(drawn.create(width, height, kSea, kPngFormatId), status::kOk);
        {
            CairoCanvas canvas(drawn);
            CanvasBrush land;
            land.setSolid(kLand);
            // The picture measures degrees from pixel edges, the canvas from
            // pixel centres: half a pixel up and left puts the land where the
            // picture has it.
            auto toPixel = [&](const WorldPoint& p) {
                return PointF{static_cast<float>((p.lon - west) * kPixelsPerDegree - 0.5),
                              static_cast<float>((north - p.lat) * kPixelsPerDegree - 0.5)};
            };
            const double margin = 0.1;
            const GeoBox box{west - margin, south - margin, east + margin, north + margin};
            std::vector<PointF> points;
            for (const LandShape& shape : world_->landIn(box)) {
                points.clear();
                appendShapeOutline(shape, toPixel, points);
                EXPECT_TRUE(canvas.fillPolygon(land, points));
            }
            canvas.close();
        }
        Difference difference;
        difference.total = int64_t{width} * height;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (isLand(drawn.pixelArgb(x, y)) == isLand(mapPixel(x0 + x, y0 + y))) continue;
                ++difference.pixels;
                difference.offCoast += onMapCoast(x0 + x, y0 + y) ? 0 : 1;
            }
        }
        return difference;
    }

    static std::unique_ptr<Picture> map_;
    static std::optional<VectorWorld> world_;
    static std::string error_;
};

std::unique_ptr<Picture> WorldVectorMatch::map_;
std::optional<VectorWorld> WorldVectorMatch::world_;
std::string WorldVectorMatch::error_;

TEST(WorldVector, HoldsAllOfTheSourceLandAndBorders) {
    std::string error;
    const std::optional<VectorWorld> world =
        VectorWorld::load(std::string(TCMAP_SOURCE_DIR) + "/data/maps/world_vector.bin", error);
    ASSERT_TRUE(world) << error;
    EXPECT_EQ(world->polygonCount(), 4061u);  // land-10m's polygons
    EXPECT_GT(world->lineCount(), 200u);
    EXPECT_GT(world->pointCount(), 150'000u);
}

TEST_F(WorldVectorMatch, FillsTheLandOfThePictureToWithinItsCoastPixels) {
    struct Row {
        const char* where;
        int west, south, east, north;
    };
    const Row rows[] = {
        {"NW Pacific season", 100, 0, 180, 50},
        {"Europe across 0°", -15, 30, 15, 60},
        {"Chukotka and Alaska across 180°", 170, 50, 190, 70},
        {"Ross Sea to the South Pole", 150, -90, 210, -60},
        {"the Caspian, a hole in Eurasia", 45, 36, 56, 48},
    };
    for (const Row& row : rows) {
        const Difference d = compareWindow(row.west, row.south, row.east, row.north);
        EXPECT_EQ(d.offCoast, 0) << row.where;
        // 0.036 % over the whole map; coastal windows have more coast.
        EXPECT_LT(static_cast<double>(d.pixels) / d.total, 0.002)
            << row.where << ": " << d.pixels << " of " << d.total << " pixels differ";
    }
}

}  // namespace
}  // namespace tcmap
