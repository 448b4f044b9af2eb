// The bundled world map: its size and kind, its colours, and land and sea where
// they belong, above all across the 0° and 180° meridians and at the poles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "render/canvas/canvas.h"
#include "render/canvas/picture.h"

namespace tcmap {
namespace {

constexpr Argb kSea = toArgb(rgb(22, 42, 72));
constexpr Argb kLand = toArgb(rgb(92, 98, 84));
constexpr int kPixelsPerDegree = 20;

class WorldMap : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        map_ = std::make_unique<Picture>();
        map_->loadFile(std::string(TCMAP_SOURCE_DIR) + "/data/maps/world.png");
    }
    static void TearDownTestSuite() { map_.reset(); }

    void SetUp() override { ASSERT_EQ(map_->width(), 7200) << "data/maps/world.png missing"; }

    // Pixel of a place, longitudes east positive; 0° is the left edge.
    static uint32_t at(double lon, double lat) {
        const double east = lon < 0 ? lon + 360 : lon;
        const int x = std::clamp(static_cast<int>(east * kPixelsPerDegree), 0, map_->width() - 1);
        const int y =
            std::clamp(static_cast<int>((90 - lat) * kPixelsPerDegree), 0, map_->height() - 1);
        return map_->pixelArgb(x, y);
    }

    // Coast pixels blend the two colours; the nearer one decides.
    static bool isLand(uint32_t argb) {
        auto distance = [argb](uint32_t to) {
            int sum = 0;
            for (int shift : {0, 8, 16}) {
                const int d = static_cast<int>((argb >> shift) & 0xFF) -
                              static_cast<int>((to >> shift) & 0xFF);
                sum += d * d;
            }
            return sum;
        };
        return distance(kLand) < distance(kSea);
    }

    static bool rowHasSea(int y) {
        const uint32_t* row = map_->pixels() + static_cast<size_t>(y) * map_->width();
        for (int x = 0; x < map_->width(); ++x) {
            if (!isLand(row[x])) return true;
        }
        return false;
    }

    static std::unique_ptr<Picture> map_;
};

std::unique_ptr<Picture> WorldMap::map_;

TEST_F(WorldMap, IsAPngOfTwentyPixelsADegreeInTwoCalmColours) {
    EXPECT_EQ(map_->height(), 3600);
    EXPECT_EQ(map_->formatId(), kPngFormatId);
    EXPECT_EQ(at(10, 23), kLand);  // Sahara
    EXPECT_EQ(at(-150, 0), kSea);  // central Pacific
    // Anything else is an anti-aliased blend of the two, fully opaque (so the
    // stored premultiplied pixels are the colours themselves).
    int strays = 0;
    long land = 0;
    for (int y = 0; y < map_->height(); ++y) {
        const uint32_t* row = map_->pixels() + static_cast<size_t>(y) * map_->width();
        for (int x = 0; x < map_->width(); ++x) {
            const uint32_t p = row[x];
            bool between = (p >> 24) == 0xFF;
            for (int shift : {0, 8, 16}) {
                const uint32_t c = (p >> shift) & 0xFF, s = (kSea >> shift) & 0xFF,
                               l = (kLand >> shift) & 0xFF;
                between = between && c >= std::min(s, l) && c <= std::max(s, l);
            }
            strays += between ? 0 : 1;
            land += isLand(p) ? 1 : 0;
        }
    }
    EXPECT_EQ(strays, 0);
    // About a third of an equirectangular world is land, Antarctica stretched.
    const double landShare = static_cast<double>(land) / (7200.0 * 3600.0);
    EXPECT_GT(landShare, 0.31);
    EXPECT_LT(landShare, 0.35);
}

TEST_F(WorldMap, LandAndSeaLieWhereTheyBelong) {
    const struct {
        double lon, lat;
        bool land;
        const char* place;
    } rows[] = {
        {134, -25, true, "central Australia"},
        {10, 23, true, "Sahara"},
        {70, 48, true, "Kazakhstan"},
        {-60, -5, true, "Amazon"},
        {-40, 72, true, "Greenland"},
        {0.5, 10, true, "Ghana, right of the 0° edge"},
        {-0.5, 10, true, "Ghana, left of the 0° edge"},
        {178, 68, true, "Chukotka, west of 180°"},
        {-175, 66.5, true, "Chukotka, east of 180°"},
        {178, -17.8, true, "Viti Levu, Fiji"},
        {179.9, 0, false, "Pacific at 180°"},
        {-175, 15, false, "Pacific"},
        {-175, 58, false, "Bering Sea"},
        {-20, -30, false, "South Atlantic"},
        {0.5, -40, false, "South Atlantic right of the 0° edge"},
        {-0.5, -40, false, "South Atlantic left of the 0° edge"},
        {80, -20, false, "Indian Ocean"},
        {51, 42, false, "Caspian Sea, a hole in Eurasia"},
        {0, 89.9, false, "Arctic Ocean"},
    };
    for (const auto& row : rows) EXPECT_EQ(isLand(at(row.lon, row.lat)), row.land) << row.place;
}

TEST_F(WorldMap, AntarcticaIsClosedAlongTheBottomEdge) {
    // The source's coast reaches 85.2°S in the Ross Sea; below it all is land.
    int seaRows = 0;
    for (int y = (90 + 86) * kPixelsPerDegree; y < map_->height(); ++y) {
        seaRows += rowHasSea(y) ? 1 : 0;
    }
    EXPECT_EQ(seaRows, 0);
    EXPECT_TRUE(isLand(at(0.01, -75)));  // Queen Maud Land on both edges
    EXPECT_TRUE(isLand(at(-0.01, -75)));
    EXPECT_TRUE(isLand(at(-100, -80)));  // West Antarctica
    EXPECT_FALSE(isLand(at(180, -75)));  // Ross Sea
}

TEST_F(WorldMap, NoLandBandCrossesTheMap) {
    // Every row from the Southern Ocean to the Arctic has sea somewhere.
    for (int y = 0; y < (90 + 60) * kPixelsPerDegree; ++y) {
        ASSERT_TRUE(rowHasSea(y)) << "row " << y << " is land all across";
    }
    // Open ocean along the latitudes of the rings that cross 180°.
    auto seaFrom = [](double lat, double fromLon, double toLon) {
        for (double lon = fromLon; lon <= toLon; lon += 1.0 / kPixelsPerDegree) {
            if (isLand(at(lon, lat))) return false;
        }
        return true;
    };
    const struct {
        double lat, fromLon, toLon;
        const char* place;
    } rows[] = {
        {-30, -170, -75, "South Pacific, 30°S"},
        {-16.5, 65, 90, "Indian Ocean, Fiji's latitude"},
        {-16.5, -30, -10, "South Atlantic, Fiji's latitude"},
        {66, -30, -25, "Denmark Strait, Chukotka's latitude"},
        {68, -5, 5, "Norwegian Sea"},
    };
    for (const auto& row : rows) EXPECT_TRUE(seaFrom(row.lat, row.fromLon, row.toLon)) << row.place;
}

}  // namespace
}  // namespace tcmap
