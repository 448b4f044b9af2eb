// Whole drawings of storms from several agencies: winds converted before
// they are coloured, one storm from a b-deck, a CMA and a JMA archive drawn
// as three styled tracks with their differences in the job log, the agency
// choice, and maps of one agency left as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "config/job_settings.h"
#include "i18n/language_pack.h"
#include "render/agency_comparison.h"
#include "render/canvas/picture.h"
#include "render/draw.h"
#include "render/layers/colour_scales.h"
#include "support/recording_canvas.h"
#include "support/recording_view.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

const std::string kData = TCMAP_SOURCE_DIR "/tests/data/";

class AgencyMap : public ::testing::Test {
  protected:
    TempFolder folder;
    std::shared_ptr<RecordingCanvas> canvas;
    std::unique_ptr<ProgressRecorder> view;
    DrawResult result;

    void SetUp() override {
        Picture map;
        ASSERT_EQ(map.create(360, 180, 0xFF204060, kPngFormatId), status::kOk);
        ASSERT_EQ(map.save(folder.file("map.png"), kPngFormatId), status::kOk);
    }

    void run(const std::string& sections, const std::vector<std::string>& files,
             const std::vector<std::shared_ptr<const Track>>& tracks = {}) {
        folder.put("Settings.ini",
                   "[Borvane4]\nNewColor=1\nWidthSpace=10\nHeightSpace=5\nWidth=50\nHeight=20\n" +
                       sections);
        DrawRequest request;
        request.settings = readJobSettings(folder.file("Settings.ini"), false);
        request.mapPath = folder.file("map.png");
        request.language = LanguagePack(TCMAP_SOURCE_DIR "/data", "en", "UTF-8", false);
        request.textLanguage = "en";
        for (const std::string& file : files) request.tracks.push_back({file, nullptr});
        for (const auto& track : tracks) request.tracks.push_back({"memory", track});
        request.openCanvas = [this](Picture& output) {
            canvas = std::make_shared<RecordingCanvas>(output.width(), output.height());
            return canvas;
        };
        view = std::make_unique<ProgressRecorder>();
        result = draw(request, *view);
        ASSERT_TRUE(result.drawn());
    }

    std::vector<std::string> progress() const { return view->textsOf(MessageKind::Progress); }

    // Each compared storm's heading and the three rows of its table under it.
    std::vector<std::string> comparisons() const {
        const std::vector<std::string> lines = progress();
        std::vector<std::string> table;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (!lines[i].starts_with("One storm from several agencies")) continue;
            for (size_t j = i; j < lines.size() && j <= i + 3; ++j) table.push_back(lines[j]);
        }
        return table;
    }

    std::set<std::vector<float>> dashPatterns() const {
        std::set<std::vector<float>> patterns;
        for (const RecordedCall& call : canvas->callsOf(CanvasOp::DrawLine)) {
            patterns.insert(call.pen->dashPattern);
        }
        return patterns;
    }

    bool drewText(const std::string& text) const {
        const std::vector<RecordedCall> texts = canvas->callsOf(CanvasOp::DrawText);
        return std::any_of(texts.begin(), texts.end(),
                           [&](const RecordedCall& call) { return call.text == text; });
    }

    std::set<Argb> fillColours() const {
        std::set<Argb> colours;
        for (const RecordedCall& call : canvas->calls()) {
            if (call.brush && call.op != CanvasOp::DrawText) colours.insert(*call.brush);
        }
        return colours;
    }
};

Fix jmaFix(const std::string& time, double lat, double lon, int wind) {
    Fix f;
    f.basin = "WP";
    f.number = "26";
    f.time = time;
    f.latitude = lat;
    f.longitude = lon;
    f.wind = wind;
    f.type = "TS";
    f.fields = 11;
    return f;
}

std::shared_ptr<const Track> jmaTrack(std::vector<int> winds) {
    auto track = std::make_shared<Track>();
    track->agency = "JMA";
    track->stormId = "1826";
    int hour = 0;
    for (const int wind : winds) {
        track->fixes.push_back(jmaFix("201810" + std::to_string(24 + hour / 24) +
                                          (hour % 24 < 10 ? "0" : "") + std::to_string(hour % 24) +
                                          "00",
                                      15 + hour / 6.0, 140 - hour / 6.0, wind));
        hour += 6;
    }
    return track;
}

}  // namespace

// JMA's 10-minute winds as 1-minute ones (factor 0.93): 60 kt is 64.5 and so
// a category 1 on the Saffir-Simpson scale; 59 kt is 63.4, still a storm.
TEST(WindConversion, AnAgencysWindsBecomeTheChosenAveraging) {
    const struct {
        const char* agency;
        const char* winds;
        int32_t wind;
        int32_t expected;
    } rows[] = {
        {"JMA", "1min", 60, 65},   {"JMA", "1min", 59, 63},  {"JMA", "as-given", 60, 60},
        {"CMA", "1min", 61, 63},   {"ATCF", "1min", 64, 64}, {"ATCF", "10min", 100, 93},
        {"JMA", "2min", 100, 104}, {"JMA", "1min", 0, 0},
    };
    for (const auto& row : rows) {
        AgencySettings settings;
        settings.winds = row.winds;
        AgencyComparison comparison(settings);
        Track track;
        track.agency = row.agency;
        EXPECT_EQ(comparison.mapWind(track, row.wind), row.expected)
            << row.agency << " " << row.wind << " as " << row.winds;
    }
}

TEST_F(AgencyMap, AFixAtABandEdgeChangesColourOnlyWhenItsWindsAreConverted) {
    const auto track = jmaTrack({59, 60});
    run("", {}, {track});
    EXPECT_EQ(fillColours(), (std::set<Argb>{toArgb(wendrelColour(34, true))}));
    run("[Agencies]\nWinds=1min\n", {}, {track});
    EXPECT_EQ(fillColours(),
              (std::set<Argb>{toArgb(wendrelColour(34, true)), toArgb(wendrelColour(64, true))}));
    // The older guidance factor (0.88) lifts even 58 kt over the edge: 66 kt.
    run("[Agencies]\nWinds=1min\nTenFromOneMinute=0.88\n", {}, {jmaTrack({58})});
    EXPECT_EQ(fillColours(), (std::set<Argb>{toArgb(wendrelColour(64, true))}));
}

TEST_F(AgencyMap, YutuFromThreeAgenciesIsThreeStyledTracksWithTheirDifferences) {
    const std::vector<std::string> files = {kData + "agencies/bwp312018.dat",
                                            kData + "archives/cma-2018-soulik-cimaron-yutu.txt",
                                            kData + "archives/jma-2018-eight-storms.txt"};
    run("[Archive]\nStorms=YUTU\n[Agencies]\nMarkDifferences=1\n", files);
    const std::vector<std::string> lines = comparisons();
    ASSERT_EQ(lines.size(), 4u) << ::testing::PrintToString(progress());
    EXPECT_TRUE(
        lines[0].starts_with("One storm from several agencies (ATCF, CMA, JMA), first fix "))
        << lines[0];
    EXPECT_TRUE(lines[1].starts_with("position  ")) << lines[1];
    EXPECT_TRUE(lines[2].starts_with("wind      ")) << lines[2];
    EXPECT_TRUE(lines[3].starts_with("pressure  ")) << lines[3];

    const std::set<std::vector<float>> expected = {{}, {4.0f, 3.0f}, {0.5f, 2.5f}};
    for (const std::vector<float>& pattern : expected) {
        EXPECT_TRUE(dashPatterns().count(pattern)) << ::testing::PrintToString(pattern);
    }
    for (const char* agency : {"ATCF", "CMA", "JMA"}) EXPECT_TRUE(drewText(agency)) << agency;
    // The mark on the map says the distance the log gives.
    const std::string km = lines[1].substr(10, lines[1].find(" km") - 10);
    EXPECT_GT(std::stoi(km), 0);
    EXPECT_TRUE(drewText(km + " km")) << km;
}

// Three agencies' tracks of Yutu are one storm in the title, not "3 storms",
// and its ACE is one track's, not the sum of three.
TEST_F(AgencyMap, TheTitleCountsAStormSeenByThreeAgenciesOnce) {
    const std::vector<std::string> files = {kData + "agencies/bwp312018.dat",
                                            kData + "archives/cma-2018-soulik-cimaron-yutu.txt",
                                            kData + "archives/jma-2018-eight-storms.txt"};
    run("[Archive]\nStorms=YUTU\n[Annotations]\nTitle=1\n", files);
    const std::vector<RecordedCall> texts = canvas->callsOf(CanvasOp::DrawText);
    const auto drew = [&](const std::string& part) {
        return std::any_of(texts.begin(), texts.end(), [&](const RecordedCall& call) {
            return call.text.find(part) != std::string::npos;
        });
    };
    EXPECT_FALSE(drew("storms")) << "the title counts tracks";
    EXPECT_TRUE(drew("(WP312018)")) << "the title names the b-deck's storm";
    EXPECT_TRUE(drew("ATCF, CMA, JMA 3 files")) << "every agency's file is a source";
}

TEST_F(AgencyMap, TheAgencyChoiceLeavesTheOthersOut) {
    const std::vector<std::string> files = {kData + "agencies/bwp312018.dat",
                                            kData + "archives/cma-2018-soulik-cimaron-yutu.txt",
                                            kData + "archives/jma-2018-eight-storms.txt"};
    run("[Archive]\nStorms=YUTU\n[Agencies]\nAgencies=cma,jma\n", files);
    const std::vector<std::string> lines = comparisons();
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(lines[0].starts_with("One storm from several agencies (CMA, JMA)")) << lines[0];
    EXPECT_FALSE(drewText("ATCF"));
    EXPECT_EQ(dashPatterns(), (std::set<std::vector<float>>{{}, {4.0f, 3.0f}}));
    for (const StormSummary& storm : result.storms) EXPECT_NE(storm.source, files[0]);
    // No distance is marked unless asked.
    for (const RecordedCall& call : canvas->callsOf(CanvasOp::DrawText)) {
        EXPECT_FALSE(call.text.ends_with(" km")) << call.text;
    }
}

// Several storms of one agency are not compared: the map is drawn as always.
TEST_F(AgencyMap, OneAgencysStormsAreDrawnAsAlways) {
    run("", {kData + "archives/jma-2018-eight-storms.txt"});
    EXPECT_TRUE(comparisons().empty());
    EXPECT_EQ(dashPatterns(), (std::set<std::vector<float>>{{}}));
    EXPECT_FALSE(drewText("JMA"));
}
