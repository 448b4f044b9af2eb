#include "render/layers/aid_palette.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "render/canvas/canvas.h"

using namespace tcmap;

namespace {

constexpr uint32_t kWhite = rgb(255, 255, 255);

// Every aid of the two real a-decks listed in tests/data/track/aids/.
std::vector<std::string> realAidNames() {
    std::vector<std::string> names;
    for (const char* file : {"aal182012", "aep182023"}) {
        std::ifstream in(std::string(TCMAP_TEST_DATA_DIR) + "/track/aids/" + file + ".txt");
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line[0] != '#') names.push_back(line.substr(0, line.find(' ')));
        }
    }
    return names;
}

bool sameLook(const AidLook& a, const AidLook& b) {
    return a.colour == b.colour && a.alpha == b.alpha && a.outlined == b.outlined &&
           a.outline == b.outline && a.weight == b.weight && a.dashed == b.dashed;
}

}  // namespace

TEST(AidPalette, EightDistinctColoursNoneLikeTheOfficialWhite) {
    const std::set<uint32_t> distinct(kAidPalette.begin(), kAidPalette.end());
    EXPECT_EQ(distinct.size(), kAidPalette.size());
    EXPECT_EQ(distinct.count(kWhite), 0u);
}

TEST(AidPalette, LooksOfTheWellKnownAids) {
    struct Row {
        const char* aid;
        const char* sameColourAs;  // "" for none
        AidLineWeight weight;
        bool translucent;
        bool dashed;
    };
    const std::vector<Row> rows = {
        {"AVNI", "AVNO", AidLineWeight::Normal, false, true},
        {"AEMN", "AVNO", AidLineWeight::Thick, false, false},
        {"AP07", "AEMN", AidLineWeight::Thin, true, false},
        {"AC00", "AEMN", AidLineWeight::Thin, true, false},
        {"EMXI", "EMX", AidLineWeight::Normal, false, true},
        {"EN03", "EEMN", AidLineWeight::Thin, true, false},
        {"CP11", "CMC", AidLineWeight::Thin, true, false},
        {"HWFI", "HWRF", AidLineWeight::Normal, false, true},
        {"hfsa", "HFSA", AidLineWeight::Normal, false, false},
        {"UKX2", "EGRR", AidLineWeight::Normal, false, true},
    };
    for (const Row& row : rows) {
        const AidLook look = aidLook(row.aid);
        EXPECT_EQ(look.colour, aidLook(row.sameColourAs).colour) << row.aid;
        EXPECT_EQ(look.weight, row.weight) << row.aid;
        EXPECT_EQ(look.alpha < 255, row.translucent) << row.aid;
        EXPECT_EQ(look.dashed, row.dashed) << row.aid;
        EXPECT_FALSE(look.outlined) << row.aid;
    }
    // The global models and the hurricane models of one cycle differ.
    std::set<uint32_t> models;
    for (const char* aid : {"AVNO", "EMX", "EGRR", "CMC", "NVGM"})
        models.insert(aidLook(aid).colour);
    EXPECT_EQ(models.size(), 5u);
    models.clear();
    for (const char* aid : {"HWRF", "HMON", "HFSA", "HFSB"}) models.insert(aidLook(aid).colour);
    EXPECT_EQ(models.size(), 4u);
}

TEST(AidPalette, TheOfficialForecastIsWhiteOutlinedAndThickest) {
    for (const char* aid : {"OFCL", "JTWC", "ofcl"}) {
        const AidLook look = aidLook(aid);
        EXPECT_EQ(look.colour, kWhite) << aid;
        EXPECT_TRUE(look.outlined) << aid;
        EXPECT_EQ(look.outline, rgb(0, 0, 0)) << aid;
        EXPECT_EQ(look.weight, AidLineWeight::Thickest) << aid;
    }
    const AidLook early = aidLook("OFCI");
    EXPECT_EQ(early.colour, kWhite);
    EXPECT_TRUE(early.dashed);
    EXPECT_EQ(early.weight, AidLineWeight::Normal);
}

TEST(AidPalette, EveryRealAidKeepsItsLookWhateverTheOrder) {
    std::vector<std::string> names = realAidNames();
    ASSERT_GT(names.size(), 200u);
    std::vector<AidLook> forward;
    for (const auto& name : names) forward.push_back(aidLook(name));
    for (size_t i = names.size(); i-- > 0;) {
        const AidLook look = aidLook(names[i]);
        EXPECT_TRUE(sameLook(look, forward[i])) << names[i];
        std::string lower = names[i];
        std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
        EXPECT_TRUE(sameLook(aidLook(lower), look)) << names[i];
        const bool inPalette =
            std::find(kAidPalette.begin(), kAidPalette.end(), look.colour) != kAidPalette.end();
        EXPECT_TRUE(inPalette || look.colour == kWhite) << names[i];
    }
}

TEST(AidPalette, HashedColoursArePinned) {
    // Aids without a colour of their own take the palette entry of the FNV-1a
    // hash of their name, modulo 8 (computed apart from this program). A change
    // of the hash recolours every user's maps: these rows make it a deliberate one.
    const std::vector<std::pair<const char*, size_t>> rows = {{"BAMM", 2}, {"XTRP", 3}, {"TVCN", 6},
                                                              {"LBAR", 4}, {"CLP5", 1}, {"TVCA", 7},
                                                              {"HCCA", 4}, {"CTCX", 1}};
    for (const auto& [aid, index] : rows) {
        EXPECT_EQ(aidLook(aid).colour, kAidPalette[index]) << aid;
    }
}
