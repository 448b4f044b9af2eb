#include "render/layers/title_block.h"

#include <gtest/gtest.h>

#include "i18n/language_pack.h"

using namespace tcmap;

namespace {

MapStorm bestTrack(std::string id, std::string name, std::string first, std::string last,
                   StormStatistics statistics, std::string source) {
    MapStorm storm;
    storm.stormId = std::move(id);
    storm.name = std::move(name);
    storm.basin = storm.stormId.substr(0, 2);
    storm.agency = "ATCF";
    storm.source = std::move(source);
    storm.firstTime = std::move(first);
    storm.lastTime = std::move(last);
    storm.statistics = statistics;
    return storm;
}

const MapStorm kIan = bestTrack("AL092022", "IAN", "202209221800", "202210010600",
                                {140, 937, 17.52}, "/data/bal092022.dat");
const MapStorm kSam = bestTrack("AL182021", "SAM", "202109220000", "202110061800", {135, 927, 53.8},
                                "/data/bal182021.dat");

MapStorm forecast() {
    MapStorm storm;
    storm.stormId = "EP182023";
    storm.basin = "EP";
    storm.agency = "ATCF";
    storm.source = "aep182023.dat";
    storm.forecast = true;
    storm.firstTime = storm.lastTime = "2023102406";
    return storm;
}

}  // namespace

TEST(TitleBlock, LinesOfTheStormsOnTheMap) {
    const LanguagePack en{TCMAP_SOURCE_DIR "/data", "en", "UTF-8", false};
    const LanguagePack zh{TCMAP_SOURCE_DIR "/data", "zh-cn", "UTF-8", false};
    struct Row {
        const char* what;
        std::vector<MapStorm> storms;
        const LanguagePack& lang;
        std::string titleText;
        TitleLines expected;
    };
    const Row rows[] = {
        {"one storm: name, id, period and peak",
         {kIan},
         en,
         "",
         {"Ian (AL092022)  2022-09-22 \xE2\x80\x93 2022-10-01",
          "140 kt \xE2\x80\xA2 937 hPa \xE2\x80\xA2 17.5 ACE", "Source: ATCF bal092022.dat"}},
        {"a season: years, basin, count; the strongest peak, the lowest low, ACE added",
         {kSam, kIan},
         en,
         "",
         {"2021\xE2\x80\x93"
          "2022 Atlantic season \xE2\x80\xA2 2 storms  2021-09-22 \xE2\x80\x93 "
          "2022-10-01",
          "140 kt \xE2\x80\xA2 927 hPa \xE2\x80\xA2 71.3 ACE", "Source: ATCF 2 files"}},
        {"the same in Chinese",
         {kSam, kIan},
         zh,
         "",
         {"2021\xE2\x80\x93"
          "2022年大西洋风季 \xE2\x80\xA2 2 个风暴  2021-09-22 \xE2\x80\x93 "
          "2022-10-01",
          "140 kt \xE2\x80\xA2 927 hPa \xE2\x80\xA2 71.3 ACE", "数据来源：ATCF 2 files"}},
        {"a forecast alone: its id and cycle",
         {forecast()},
         en,
         "",
         {"EP182023", "Forecast from 2023-10-24 06 UTC", "Source: ATCF aep182023.dat"}},
        {"a best track with its forecast",
         {kIan, forecast()},
         en,
         "",
         {"Ian (AL092022)  2022-09-22 \xE2\x80\x93 2022-10-01",
          "140 kt \xE2\x80\xA2 937 hPa \xE2\x80\xA2 17.5 ACE \xE2\x80\xA2 Forecast from "
          "2023-10-24 06 UTC",
          "Source: ATCF 2 files"}},
        {"the setting's text replaces the first two lines",
         {kIan},
         en,
         "Hurricane Ian",
         {"Hurricane Ian", "", "Source: ATCF bal092022.dat"}},
        {"no storm: nothing", {}, en, "", {"", "", ""}},
    };
    for (const Row& row : rows) {
        const TitleLines lines = titleLines(row.storms, row.lang, row.titleText);
        EXPECT_EQ(lines.headline, row.expected.headline) << row.what;
        EXPECT_EQ(lines.details, row.expected.details) << row.what;
        EXPECT_EQ(lines.source, row.expected.source) << row.what;
    }
}

TEST(TitleBlock, TopLeftOrTopRightBesideTheLegend) {
    const TitleLines lines{"Ian (AL092022)", "140 kt", "Source: ATCF"};
    for (const LegendCorner legend : {LegendCorner::None, LegendCorner::UpperLeft,
                                      LegendCorner::LowerLeft, LegendCorner::UpperRight}) {
        const TitleBlock block = layoutTitle(lines, 1800, 900, legend);
        ASSERT_EQ(block.lines.size(), 3u);
        const bool right = legend == LegendCorner::UpperLeft;
        EXPECT_EQ(block.area.y, 0);
        EXPECT_EQ(right ? block.area.right() : block.area.x, right ? 1800 : 0);
        double previousBottom = 0;
        for (const TitleLine& line : block.lines) {
            // Each line inside the backing, below the one before, smaller.
            EXPECT_GE(line.box.x, block.area.x);
            EXPECT_LE(line.box.right(), block.area.right() + 1e-9);
            EXPECT_GE(line.box.y, previousBottom);
            EXPECT_LE(line.box.bottom(), block.area.bottom());
            previousBottom = line.box.bottom();
        }
        EXPECT_GT(block.lines[0].em, block.lines[1].em);
        EXPECT_GT(block.lines[1].em, block.lines[2].em);
    }
    // Empty lines take no room.
    EXPECT_EQ(layoutTitle({"Only", "", ""}, 1800, 900, LegendCorner::None).lines.size(), 1u);
    EXPECT_TRUE(layoutTitle({}, 1800, 900, LegendCorner::None).lines.empty());
}

TEST(TitleBlock, DatesOfTimes) {
    const struct {
        const char* time;
        bool withHour;
        const char* date;
    } rows[] = {
        {"202209221800", false, "2022-09-22"},
        {"2023102406", true, "2023-10-24 06"},
        {"20231024", true, "2023-10-24"},
        {"2023", false, "2023"},
    };
    for (const auto& row : rows) EXPECT_EQ(dateText(row.time, row.withHour), row.date) << row.time;
}
