#include "render/layers/storm_names_layer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "i18n/language_pack.h"
#include "track/atcf_reader.h"

using namespace tcmap;

namespace {

// The Atlantic from 100°W to 0° and 60°N to the equator on a map of 16
// pixels a degree: 1600 x 960 pixels.
OutputGeometry atlanticFrame() {
    OutputGeometry frame;
    frame.mapWidth = 5760;
    frame.mapHeight = 2880;
    frame.minX = 260 * 16;
    frame.minY = 30 * 16;
    frame.outputWidth = 1600;
    frame.outputHeight = 960;
    return frame;
}

// Every best track of a folder as the draw job lists them: the fix table and
// the storms' rows in it.
struct Season {
    FixTable fixes;
    std::vector<MapStorm> storms;

    void add(const Track& track, const Projection& projection) {
        MapStorm storm;
        storm.stormId = track.stormId;
        storm.name = track.name;
        storm.firstFix = fixes.size();
        for (const Fix& fix : track.fixes) {
            fixes.seq.push_back(static_cast<int64_t>(fixes.size()));
            fixes.x.push_back(projection.fixX(fix.longitude, fix.longitude < 0));
            fixes.y.push_back(projection.fixY(fix.latitude));
            fixes.cls.push_back(0);
            fixes.type.push_back(fix.type);
            fixes.time.push_back(fix.time);
            fixes.stormId.push_back(fix.stormId());
            fixes.kind.push_back(static_cast<int32_t>(TrackFileKind::BestTrackFile));
            fixes.wind.push_back(fix.wind);
            fixes.continues.push_back(1);
            fixes.synoptic.push_back(1);
        }
        storm.fixCount = fixes.size() - storm.firstFix;
        storms.push_back(std::move(storm));
    }
};

}  // namespace

TEST(StormNames, NamesOfArchivesInTitleCase) {
    struct Row {
        const char* name;
        const char* id;
        const char* text;
    };
    const Row rows[] = {{"IAN", "AL092022", "Ian"},
                        {"", "AL092022", "AL092022"},
                        {"TWENTY-ONE", "AL212021", "Twenty-One"},
                        {"rose", "AL172021", "Rose"},
                        {"\xE5\x88\xA9\xE5\xA5\x87\xE9\xA9\xAC", "WP092019",
                         "\xE5\x88\xA9\xE5\xA5\x87\xE9\xA9\xAC"}};
    for (const Row& row : rows) {
        MapStorm storm;
        storm.name = row.name;
        storm.stormId = row.id;
        EXPECT_EQ(stormNameText(storm), row.text) << row.name;
    }
}

TEST(StormNames, ACrowdedSeasonKeepsEveryNameApart) {
    const OutputGeometry frame = atlanticFrame();
    Season season;
    const std::string folder = TCMAP_SOURCE_DIR "/tests/data/atlantic-2021-2022";
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    for (const std::string& file : files) {
        season.add(readAtcfFile(file, TrackFileKind::BestTrackFile), frame.projection());
    }
    ASSERT_GE(season.storms.size(), 30u);

    const JobSettings settings;
    const LanguagePack lang{TCMAP_SOURCE_DIR "/data", "en", "UTF-8", false};
    const LayerInput input{settings, false, frame, season.fixes, {}, lang, "", season.storms};
    // A legend in the lower left and a title in the upper left.
    const std::vector<TextBox> obstacles = {{0, 700, 320, 260}, {0, 0, 700, 90}};
    const std::vector<PlacedName> names = placeStormNames(input, obstacles, 960 / 55.0);

    // Most names find a place; none overlaps another, the legend or the title.
    EXPECT_GE(names.size(), season.storms.size() * 3 / 4);
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_TRUE(names[i].box.inside(1600, 960)) << names[i].text;
        for (const TextBox& obstacle : obstacles) {
            EXPECT_FALSE(names[i].box.intersects(obstacle)) << names[i].text;
        }
        for (size_t j = i + 1; j < names.size(); ++j) {
            EXPECT_FALSE(names[i].box.intersects(names[j].box))
                << names[i].text << " and " << names[j].text;
        }
    }
}

TEST(StormNames, BesideTheFirstFixOrTheStrongest) {
    // Two fixes on a 360 x 180 map shown whole: the first at (300, 90), the
    // peak at (100, 50).
    OutputGeometry frame;
    frame.mapWidth = 360;
    frame.mapHeight = 180;
    frame.outputWidth = 360;
    frame.outputHeight = 180;
    Season season;
    MapStorm storm;
    storm.name = "ABC";
    storm.fixCount = 2;
    season.storms = {storm};
    for (const auto& [x, y, wind] : {std::tuple{300.0, 90.0, 30}, std::tuple{100.0, 50.0, 90}}) {
        season.fixes.seq.push_back(static_cast<int64_t>(season.fixes.size()));
        season.fixes.x.push_back(x);
        season.fixes.y.push_back(y);
        season.fixes.kind.push_back(1);
        season.fixes.wind.push_back(wind);
    }
    const JobSettings settings;
    const LanguagePack lang{TCMAP_SOURCE_DIR "/data", "en", "UTF-8", false};
    const LayerInput input{settings, false, frame, season.fixes, {}, lang, "", season.storms};

    // Free: up and to the right of the first fix.
    std::vector<PlacedName> names = placeStormNames(input, {}, 10);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].text, "Abc");
    EXPECT_DOUBLE_EQ(names[0].box.x, 305);
    EXPECT_DOUBLE_EQ(names[0].box.bottom(), 87.5);

    // In the TCV style the id and time labels stand up right: up left.
    const LayerInput tcvInput{settings, true, frame, season.fixes, {}, lang, "", season.storms};
    names = placeStormNames(tcvInput, {}, 10);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_DOUBLE_EQ(names[0].box.right(), 295);
    EXPECT_DOUBLE_EQ(names[0].box.bottom(), 87.5);

    // Up right taken: down right.
    const std::vector<TextBox> upRight = {{300, 60, 60, 30}};
    names = placeStormNames(input, upRight, 10);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_DOUBLE_EQ(names[0].box.x, 305);
    EXPECT_DOUBLE_EQ(names[0].box.y, 92.5);

    // The first fix outside the picture: by the peak.
    frame.outputWidth = 250;
    names = placeStormNames(input, {}, 10);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_DOUBLE_EQ(names[0].box.x, 105);

    // Nowhere free: left out.
    const std::vector<TextBox> everything = {{0, 0, 360, 180}};
    EXPECT_TRUE(placeStormNames(input, everything, 10).empty());
}
