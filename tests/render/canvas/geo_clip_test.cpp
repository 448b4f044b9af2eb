// Cutting rings and lines to a box: inside the box a cut ring fills exactly
// what the whole ring fills, and a cut line keeps exactly its inside pieces.
#include "render/canvas/geo_clip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

using namespace tcmap;

namespace {

using Ring = std::vector<WorldPoint>;

// Even-odd: inside when a ray eastward crosses the rings an odd number of times.
bool inside(const std::vector<Ring>& rings, double lon, double lat) {
    bool in = false;
    for (const Ring& ring : rings) {
        for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
            const WorldPoint a = ring[i], b = ring[j];
            if ((a.lat > lat) != (b.lat > lat) &&
                lon < (b.lon - a.lon) * (lat - a.lat) / (b.lat - a.lat) + a.lon) {
                in = !in;
            }
        }
    }
    return in;
}

// Shapes a coast can take: a comb (deep bays), a spiral-like hook, a ring
// with its hole (filled together), and a bow-tie that crosses itself.
std::vector<std::vector<Ring>> awkwardShapes() {
    Ring comb{{0, 0}, {10, 0}, {10, 10}};
    for (int tooth = 4; tooth >= 0; --tooth) {
        comb.push_back({2.0 * tooth + 1.5, 10});
        comb.push_back({2.0 * tooth + 1.5, 2});
        comb.push_back({2.0 * tooth + 0.5, 2});
        comb.push_back({2.0 * tooth + 0.5, 10});
    }
    comb.push_back({0, 10});
    comb.push_back({0, 0});
    const Ring hook{{0, 0}, {10, 0}, {10, 10}, {2, 10}, {2, 4}, {7, 4}, {7, 7}, {5, 7}, {5, 6},
                    {6, 6}, {6, 5},  {3, 5},   {3, 9},  {9, 9}, {9, 1}, {0, 1}, {0, 0}};
    const Ring outer{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
    const Ring hole{{3, 3}, {7, 3}, {7, 7}, {3, 7}, {3, 3}};
    const Ring bowTie{{0, 0}, {10, 10}, {10, 0}, {0, 10}, {0, 0}};
    return {{comb}, {hook}, {outer, hole}, {bowTie}};
}

TEST(ClipRingToBox, FillsInsideTheBoxExactlyWhatTheWholeRingFills) {
    std::mt19937 random(27);
    std::uniform_real_distribution<double> corner(-2, 12);
    std::uniform_real_distribution<double> shift(-400, 400);
    int shapeIndex = 0;
    for (const std::vector<Ring>& rings : awkwardShapes()) {
        for (int trial = 0; trial < 40; ++trial) {
            double w = corner(random), e = corner(random), s = corner(random), n = corner(random);
            if (w > e) std::swap(w, e);
            if (s > n) std::swap(s, n);
            if (e - w < 0.5 || n - s < 0.5) continue;
            const double dx = std::round(shift(random));
            const GeoBox box{w + dx, s, e + dx, n};
            std::vector<Ring> cut;
            std::vector<WorldPoint> out, scratch;
            for (const Ring& ring : rings) {
                clipRingToBox(ring, dx, box, out, scratch);
                if (out.empty()) continue;
                EXPECT_EQ(out.front().lon, out.back().lon);
                EXPECT_EQ(out.front().lat, out.back().lat);
                cut.push_back(out);
            }
            // Sample points off the grid of the shapes' corners.
            for (double lon = w + 0.013; lon < e; lon += 0.17) {
                for (double lat = s + 0.011; lat < n; lat += 0.19) {
                    ASSERT_EQ(inside(cut, lon + dx, lat), inside(rings, lon, lat))
                        << "shape " << shapeIndex << ", box " << w << " " << s << " " << e << " "
                        << n << ", at " << lon << " " << lat;
                }
            }
        }
        ++shapeIndex;
    }
}

TEST(ClipRingToBox, GivesTheBoxForARingAroundItAndNothingForOneOutside) {
    const Ring square{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
    std::vector<WorldPoint> out, scratch;
    clipRingToBox(square, 0, {2, 3, 4, 5}, out, scratch);
    ASSERT_EQ(out.size(), 5u);
    for (const WorldPoint& p : out) {
        EXPECT_TRUE((p.lon == 2 || p.lon == 4) && (p.lat == 3 || p.lat == 5));
    }
    // An L round the box's corner: inside its bounds, never inside the box.
    const Ring ell{{0, 0}, {10, 0}, {10, 1}, {1, 1}, {1, 10}, {0, 10}, {0, 0}};
    clipRingToBox(ell, 0, {2, 2, 12, 12}, out, scratch);
    EXPECT_TRUE(out.empty());
    // A C round three sides: cut, only runs along the west side would remain.
    const Ring cee{{-5, -5}, {15, -5}, {15, -2}, {-2, -2}, {-2, 12},
                   {15, 12}, {15, 15}, {-5, 15}, {-5, -5}};
    clipRingToBox(cee, 0, {0, 0, 10, 10}, out, scratch);
    EXPECT_TRUE(out.empty());
    clipRingToBox(square, 0, {20, 0, 30, 10}, out, scratch);
    EXPECT_TRUE(out.empty());
    clipRingToBox(square, 360, {365, 0, 380, 10}, out, scratch);
    EXPECT_EQ(out.size(), 5u);
    clipRingToBox(Ring{{0, 0}, {1, 1}}, 0, {-5, -5, 5, 5}, out, scratch);
    EXPECT_TRUE(out.empty());
}

TEST(ClipLineToBox, KeepsThePiecesInside) {
    using Line = std::vector<std::pair<double, double>>;
    struct Row {
        const char* what;
        Line line;
        double shift;
        std::vector<Line> pieces;
    };
    const GeoBox box{0, 0, 10, 10};
    const std::vector<Row> rows = {
        {"wholly inside", {{1, 1}, {5, 5}, {9, 1}}, 0, {{{1, 1}, {5, 5}, {9, 1}}}},
        {"wholly outside", {{-5, 1}, {-1, 9}}, 0, {}},
        {"in and out", {{5, 5}, {15, 5}}, 0, {{{5, 5}, {10, 5}}}},
        {"out and in", {{-5, 5}, {5, 5}}, 0, {{{0, 5}, {5, 5}}}},
        {"through", {{-5, 5}, {15, 5}}, 0, {{{0, 5}, {10, 5}}}},
        {"out and back in",
         {{2, 5}, {12, 5}, {12, 8}, {2, 8}},
         0,
         {{{2, 5}, {10, 5}}, {{10, 8}, {2, 8}}}},
        {"passing the corner outside", {{9, 12}, {12, 9}}, 0, {}},
        {"touching the corner", {{5, 15}, {15, 5}}, 0, {}},
        {"across the corner", {{5, 14}, {14, 5}}, 0, {{{9, 10}, {10, 9}}}},
        {"along a side", {{-5, 0}, {15, 0}}, 0, {{{0, 0}, {10, 0}}}},
        {"moved a turn east", {{-355, 5}, {-345, 5}}, 360, {{{5, 5}, {10, 5}}}},
        {"one point", {{5, 5}}, 0, {}},
    };
    for (const Row& row : rows) {
        std::vector<WorldPoint> line;
        for (const auto& [lon, lat] : row.line) line.push_back({lon, lat});
        std::vector<BorderLine> pieces;
        clipLineToBox(line, row.shift, box, pieces);
        ASSERT_EQ(pieces.size(), row.pieces.size()) << row.what;
        for (size_t i = 0; i < pieces.size(); ++i) {
            ASSERT_EQ(pieces[i].size(), row.pieces[i].size()) << row.what;
            for (size_t k = 0; k < pieces[i].size(); ++k) {
                EXPECT_NEAR(pieces[i][k].lon, row.pieces[i][k].first, 1e-12) << row.what;
                EXPECT_NEAR(pieces[i][k].lat, row.pieces[i][k].second, 1e-12) << row.what;
            }
        }
    }
}

}  // namespace
