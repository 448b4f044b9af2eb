#include "track/forecast_aids.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "track_test_files.h"

using namespace tcmap;

namespace {

struct AidCount {
    std::string name;
    int withPosition = 0;
    int withoutPosition = 0;
};

// The aids of a real a-deck, as listed in tests/data/track/aids/.
std::vector<AidCount> realAids(const std::string& file) {
    std::vector<AidCount> aids;
    std::istringstream lines(test::readTrackData("aids/" + file + ".txt"));
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        AidCount aid;
        fields >> aid.name >> aid.withPosition >> aid.withoutPosition;
        aids.push_back(aid);
    }
    return aids;
}

const std::vector<std::string> kRealFiles = {"aal182012", "aep182023"};

}  // namespace

TEST(AidInfo, GroupsOfTheWellKnownAids) {
    struct Row {
        const char* name;
        std::optional<AidGroup> group;
        bool interpolated;
        const char* source;
    };
    const std::vector<Row> rows = {
        {"OFCL", AidGroup::Official, false, ""},     {"jtwc", AidGroup::Official, false, ""},
        {"OFCI", AidGroup::Official, true, "OFCL"},  {"OFPI", AidGroup::Official, true, "OFCP"},
        {"TVCN", AidGroup::Consensus, false, ""},    {"TVCA", AidGroup::Consensus, false, ""},
        {"TVCE", AidGroup::Consensus, false, ""},    {"HCCA", AidGroup::Consensus, false, ""},
        {"FSSE", AidGroup::Consensus, false, ""},    {"IVCN", AidGroup::Consensus, false, ""},
        {"AVNO", AidGroup::Global, false, ""},       {"AVNI", AidGroup::Global, true, "AVNO"},
        {"AVN2", AidGroup::Global, true, "AVNO"},    {"EMX", AidGroup::Global, false, ""},
        {"EMXI", AidGroup::Global, true, "EMX"},     {"ECMF", AidGroup::Global, false, ""},
        {"EGRR", AidGroup::Global, false, ""},       {"UKM", AidGroup::Global, false, ""},
        {"CMC", AidGroup::Global, false, ""},        {"NVGM", AidGroup::Global, false, ""},
        {"FM92", AidGroup::Global, true, "FIM9"},    {"HWRF", AidGroup::Regional, false, ""},
        {"HWFI", AidGroup::Regional, true, "HWRF"},  {"HMON", AidGroup::Regional, false, ""},
        {"HMNI", AidGroup::Regional, true, "HMON"},  {"HFSA", AidGroup::Regional, false, ""},
        {"HFAI", AidGroup::Regional, true, "HFSA"},  {"HFSB", AidGroup::Regional, false, ""},
        {"CTCX", AidGroup::Regional, false, ""},     {"CTCI", AidGroup::Regional, true, "CTCX"},
        {"AP01", AidGroup::Ensemble, false, "AEMN"}, {"AP30", AidGroup::Ensemble, false, "AEMN"},
        {"AP02", AidGroup::Ensemble, false, "AEMN"}, {"AC00", AidGroup::Ensemble, false, "AEMN"},
        {"CP01", AidGroup::Ensemble, false, "CEMN"}, {"EN12", AidGroup::Ensemble, false, "EEMN"},
        {"EP12", AidGroup::Ensemble, false, "EEMN"}, {"AEMN", AidGroup::Means, false, ""},
        {"AEMI", AidGroup::Means, true, "AEMN"},     {"CEMN", AidGroup::Means, false, ""},
        {"UEMN", AidGroup::Means, false, ""},        {"BAMM", std::nullopt, false, ""},
        {"XTRP", std::nullopt, false, ""},           {"GHMI", std::nullopt, true, ""},
    };
    for (const Row& row : rows) {
        const AidInfo info = aidInfo(row.name);
        EXPECT_EQ(info.group, row.group) << row.name;
        EXPECT_EQ(info.interpolated, row.interpolated) << row.name;
        EXPECT_EQ(info.source, row.source) << row.name;
        EXPECT_EQ(info.ensembleMember, info.group == AidGroup::Ensemble) << row.name;
    }
}

TEST(AidInfo, EveryInterpolatedAidOfTheRealFilesComesFromAnAidOfTheSameFile) {
    // Names ending in I or 2 that are not interpolated: ensemble members and
    // the rapid-intensification consensus.
    const std::set<std::string> notInterpolated = {"AP02", "AP12", "AP22", "IVRI"};
    // Interpolated aids whose late-cycle source this program does not know.
    const std::set<std::string> unknownSource = {"G012", "G01I", "GFE2", "GHM2",
                                                 "GHMI", "HWE2", "HWEI"};
    for (const auto& file : kRealFiles) {
        std::set<std::string> present;
        const auto aids = realAids(file);
        ASSERT_GT(aids.size(), 90u) << file;
        for (const auto& aid : aids) present.insert(aid.name);
        for (const auto& aid : aids) {
            const AidInfo info = aidInfo(aid.name);
            const char last = aid.name.back();
            const bool endsLikeEarly = aid.name.size() == 4 && (last == 'I' || last == '2');
            EXPECT_EQ(info.interpolated, endsLikeEarly && !notInterpolated.count(aid.name))
                << file << " " << aid.name;
            if (!info.interpolated) continue;
            if (unknownSource.count(aid.name)) {
                EXPECT_EQ(info.source, "") << aid.name;
            } else {
                EXPECT_TRUE(present.count(info.source))
                    << file << " " << aid.name << " from " << info.source;
            }
        }
    }
}

TEST(AidInfo, AidsWithoutAnyPositionAreIntensityOnly) {
    for (const auto& file : kRealFiles) {
        for (const auto& aid : realAids(file)) {
            if (aid.withPosition == 0) {
                EXPECT_TRUE(aidInfo(aid.name).intensityOnly) << file << " " << aid.name;
            }
        }
    }
    // Statistical intensity models copy a track into their rows: known by name.
    for (const char* name : {"SHIP", "DSHP", "LGEM"}) EXPECT_TRUE(aidInfo(name).intensityOnly);
    for (const char* name : {"OFCL", "AVNO", "TVCN", "CLP5"}) {
        EXPECT_FALSE(aidInfo(name).intensityOnly) << name;
    }
    for (const char* name : {"BEST", "CARQ", "WRNG"}) EXPECT_TRUE(aidInfo(name).notForecast);
}

TEST(OfficialAid, PerBasin) {
    const std::vector<std::pair<const char*, const char*>> rows = {
        {"AL", "OFCL"}, {"ep", "OFCL"}, {"CP", "OFCL"}, {"WP", "JTWC"},
        {"IO", "JTWC"}, {"SH", "JTWC"}, {"XX", ""},     {"", ""}};
    for (const auto& [basin, aid] : rows) EXPECT_EQ(officialAid(basin), aid) << basin;
}

TEST(AidSelection, GroupsNamesAndTheInterpolatedSwitch) {
    struct Row {
        const char* text;
        bool interpolated;
        std::vector<std::string> selected;
        std::vector<std::string> notSelected;
    };
    const std::vector<Row> rows = {
        {"official,global,HWRF",
         false,
         {"OFCL", "JTWC", "AVNO", "EMX", "EGRR", "HWRF"},
         {"AVNI", "OFCI", "HWFI", "TVCN", "HMON", "AP01", "SHIP", "CARQ"}},
        {"official,global,HWRF", true, {"AVNI", "OFCI", "EMXI"}, {"HWFI", "ICON"}},
        {" Official ; hwrf  HWFI", false, {"OFCL", "HWRF", "HWFI"}, {"OFCI", "AVNO"}},
        {"ensemble,means", false, {"AP01", "AC00", "CP20", "AEMN", "CEMN"}, {"AEMI", "AVNO"}},
        {"consensus", false, {"TVCN", "TVCA", "TVCE", "HCCA", "FSSE"}, {"IVCN", "ICON"}},
        {"regional", false, {"HWRF", "HMON", "HFSA", "HFSB", "CTCX"}, {"CTCI", "AVNO"}},
        {"all",
         false,
         {"OFCL", "BAMM", "XTRP", "AP17", "UKX"},
         {"AVNI", "SHIP", "DSHP", "LGEM", "CARQ", "BEST", "IVRI"}},
        {"ALL", true, {"AVNI", "GHMI", "G01I"}, {"SHIP", "WRNG"}},
    };
    for (const Row& row : rows) {
        const AidSelectionParse parse = parseAidSelection(row.text, row.interpolated);
        ASSERT_TRUE(parse.selection) << row.text << ": " << parse.error;
        for (const auto& aid : row.selected) {
            EXPECT_TRUE((*parse.selection)(aid)) << row.text << " " << aid;
        }
        for (const auto& aid : row.notSelected) {
            EXPECT_FALSE((*parse.selection)(aid)) << row.text << " " << aid;
        }
    }
    const auto named = parseAidSelection("hwrf,global,HWRF,avni", false);
    ASSERT_TRUE(named.selection);
    EXPECT_EQ(named.selection->namedAids(), (std::vector<std::string>{"HWRF", "AVNI"}));
}

TEST(AidSelection, ErrorsNameEveryBadToken) {
    struct Row {
        const char* text;
        std::vector<std::string> mentioned;
    };
    const std::vector<Row> rows = {
        {"", {"no aids selected"}},
        {" , ;", {"no aids selected"}},
        {"globl", {"'globl'"}},
        {"global,HW-RF,regionall,OFCL", {"'HW-RF'", "'regionall'"}},
        {"official,SHIP,lgem", {"'SHIP'", "'LGEM'", "intensity only"}},
        {"CARQ", {"'CARQ'"}},
        {"offical,DSHP", {"'offical'", "'DSHP'"}},
    };
    for (const Row& row : rows) {
        const AidSelectionParse parse = parseAidSelection(row.text, false);
        EXPECT_FALSE(parse.selection) << row.text;
        for (const auto& text : row.mentioned) {
            EXPECT_NE(parse.error.find(text), std::string::npos) << row.text << ": " << parse.error;
        }
    }
}

TEST(AidSelection, AllOnTheRealFilesDrawsEveryTrackAidOfTheCycle) {
    const auto selection = parseAidSelection("all", false).selection;
    ASSERT_TRUE(selection);
    for (const auto& file : kRealFiles) {
        for (const auto& aid : realAids(file)) {
            const AidInfo info = aidInfo(aid.name);
            const bool track = aid.withPosition > 0 && !info.intensityOnly && !info.notForecast;
            EXPECT_EQ((*selection)(aid.name), track && !info.interpolated)
                << file << " " << aid.name;
        }
    }
}
