// A drawing is a function of its request: different storms drawn on two
// threads at once, round after round, in both styles and all three modes,
// through one shared map cache, give exactly the bytes each gives drawn
// alone. The storms are cases of the reference pictures (tests/visual/).
#include <gtest/gtest.h>

#include <cstdint>
#include <latch>
#include <string>
#include <thread>
#include <vector>

#include "app/startup_state.h"
#include "config/job_settings.h"
#include "config/map_path.h"
#include "i18n/language_pack.h"
#include "render/canvas/decoded_map_cache.h"
#include "render/canvas/font_aliases.h"
#include "render/canvas/picture.h"
#include "render/draw.h"
#include "support/temp_folder.h"
#include "visual/visual_case.h"

using namespace tcmap;
using tcmap::testing::readVisualCase;
using tcmap::testing::TempFolder;
using tcmap::testing::VisualCase;

namespace {

const std::string kSourceData = TCMAP_SOURCE_DIR "/data";
const std::string kVisual = TCMAP_SOURCE_DIR "/tests/visual";

// Tcv and Wendrel; Normal, Global and Regional; the small map and the big
// one; best tracks, forecasts, HURDAT2 and IBTrACS archives; radii, grid,
// labels and Chinese label text.
const std::vector<std::string> kCases = {
    "normal-tcv-notext-small-map-north-indian-en",
    "global-wendrel-ibtracs-active-small-map",
    "normal-tcv-radii-tropical-grid-teddy-en",
    "normal-wendrel-priority2-patricia-hurdat2-en",
    "regional-tcv-adeck-sandy-en",
    "normal-tcv-forecast-allpoints-zeta-zh-labels",
};

// Rounds each thread draws every case in.
constexpr int kRounds = 5;

class QuietProgress : public DrawProgress {
  public:
    void message(const DrawMessage&) override {}
    void infoLine(const StormStatistics&, const std::string*) override {}
};

// The request batch mode makes for the case (draw_setup.cpp), its files read
// where they lie: the maps from tests/visual/maps/ or else the data folder.
DrawRequest requestOf(const VisualCase& c, MapCache& cache) {
    const std::string settingsPath = c.folder + "/" + c.settings;
    const StyleChoice style = readStyleChoice(settingsPath);
    DrawRequest request;
    request.style = style.tcv ? RenderStyle::Tcv : RenderStyle::Wendrel;
    request.mode = c.mode;
    request.region = c.regionParts;
    request.settings = readJobSettings(settingsPath, style.tcv);
    request.mapPath = resolveMapPath(style.map(), kVisual, kSourceData);
    request.gridDataPath = kSourceData + "/GridData";
    request.language = LanguagePack(kSourceData, "en", "UTF-8", false);
    request.textLanguage = "en";
    for (const std::string& track : c.tracks)
        request.tracks.push_back({c.folder + "/" + track, {}});
    request.mapCache = &cache;
    return request;
}

// What a drawing gives that a caller keeps: the PNG, the messages, the totals.
struct Drawn {
    DrawOutcome outcome = DrawOutcome::NoFix;
    std::vector<uint8_t> png;
    std::vector<std::string> messages;
    int32_t peakWind = 0;
    int32_t lowestPressure = 0;
    double ace = 0;

    bool operator==(const Drawn&) const = default;
};

Drawn drawOnce(const DrawRequest& request) {
    QuietProgress progress;
    const DrawResult result = draw(request, progress);
    Drawn drawn;
    drawn.outcome = result.outcome;
    if (result.drawn()) result.picture.encode(kPngFormatId, drawn.png);
    for (const DrawMessage& m : result.messages) {
        drawn.messages.push_back(std::to_string(static_cast<int>(m.kind)) + " " +
                                 std::to_string(m.colour) + " " + m.text);
    }
    drawn.peakWind = result.total.peakWind;
    drawn.lowestPressure = result.total.lowestPressure;
    drawn.ace = result.total.ace;
    return drawn;
}

TEST(Reentrancy, TwoThreadsDrawEachStormAsItIsDrawnAlone) {
    ASSERT_TRUE(loadFontAliases(kSourceData));
    TempFolder cacheFolder;
    MapCache cache(cacheFolder.path(), std::chrono::nanoseconds(0));

    std::vector<DrawRequest> requests;
    std::vector<Drawn> alone;
    for (const std::string& name : kCases) {
        const VisualCase c = readVisualCase(kVisual + "/" + name);
        ASSERT_TRUE(c.problem.empty()) << name << ": " << c.problem;
        requests.push_back(requestOf(c, cache));
        alone.push_back(drawOnce(requests.back()));
        ASSERT_EQ(alone.back().outcome, DrawOutcome::Drawn) << name;
        ASSERT_FALSE(alone.back().png.empty()) << name;
    }

    // Thread 0 draws the cases in order, thread 1 in reverse, so different
    // storms, styles and maps overlap; both start at the same moment.
    const size_t count = requests.size();
    std::vector<std::vector<Drawn>> together(2, std::vector<Drawn>(count * kRounds));
    std::latch start(2);
    auto work = [&](int thread) {
        start.arrive_and_wait();
        for (int round = 0; round < kRounds; ++round) {
            for (size_t i = 0; i < count; ++i) {
                const size_t which = thread == 0 ? i : count - 1 - i;
                together[thread][round * count + which] = drawOnce(requests[which]);
            }
        }
    };
    std::thread first(work, 0);
    std::thread second(work, 1);
    first.join();
    second.join();

    for (int thread = 0; thread < 2; ++thread) {
        for (int round = 0; round < kRounds; ++round) {
            for (size_t i = 0; i < count; ++i) {
                const Drawn& drawn = together[thread][round * count + i];
                EXPECT_TRUE(drawn == alone[i])
                    << kCases[i] << ", thread " << thread << ", round " << round
                    << (drawn.png == alone[i].png ? ": same picture, other messages or totals"
                                                  : ": other picture bytes");
            }
        }
    }
}

}  // namespace
