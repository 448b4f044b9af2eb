// The settings schema and the checker: what each key accepts, read as the
// program reads it, and the problems of a file found with ProfileStore's own
// reading rules.
#include "config/settings_check.h"
#include "config/agency_settings.h"
#include "config/annotation_settings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "config/profile_store.h"

using namespace tcmap;

namespace {

using Kind = SettingsProblemKind;

// The compact form of a problem the tests compare: "line kind section key value".
std::string summary(const SettingsProblem& p) {
    static const char* const kNames[] = {"FileMissing",     "FileUnreadable",    "UnknownSection",
                                         "RepeatedSection", "KeyOutsideSection", "NotASetting",
                                         "UnknownKey",      "KeyInOtherSection", "RepeatedKey",
                                         "BadValue",        "ValueCut"};
    std::string text = std::to_string(p.line) + " " + kNames[static_cast<int>(p.kind)] + " [" +
                       p.section + "] " + p.key;
    if (!p.value.empty()) text += "=" + p.value;
    if (!p.suggestedKey.empty() || !p.suggestedSection.empty()) {
        text += " -> [" + p.suggestedSection + "] " + p.suggestedKey;
    }
    if (p.readLine != 0) text += " read:" + std::to_string(p.readLine);
    return text;
}

std::vector<std::string> summaries(std::string_view bytes) {
    std::vector<std::string> out;
    for (const SettingsProblem& p : checkSettingsText(bytes)) out.push_back(summary(p));
    return out;
}

}  // namespace

TEST(SettingsSchema, EverySettingsKeyHasExactlyOneRule) {
    std::stringstream header;
    for (const char* file :
         {"settings_keys.h", "annotation_settings.h", "agency_settings.h", "recent_files.h"}) {
        std::ifstream in(std::string(TCMAP_SOURCE_DIR "/src/config/") + file);
        header << in.rdbuf();
    }
    const std::string text = header.str();
    // Keys of Settings.ini, not of Language.ini.
    static const std::regex key(
        R"(SettingKey k\w+\{(kGeneralSection|kTmpSection|kMemorySection|kTextFormatSection|kArchiveSection|kForecastSection|kAnnotationsSection|kAgenciesSection), \"(\w+)\")");
    std::set<std::string> declared;
    for (std::sregex_iterator it(text.begin(), text.end(), key), end; it != end; ++it) {
        declared.insert((*it)[1].str() + "/" + (*it)[2].str());
    }
    ASSERT_GT(declared.size(), 40u);

    const std::map<std::string_view, std::string> sectionConstant = {
        {kGeneralSection, "kGeneralSection"},         {kTmpSection, "kTmpSection"},
        {kMemorySection, "kMemorySection"},           {kTextFormatSection, "kTextFormatSection"},
        {kArchiveSection, "kArchiveSection"},         {kForecastSection, "kForecastSection"},
        {kAnnotationsSection, "kAnnotationsSection"}, {kAgenciesSection, "kAgenciesSection"}};
    std::set<std::string> ruled;
    for (const SettingRule& rule : settingRules()) {
        const std::string name =
            sectionConstant.at(rule.setting->section) + "/" + std::string(rule.setting->key);
        EXPECT_TRUE(ruled.insert(name).second) << name << " has two rules";
    }
    EXPECT_EQ(ruled, declared);

    EXPECT_EQ(findSettingRule("BORVANE4", "showgrid1")->setting, &settings::kShowGrid1);
    EXPECT_EQ(findSettingRule("Archive", "ShowGrid1"), nullptr);
    EXPECT_EQ(settings::kMap.fallback, "maps/world.png");
    EXPECT_EQ(settings::kMap1.fallback, "maps/world.png");
}

TEST(SettingsSchema, AcceptsValuesAsTheProgramReadsThem) {
    struct Row {
        const SettingKey& setting;
        std::string_view value;
        bool accepted;
    };
    namespace s = settings;
    const Row rows[] = {
        // Check boxes: SkipInvest and NewColor take only "1" as on.
        {s::kShowText1, "1", true},
        {s::kShowText1, "0", true},
        {s::kShowText1, "yes", false},
        {s::kShowText1, "2", false},
        {s::kSkipInvest, " 1", false},
        {s::kNewColor, "", false},
        // Lists.
        {s::kMode, "1", true},
        {s::kMode, "2", false},
        {s::kDrawLegends1, "5", true},
        {s::kDrawLegends1, "9", false},
        {s::kDrawLegends, "-1", false},
        {s::kDrawRad, "3", true},
        {s::kDrawRad1, "4", false},
        {s::kPriority, "2", true},
        {s::kMultipleFile1, "3", false},
        {s::kAutoDraw, "3", true},
        {s::kMode, "", false},
        // Sizes: a whole number within what a picture can be.
        {s::kWidth1, "1600", true},
        {s::kWidth1, "+1600", true},
        {s::kWidth1, "1", true},
        {s::kWidth1, "32767", true},
        {s::kWidth1, "32768", false},
        {s::kWidth1, "0", false},
        {s::kWidth1, "1600px", false},
        {s::kWidth1, "1600.0", false},
        {s::kHeight, "", false},
        {s::kWidthSpace, "0", true},
        {s::kWidthSpace, "16383", true},
        {s::kHeightSpace1, "16384", false},
        {s::kHeightSpace1, "-10", false},
        // Track width and point size: decimal numbers.
        {s::kTrack, "0.05", true},
        {s::kPoint, ".5", true},
        {s::kTrack1, "5.", true},
        {s::kTrack, "5e-2", true},
        {s::kTrack, "0", true},
        {s::kTrack, "1000000", true},
        {s::kTrack, "1e7", false},
        {s::kTrack, "0.05e", false},
        {s::kTrack, "-1", false},
        {s::kPoint, "inf", false},
        {s::kPoint, "nan", false},
        {s::kPoint, ".", false},
        {s::kTrack1, "", false},
        // Paths and storm names: anything.
        {s::kMap, "", true},
        {s::kMap1, "/maps/a b.png", true},
        {s::kDir, "", true},
        {s::kTmpName, "/tmp/x.tmp", true},
        {s::kStorms1, "KILO, halola,EP202015", true},
        // Colour.
        {s::kBackgroundColor, "15,23,31", true},
        {s::kBackgroundColor, "0, 0, 255", true},
        {s::kBackgroundColor, "", true},
        {s::kBackgroundColor, "256,0,0", false},
        {s::kBackgroundColor, "15,23", false},
        {s::kBackgroundColor, "1,2,3,4", false},
        // Years: as the archive filter reads them.
        {s::kYears, "2015", true},
        {s::kYears1, "2004-2006", true},
        {s::kYears, "1950,2005", true},
        {s::kYears, "2006-2004", true},
        {s::kYears, " 2015 , ", true},
        {s::kYears, "", true},
        {s::kYears1, "2015..2016", false},
        {s::kYears, "20x5", false},
        {s::kYears, "2015.0", false},
        {s::kYears, "2015-", false},
        // Basins.
        {s::kBasins, "EP,cp", true},
        {s::kBasins1, " WP ", true},
        {s::kBasins, "SI,BB", true},
        {s::kBasins, "NA", false},
        {s::kBasins, "EP;CP", false},
        // The remembered region.
        {s::kRegionSelect, "60,100,60,80", true},
        {s::kRegionSelect, "-10.5,-20,1,1", true},
        {s::kRegionSelect, "60,100,0,80", false},
        {s::kRegionSelect, "a,b,c,d", false},
        {s::kRegionSelect, "60,100,60", false},
        // Label formats: the time label gets 3 numbers, the forecast label 2.
        {s::kTimeFormat, "%02d%02d%02dZ", true},
        {s::kTimeFormat, "%02d月%02d日%02d时", true},
        {s::kTimeFormat, "%d%d%d%d", false},
        {s::kTimeFormat, "100%", false},
        {s::kTimeFormat, "100%%", true},
        {s::kTimeFormat, "%f", false},
        {s::kForecastFormat, "P+%dh\\n%dkt", true},
        {s::kForecastFormat, "%d %d %d", false},
        {s::kForecastFormat, "", true},
        // Forecast cycles.
        {s::kForecastCycle, "all", true},
        {s::kForecastCycle, " Latest ", true},
        {s::kForecastCycle, "2012102800", true},
        {s::kForecastCycle, "201210280", false},
        {s::kForecastCycle, "2012-10-28", false},
        {s::kForecastCycle, "", false},
        {s::kCone, "1", true},
        {s::kCone, "yes", false},
    };
    for (const Row& row : rows) {
        const SettingRule* rule = findSettingRule(row.setting.section, row.setting.key);
        ASSERT_NE(rule, nullptr) << row.setting.key;
        EXPECT_EQ(acceptsValue(*rule, row.value), row.accepted)
            << row.setting.key << "=" << row.value;
    }
}

TEST(SettingsCheck, ReadsTheFileWithTheRulesOfProfileStore) {
    // CR LF, a byte-order mark, names in any case, quotes, comments, blank
    // lines; the first section and the first key of a name are the ones read.
    const std::string file =
        "\xEF\xBB\xBF; a comment\r\n"
        "orphan=1\r\n"
        "\r\n"
        "[ BORVANE4 ]\r\n"
        "  showgrid1 =\t1 \r\n"
        "Width1=\"1600\"\r\n"
        "# Width1=nothing\r\n"
        "ShowGird1=1\r\n"
        "Width1=1700\r\n"
        "Years1=2015\r\n"
        "just words\r\n"
        "=5\r\n"
        "[Borvane]\r\n"
        "Mode=7\r\n"
        "[borvane4]\r\n"
        "Mode=7\r\n"
        "[Archive]\r\n"
        "Yeras=2015\r\n"
        "Years1=\"2015..2016\"";
    EXPECT_EQ(summaries(file), (std::vector<std::string>{
                                   "2 KeyOutsideSection [] orphan",
                                   "8 UnknownKey [BORVANE4] ShowGird1 -> [Borvane4] ShowGrid1",
                                   "9 RepeatedKey [BORVANE4] Width1 read:6",
                                   "10 KeyInOtherSection [BORVANE4] Years1 -> [Archive] Years1",
                                   "11 NotASetting [BORVANE4] just words",
                                   "12 NotASetting [BORVANE4] 5",
                                   "13 UnknownSection [Borvane]  -> [Borvane4] ",
                                   "15 RepeatedSection [borvane4]  read:4",
                                   "18 UnknownKey [Archive] Yeras -> [Archive] Years",
                                   "19 BadValue [Archive] Years1=2015..2016",
                               }));
    EXPECT_TRUE(summaries("").empty());
    EXPECT_TRUE(summaries("[Borvane4]\nMode=1\n[Archive]\nStorms1=\n").empty());
}

TEST(SettingsCheck, AValueOverTheLimitIsCutAndCheckedAsCut) {
    const std::string longMap(kProfileValueLimit + 1, 'm');
    const std::string longYears = std::string(kProfileValueLimit - 1, ' ') + "2015";
    EXPECT_EQ(summaries("[Borvane4]\nMap=" + longMap + "\nMap1=\"" +
                        std::string(kProfileValueLimit, 'm') + "\"\n"),
              std::vector<std::string>{"2 ValueCut [Borvane4] Map"});
    // Quotes keep the blanks; cut after "2", the value read is the year 2,
    // and the checker checks what is read, not what is written.
    const auto cut = checkSettingsText("[Archive]\nYears=\"" + longYears + "x\"\n");
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0].kind, Kind::ValueCut);
    const auto whole = checkSettingsText("[Archive]\nYears=\"" +
                                         std::string(kProfileValueLimit - 5, ' ') + "2015x\"\n");
    ASSERT_EQ(whole.size(), 1u);
    EXPECT_EQ(whole[0].kind, Kind::BadValue);
}

TEST(SettingsCheck, AFileThatCannotBeReadIsOneProblem) {
    const auto missing = checkSettingsFile(TCMAP_SOURCE_DIR "/no-such-settings.ini");
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(missing[0].kind, Kind::FileMissing);
    EXPECT_EQ(missing[0].line, 0u);
    const auto folder = checkSettingsFile(TCMAP_SOURCE_DIR "/data");
    ASSERT_EQ(folder.size(), 1u);
    EXPECT_EQ(folder[0].kind, Kind::FileUnreadable);
    EXPECT_TRUE(checkSettingsFile(TCMAP_SOURCE_DIR "/data/Settings.ini").empty());
}

TEST(ClosestName, SuggestsOnlyLikelyMisspellings) {
    const std::string_view known[] = {"Borvane4", "tmp", "Memory", "TextFormat", "Archive"};
    const std::pair<std::string_view, std::string_view> rows[] = {{"Borvane", "Borvane4"},
                                                                  {"borvnae4", "Borvane4"},
                                                                  {"TextFromat", "TextFormat"},
                                                                  {"Archives", "Archive"},
                                                                  {"memroy", "Memory"},
                                                                  {"tpm", "tmp"},
                                                                  {"Language", ""},
                                                                  {"Tx", ""},
                                                                  {"", ""}};
    for (const auto& [written, expected] : rows) {
        EXPECT_EQ(closestName(written, known), expected) << written;
    }
}
