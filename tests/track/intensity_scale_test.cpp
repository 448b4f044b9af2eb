// The intensity scales' band edges against the agencies' definitions, and the
// wind-averaging conversion.
#include "track/intensity_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "track/cma_archive.h"
#include "track/wind_averaging.h"

using namespace tcmap;

namespace {

struct Edge {
    int32_t windKt;
    int band;
    std::string code;  // of that band; empty below the first
};

void expectEdges(const IntensityScale& scale, const std::vector<Edge>& edges) {
    for (const Edge& e : edges) {
        EXPECT_EQ(scale.bandOf(e.windKt), e.band) << scale.id << " " << e.windKt << " kt";
        if (e.band > 0) {
            EXPECT_EQ(scale.bands[static_cast<size_t>(e.band - 1)].code, e.code) << e.windKt;
        }
    }
}

// GB/T 19201-2006: the band of a wind in m/s to 0.1 m/s.
int cmaBandOfMetresPerSecond(double metresPerSecond) {
    const double lower[] = {10.8, 17.2, 24.5, 32.7, 41.5, 51.0};
    int band = 0;
    for (const double edge : lower) {
        if (metresPerSecond + 1e-9 < edge) break;
        ++band;
    }
    return band;
}

}  // namespace

TEST(IntensityScale, EachBandsEdgesOfTheCmaAndJmaScales) {
    expectEdges(cmaScale(), {{20, 0, ""},
                             {21, 1, "TD"},
                             {33, 1, "TD"},
                             {34, 2, "TS"},
                             {47, 2, "TS"},
                             {48, 3, "STS"},
                             {63, 3, "STS"},
                             {64, 4, "TY"},
                             {80, 4, "TY"},
                             {81, 5, "STY"},
                             {98, 5, "STY"},
                             {99, 6, "SuperTY"},
                             {std::numeric_limits<int32_t>::max(), 6, "SuperTY"}});
    expectEdges(jmaScale(), {{0, 0, ""},
                             {1, 1, "TD"},
                             {33, 1, "TD"},
                             {34, 2, "TS"},
                             {47, 2, "TS"},
                             {48, 3, "STS"},
                             {63, 3, "STS"},
                             {64, 4, "TY"},
                             {84, 4, "TY"},
                             {85, 5, "VSTY"},
                             {104, 5, "VSTY"},
                             {105, 6, "VTY"},
                             {-3, 0, ""}});
    expectEdges(saffirSimpsonScale(), {{0, 0, ""},
                                       {1, 1, "TD"},
                                       {33, 1, "TD"},
                                       {34, 2, "TS"},
                                       {63, 2, "TS"},
                                       {64, 3, "C1"},
                                       {136, 6, "C4"},
                                       {137, 7, "C5"}});
}

// A CMA file's whole m/s winds, as the reader turns them into knots, fall in
// the band of their m/s value; any other wind in knots falls in the band of
// its value in m/s to the standard's 0.1 m/s, except 99 kt (50.93 m/s).
TEST(IntensityScale, CmaEdgesAgreeWithTheStandardInMetresPerSecond) {
    for (int32_t ms = 0; ms <= 90; ++ms) {
        EXPECT_EQ(cmaScale().bandOf(knotsFromMetresPerSecond(ms)), cmaBandOfMetresPerSecond(ms))
            << ms << " m/s";
    }
    for (int32_t kt = 0; kt <= 200; ++kt) {
        const double ms = std::floor(kt * 0.514444 * 10 + 0.5) / 10;
        if (kt == 99) continue;
        EXPECT_EQ(cmaScale().bandOf(kt), cmaBandOfMetresPerSecond(ms)) << kt << " kt";
    }
    EXPECT_EQ(cmaBandOfMetresPerSecond(std::floor(99 * 0.514444 * 10 + 0.5) / 10), 5);
    EXPECT_EQ(cmaScale().bandOf(99), 6);
}

TEST(IntensityScale, EveryScaleHasNamesCodesAndAColourPerBand) {
    for (const IntensityScale* scale : intensityScales()) {
        EXPECT_EQ(intensityScaleNamed(scale->id), scale);
        ASSERT_FALSE(scale->palettes.empty()) << scale->id;
        std::set<std::string> codes;
        int32_t previous = std::numeric_limits<int32_t>::min();
        for (const IntensityBand& band : scale->bands) {
            EXPECT_GT(band.lowerKt, previous) << scale->id << " " << band.code;
            previous = band.lowerKt;
            EXPECT_FALSE(band.english.empty() || band.chinese.empty()) << band.code;
            EXPECT_TRUE(codes.insert(std::string(band.code)).second) << band.code;
        }
        for (const ScalePalette& palette : scale->palettes) {
            EXPECT_EQ(palette.bands.size(), scale->bands.size()) << scale->id << palette.id;
            EXPECT_EQ(scale->paletteNamed(palette.id), &palette);
            // Neighbouring bands never share a colour.
            for (size_t i = 1; i < palette.bands.size(); ++i) {
                EXPECT_FALSE(palette.bands[i] == palette.bands[i - 1]) << palette.id << i;
            }
        }
    }
    EXPECT_EQ(intensityScaleNamed(" CMA "), &cmaScale());
    EXPECT_EQ(intensityScaleNamed("hko"), nullptr);
    EXPECT_EQ(saffirSimpsonScale().paletteNamed("nothing"), nullptr);
    // A palette out of range is the default one; only the TCV palette sets
    // the non-tropical types apart, and only in the two weakest bands.
    const IntensityScale& ss = saffirSimpsonScale();
    EXPECT_EQ(ss.colourOf(70, "", 99), ss.colourOf(70));
    EXPECT_EQ(ss.colourOf(20, "SS", 2), (ScaleColour{0, 0, 255}));
    EXPECT_EQ(ss.colourOf(70, "SS", 2), (ScaleColour{255, 255, 0}));
    EXPECT_EQ(ss.colourOf(20, "SS", 0), ss.colourOf(20, "", 0));
    EXPECT_EQ(cmaScale().colourOf(20, "EX"), (ScaleColour{128, 128, 128}));
}

TEST(WindAveraging, ConvertingThroughTheTenMinuteWind) {
    struct Case {
        int32_t wind;
        WindAveraging from, to;
        int32_t converted;
    };
    using enum WindAveraging;
    for (const Case& c : std::vector<Case>{
             {100, OneMinute, TenMinute, 93},
             {64, TenMinute, OneMinute, 69},    // 68.8
             {105, TenMinute, OneMinute, 113},  // 112.9: JMA's violent is a category 4
             {50, TwoMinute, TenMinute, 48},    // 48.0
             {100, OneMinute, TwoMinute, 97},   // 96.9
             {33, TwoMinute, OneMinute, 34},    // 34.1
             {40, ThreeMinute, TenMinute, 39},  // 38.8
             {120, OneMinute, OneMinute, 120},
             {120, AsGiven, TenMinute, 120},
             {120, OneMinute, AsGiven, 120},
             {0, TenMinute, OneMinute, 0},  // no wind given
             {-5, OneMinute, TenMinute, -5},
         }) {
        EXPECT_EQ(convertWind(c.wind, c.from, c.to), c.converted)
            << c.wind << " " << windAveragingName(c.from) << " -> " << windAveragingName(c.to);
    }
    // The factor is a setting; one that is not a positive number is not used.
    WindAveragingFactors older;
    older.tenFromOneMinute = 0.88;
    EXPECT_EQ(convertWind(100, OneMinute, TenMinute, older), 88);
    for (const double bad : {0.0, -1.0, std::nan("")}) {
        WindAveragingFactors broken;
        broken.tenFromOneMinute = bad;
        EXPECT_EQ(convertWind(100, OneMinute, TenMinute, broken), 100) << bad;
    }
    EXPECT_EQ(convertWind(std::numeric_limits<int32_t>::max(), TenMinute, OneMinute),
              std::numeric_limits<int32_t>::max());
    // There and back stays within a knot.
    for (int32_t wind = 1; wind <= 200; ++wind) {
        EXPECT_NEAR(convertWind(convertWind(wind, OneMinute, TenMinute), TenMinute, OneMinute),
                    wind, 1)
            << wind;
    }
}

TEST(WindAveraging, EachAgencysOwnAveragingAndTheChoicesNames) {
    using enum WindAveraging;
    struct Case {
        std::string agency;
        WindAveraging averaging;
    };
    for (const Case& c : std::vector<Case>{{"ATCF", OneMinute},
                                           {"HURDAT2", OneMinute},
                                           {"usa", OneMinute},
                                           {"CMA", TwoMinute},
                                           {"NEWDELHI", ThreeMinute},
                                           {"JMA", TenMinute},
                                           {"TOKYO", TenMinute},
                                           {"HKO", TenMinute},
                                           {"BOM", TenMinute},
                                           {"IBTrACS", AsGiven},
                                           {"DS824", AsGiven},
                                           {"", AsGiven}}) {
        EXPECT_EQ(nativeAveraging(c.agency), c.averaging) << c.agency;
    }
    for (const WindAveraging averaging : {OneMinute, TwoMinute, ThreeMinute, TenMinute, AsGiven}) {
        EXPECT_EQ(windAveragingNamed(windAveragingName(averaging)), averaging);
    }
    EXPECT_EQ(windAveragingNamed(" 10MIN "), TenMinute);
    EXPECT_EQ(windAveragingNamed("5min"), std::nullopt);
    EXPECT_EQ(cmaScale().averaging, TwoMinute);
    EXPECT_EQ(jmaScale().averaging, TenMinute);
}
