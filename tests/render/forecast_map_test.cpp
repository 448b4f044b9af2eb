// The forecaster's map end to end on real a-decks: which aids one cycle
// draws, the legend against the lines, the official forecast inside its
// cone, the messages of a missing cycle, official aid or radii, and a-decks
// known by their records in both styles.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "base/text_rules.h"
#include "config/job_settings.h"
#include "config/map_path.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"
#include "render/canvas/picture.h"
#include "render/draw.h"
#include "render/forecast_products.h"
#include "support/recording_canvas.h"
#include "support/recording_view.h"
#include "support/temp_folder.h"
#include "track/forecast_aids.h"
#include "track/forecast_deck.h"
#include "track/record_fields.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

const std::string kOtis = std::string(TCMAP_TEST_DATA_DIR) + "/forecast/aep182023-last-cycles.dat";
const std::string kSandyDeck = std::string(TCMAP_TEST_DATA_DIR) + "/track/atcf/aal182012-cut.fst";
const std::string kSandyBest = std::string(TCMAP_TEST_DATA_DIR) + "/track/atcf/bal182012.dat";
const std::string kConeRadii = std::string(TCMAP_SOURCE_DIR) + "/data/forecast/cone_radii.csv";

LanguagePack english() {
    return LanguagePack(std::string(TCMAP_SOURCE_DIR) + "/data", "en", "UTF-8", false);
}

// ForecastProducts with its messages kept.
struct Products {
    JobSettings settings;
    LanguagePack lang = english();
    std::vector<std::string> warnings;
    std::unique_ptr<ForecastProducts> products;

    explicit Products(const JobSettings& s, std::string radii = kConeRadii) : settings(s) {
        products = std::make_unique<ForecastProducts>(
            settings, lang, std::move(radii), [this](const std::string& message, bool warning) {
                if (warning) warnings.push_back(message);
            });
    }
    std::string text(TextId id, std::initializer_list<FormatArg> args) const {
        return safeFormat(lang.text(id), args);
    }
};

JobSettings cycleSettings(const std::string& cycle, bool cone = false) {
    JobSettings s;
    s.forecastCycle = cycle;
    s.cone = cone;
    return s;
}

// Even-odd ray casting: inside one of the outer rings.
bool inside(const GeoShape& shape, double lat, double lon) {
    for (const GeoPolygon& polygon : shape) {
        const GeoRing& ring = polygon.outer;
        bool in = false;
        for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
            const GeoPoint& a = ring[i];
            const GeoPoint& b = ring[j];
            if ((a.lat > lat) != (b.lat > lat) &&
                lon < (b.lon - a.lon) * (lat - a.lat) / (b.lat - a.lat) + a.lon) {
                in = !in;
            }
        }
        if (in) return true;
    }
    return false;
}

}  // namespace

// Aids drawn for the latest cycle: exactly the aids the file gives a position
// for in that cycle, less the intensity-only ones.
TEST(ForecastMap, TheLatestCycleDrawsItsPositionedAidsLessIntensityOnes) {
    Products p(cycleSettings("latest"));
    p.products->addDeck(kOtis, readForecastDeckFile(kOtis));
    std::set<std::string> expected;
    forEachRecordLine(readFileOrEmpty(kOtis), [&](std::string_view line) {
        const std::vector<std::string> f = splitText(line, ",");
        if (f.size() < 8 || trimText(f[2]) != "2023102518") return;
        const std::string aid = trimText(f[4]);
        const AidInfo info = aidInfo(aid);
        if (info.intensityOnly || info.notForecast) return;
        if (trimText(f[6]) == "0N" && trimText(f[7]) == "0W") return;
        expected.insert(aid);
    });
    std::set<std::string> drawn;
    for (const AidTrack& aid : p.products->scene().aids) drawn.insert(aid.aid);
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(drawn, expected);
    EXPECT_TRUE(p.warnings.empty());
    // The official forecast is drawn last, over the models.
    EXPECT_EQ(p.products->scene().aids.back().aid, "OFCL");
}

TEST(ForecastMap, OfficialPositionsLieInsideTheirCone) {
    Products p(cycleSettings("2012102900", true));
    const ForecastDeck deck = readForecastDeckFile(kSandyDeck);
    p.products->addDeck(kSandyDeck, deck);
    ASSERT_TRUE(p.warnings.empty()) << p.warnings.front();
    const ForecastScene& scene = p.products->scene();
    ASSERT_FALSE(scene.coneDays1to3.empty());
    ASSERT_FALSE(scene.coneDays4to5.empty());
    const ForecastCycle& cycle = deck.cycles.at("2012102900");
    const auto ofcl = std::find_if(cycle.aids.begin(), cycle.aids.end(),
                                   [](const AidTrack& a) { return a.aid == "OFCL"; });
    ASSERT_NE(ofcl, cycle.aids.end());
    int checked = 0;
    for (const AidPoint& point : ofcl->points) {
        if (point.hour > 120) continue;  // the radii end at 120 h
        const GeoShape& part = point.hour <= 72 ? scene.coneDays1to3 : scene.coneDays4to5;
        // Hour 0 has radius 0: test a point a hair along the track instead.
        if (point.hour == 0) continue;
        EXPECT_TRUE(inside(part, point.lat, point.lon) ||
                    inside(point.hour <= 72 ? scene.coneDays4to5 : scene.coneDays1to3, point.lat,
                           point.lon))
            << point.hour;
        ++checked;
    }
    EXPECT_GE(checked, 5);
    // A point well off the track is not.
    EXPECT_FALSE(inside(scene.coneDays1to3, ofcl->points[1].lat - 10, ofcl->points[1].lon));
}

TEST(ForecastMap, ProblemsAreOneClearMessageEach) {
    const std::string wpDeck =
        "WP, 05, 2024072600, 03, JTWC, 0, 200N, 1300E, 50, 990, TS, 34, NEQ, 0, 0, 0, 0, \n"
        "WP, 05, 2024072600, 03, JTWC, 24, 220N, 1280E, 60, 985, TY, 34, NEQ, 0, 0, 0, 0, \n";
    TextLines wpLines(wpDeck);
    const ForecastDeck wp = readForecastDeck(wpLines);
    const ForecastDeck sandy = readForecastDeckFile(kSandyDeck);
    Products missingCycle(cycleSettings("2012103000"));
    missingCycle.products->addDeck("a.dat", sandy);
    Products noOfficial(cycleSettings("2012102012", true));
    noOfficial.products->addDeck("a.dat", sandy);
    Products namedAidAbsent(cycleSettings("2012102012", true));
    namedAidAbsent.settings.coneAid = "zzzz";
    namedAidAbsent.products->addDeck("a.dat", sandy);
    Products noRadii(cycleSettings("latest", true));
    noRadii.products->addDeck("w1.dat", wp);
    noRadii.products->addDeck("w2.dat", wp);
    Products badAids(cycleSettings("latest"));
    badAids.settings.forecastAids = "global,!!";
    badAids.products->addDeck("a.dat", sandy);
    badAids.products->addDeck("b.dat", sandy);
    Products radiiMissing(cycleSettings("2012102900", true), "/nonexistent/cone_radii.csv");
    radiiMissing.products->addDeck("a.dat", sandy);

    const std::string cycles = cycleListText(sandy);
    EXPECT_NE(cycles.find("2012102012"), std::string::npos);
    const struct {
        const Products& p;
        std::vector<std::string> warnings;
    } rows[] = {
        {missingCycle,
         {missingCycle.text(TextId::ForecastCycleMissing, {"a.dat", "2012103000", cycles})}},
        {noOfficial,
         {noOfficial.text(TextId::ForecastNoOfficialAid, {"a.dat", "2012102012", "OFCL"})}},
        {namedAidAbsent,
         {namedAidAbsent.text(TextId::ForecastNoOfficialAid, {"a.dat", "2012102012", "ZZZZ"})}},
        {noRadii, {noRadii.text(TextId::ForecastNoConeRadii, {"WP"})}},
    };
    for (const auto& row : rows) EXPECT_EQ(row.p.warnings, row.warnings);
    // A bad aids setting: said once for the job, naming the bad part.
    ASSERT_EQ(badAids.warnings.size(), 1u);
    EXPECT_NE(badAids.warnings.front().find("!!"), std::string::npos);
    EXPECT_TRUE(badAids.products->scene().aids.empty());
    // No radii file: it is named, then the basin it leaves without a cone.
    ASSERT_EQ(radiiMissing.warnings.size(), 2u);
    EXPECT_NE(radiiMissing.warnings[0].find("/nonexistent/cone_radii.csv"), std::string::npos);
    EXPECT_EQ(radiiMissing.warnings[1], radiiMissing.text(TextId::ForecastNoConeRadii, {"AL"}));
    EXPECT_TRUE(radiiMissing.products->scene().coneDays1to3.empty());
    // The cycle missing draws nothing of the file.
    EXPECT_TRUE(missingCycle.products->scene().aids.empty());
}

TEST(ForecastMap, SwathFixesCarryEachThresholdInItsSlot) {
    Track track;
    Fix a;
    a.time = "201210291800";
    a.latitude = 38;
    a.longitude = -74;
    a.radii = {{34, {100, 200, 300, 400}}, {64, {10, 20, 30, 40}}};
    Fix b = a;
    b.time = "2012103000";
    b.radii.clear();
    Fix bad = a;
    bad.time = "2012XX3000";
    track.fixes = {a, b, bad};
    const std::vector<SwathFix> fixes = swathFixes(track);
    ASSERT_EQ(fixes.size(), 2u);
    EXPECT_DOUBLE_EQ(fixes[1].hour - fixes[0].hour, 6.0);
    EXPECT_EQ(fixes[0].radiiNm[0], (std::array<double, 4>{100, 200, 300, 400}));
    EXPECT_EQ(fixes[0].radiiNm[1], (std::array<double, 4>{0, 0, 0, 0}));
    EXPECT_EQ(fixes[0].radiiNm[2], (std::array<double, 4>{10, 20, 30, 40}));
    EXPECT_EQ(fixes[1].radiiNm[0], (std::array<double, 4>{0, 0, 0, 0}));
}

namespace {

// A whole job on a 360 x 180 map (a degree a pixel) drawn on a recording
// canvas.
class ForecastJobTest : public ::testing::Test {
  protected:
    TempFolder folder;
    std::shared_ptr<RecordingCanvas> canvas;
    DrawResult result;

    void run(bool tcv, const std::string& forecast, std::vector<std::string> files,
             DrawMode mode = DrawMode::Normal) {
        Picture map;
        ASSERT_EQ(map.create(360, 180, 0xFF204060, kPngFormatId), status::kOk);
        ASSERT_EQ(map.save(folder.file("map.png"), kPngFormatId), status::kOk);
        folder.put("Settings.ini",
                   "[Borvane4]\nWidthSpace1=10\nHeightSpace1=5\nWidth1=50\n"
                   "Height1=20\nWidthSpace=10\nHeightSpace=5\nWidth=50\n"
                   "Height=20\n[Forecast]\n" +
                       forecast);
        DrawRequest request;
        request.style = tcv ? RenderStyle::Tcv : RenderStyle::Wendrel;
        request.mode = mode;
        request.settings = readJobSettings(folder.file("Settings.ini"), tcv);
        request.mapPath = resolveMapPath(folder.file("map.png"), folder.path());
        request.coneRadiiPath = kConeRadii;
        request.language = english();
        request.textLanguage = "en";
        for (const std::string& file : files) request.tracks.push_back({file, nullptr});
        request.openCanvas = [this](Picture& output) {
            canvas = std::make_shared<RecordingCanvas>(output.width(), output.height());
            return canvas;
        };
        ProgressRecorder progress;
        result = draw(request, progress);
    }

    bool said(const std::string& text) const {
        return std::any_of(result.messages.begin(), result.messages.end(),
                           [&](const DrawMessage& m) { return m.text == text; });
    }
};

}  // namespace

// Every colour of the aid legend is the colour of a line on the map, or of
// the dot of an aid that gives one position only.
TEST_F(ForecastJobTest, EveryLegendColourIsALineOnTheMap) {
    run(true, "Cycle=latest\nCone=1\n", {kOtis});
    ASSERT_TRUE(result.drawn());
    ASSERT_TRUE(canvas);
    const std::vector<RecordedCall>& calls = canvas->calls();
    std::set<std::string> names;
    const ForecastDeck deck = readForecastDeckFile(kOtis);
    for (const AidTrack& aid : deck.cycles.rbegin()->second.aids) {
        names.insert(aid.aid);
    }
    size_t legendStart = calls.size();
    std::vector<Argb> legendColours;
    for (size_t i = 1; i < calls.size(); ++i) {
        if (calls[i].op != CanvasOp::DrawText || names.count(calls[i].text) == 0) continue;
        ASSERT_EQ(calls[i - 1].op, CanvasOp::DrawLine) << calls[i].text;
        legendColours.push_back(calls[i - 1].pen->colour & 0xFFFFFF);
        legendStart = std::min(legendStart, i - 1);
    }
    ASSERT_GE(legendColours.size(), 10u);
    for (const Argb colour : legendColours) {
        const bool onMap =
            std::any_of(calls.begin(), calls.begin() + legendStart, [&](const RecordedCall& c) {
                if (c.op == CanvasOp::FillEllipse) return (*c.brush & 0xFFFFFF) == colour;
                return c.op == CanvasOp::DrawLine && (c.pen->colour & 0xFFFFFF) == colour;
            });
        EXPECT_TRUE(onMap) << std::hex << colour;
    }
    // The cone is filled under the aids.
    EXPECT_GE(canvas->count(CanvasOp::FillPolygon), 1u);
}

TEST_F(ForecastJobTest, AnADeckIsKnownByItsRecordsWhateverItsName) {
    const std::string deck = folder.put("aal182012.dat", readFileOrEmpty(kSandyDeck));
    // Wendrel: skipped, saying that forecasts take the TCV style.
    run(false, "", {deck, kSandyBest});
    const LanguagePack lang = english();
    EXPECT_TRUE(said(safeFormat(lang.text(TextId::UnsupportedFile), {deck})));
    EXPECT_TRUE(said(safeFormat(lang.text(TextId::ForecastNeedsTcv), {deck})));
    ASSERT_EQ(result.storms.size(), 1u);  // the best track alone
    EXPECT_EQ(result.storms[0].source, kSandyBest);
    // TCV, every cycle: read as forecasts, as a .fst always was, so no storm
    // statistics come from it.
    run(true, "Cycle=all\n", {deck});
    EXPECT_TRUE(result.drawn());
    EXPECT_TRUE(result.storms.empty());
    // A best track stays a best track.
    run(true, "Cycle=latest\nSwath=1\n", {kSandyBest});
    ASSERT_EQ(result.storms.size(), 1u);
    EXPECT_GE(canvas->count(CanvasOp::FillPolygon), 3u);  // a shade per wind threshold
}

TEST_F(ForecastJobTest, TheDefaultSettingsDrawEveryRecordAsBefore) {
    // No [Forecast] keys: every cycle as tracks, no cone, no swath, no legend.
    run(true, "", {kSandyDeck, kSandyBest});
    ASSERT_TRUE(result.drawn());
    EXPECT_EQ(canvas->count(CanvasOp::FillPolygon), 0u);
    for (const RecordedCall& call : canvas->callsOf(CanvasOp::DrawText)) {
        EXPECT_NE(call.text, "OFCL");
    }
}

// A map of one cycle is titled with the storm and the cycle, though its aids
// are no best track.
TEST_F(ForecastJobTest, AOneCycleMapIsTitledWithItsStormAndCycle) {
    run(true, "Cycle=latest\n[Annotations]\nTitle=1\n", {kOtis});
    ASSERT_TRUE(result.drawn());
    std::set<std::string> texts;
    for (const RecordedCall& call : canvas->callsOf(CanvasOp::DrawText)) texts.insert(call.text);
    EXPECT_TRUE(texts.contains("EP182023")) << ::testing::PrintToString(texts);
    EXPECT_TRUE(texts.contains("Forecast from 2023-10-25 18 UTC"))
        << ::testing::PrintToString(texts);
}
