#include "app/settings_form.h"

#include <gtest/gtest.h>

#include <set>

#include "base/file_io.h"
#include "config/agency_settings.h"
#include "config/job_settings.h"
#include "config/profile_store.h"
#include "config/program_paths.h"
#include "i18n/language_pack.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

using Writes = std::vector<std::pair<std::string_view, std::string>>;

// What the settings form reads and changes of the window's session.
struct Session {
    std::string runFolder;
    std::string settingsPath;
    StyleChoice style;
};

std::string stored(const Session& app, std::string_view key) {
    return ProfileStore::read(app.settingsPath, "Borvane4", key, "<absent>");
}

class SettingsFormTest : public ::testing::Test {
  protected:
    SettingsFormTest() {
        app.runFolder = run.path();
        app.settingsPath = run.file("Settings.ini");
    }

    TempFolder run;
    Session app;
};

}  // namespace

TEST(SettingsFormRules, ListAndCheckBoxValues) {
    const struct {
        const char* value;
        int items;
        int selection;
    } lists[] = {
        {"2", 3, 2}, {"3", 3, -1}, {"-1", 3, -1}, {"", 3, 0}, {"99999999999", 3, -1}, {"0", 0, -1},
    };
    for (const auto& row : lists) {
        EXPECT_EQ(listSelection(row.value, row.items), row.selection)
            << row.value << " of " << row.items;
    }
    const struct {
        const char* value;
        bool checked;
    } checks[] = {{"2", true}, {" 1abc", true}, {"0.9", false}, {"-3", false}, {"yes", false}};
    for (const auto& row : checks) EXPECT_EQ(checkBoxState(row.value), row.checked) << row.value;
}

TEST(SettingsFormRules, SaveStoresEveryFieldInItsOrder) {
    SettingsFormValues values;
    values.style = 1;
    values.texts = {{"Track", "12abc"},   {"Point", ""},        {"WidthSpace", " 1 "},
                    {"HeightSpace", "2"}, {"Width", "3"},       {"Height", "4"},
                    {"Track1", "5"},      {"WidthSpace1", "6"}, {"HeightSpace1", "7"},
                    {"Width1", "8"},      {"Height1", "9"},     {"Map", "/a b/\"w\".png"},
                    {"Map1", ""}};
    values.lists = {{"Priority", 2},     {"DrawLegends", 5},   {"MultipleFile", 1}, {"DrawRad", -1},
                    {"DrawLegends1", 3}, {"MultipleFile1", 0}, {"DrawRad1", 3}};
    values.checks = {{"SkipInvest", true}, {"NewColor", false},    {"AllPoints", true},
                     {"ShowGrid", false},  {"SkipInvest1", false}, {"AllPoints1", false},
                     {"ShowText1", true},  {"ShowGrid1", true},    {"VectorLand", true}};
    const Writes expected{{"Mode", "1"},         {"Track", "12abc"},
                          {"Point", ""},         {"WidthSpace", " 1 "},
                          {"HeightSpace", "2"},  {"Width", "3"},
                          {"Height", "4"},       {"Priority", "2"},
                          {"DrawLegends", "5"},  {"SkipInvest", "1"},
                          {"NewColor", "0"},     {"MultipleFile", "1"},
                          {"AllPoints", "1"},    {"ShowGrid", "0"},
                          {"DrawRad", "-1"},     {"Map", "\"/a b/\"w\".png\""},
                          {"Track1", "5"},       {"WidthSpace1", "6"},
                          {"HeightSpace1", "7"}, {"Width1", "8"},
                          {"Height1", "9"},      {"SkipInvest1", "0"},
                          {"DrawLegends1", "3"}, {"MultipleFile1", "0"},
                          {"AllPoints1", "0"},   {"ShowText1", "1"},
                          {"ShowGrid1", "1"},    {"DrawRad1", "3"},
                          {"Map1", "\"\""},      {"VectorLand", "1"}};
    EXPECT_EQ(settingsWrites(values), expected);

    // What the form does not hold is stored as nothing chosen, never skipped.
    const Writes empty = settingsWrites(SettingsFormValues{});
    ASSERT_EQ(empty.size(), expected.size());
    EXPECT_EQ(empty[7].second, "-1");
    EXPECT_EQ(empty[9].second, "0");
}

TEST(SettingsFormRules, EveryStoredFieldIsShownOnItsPage) {
    // A field shown but not saved, or saved but not shown, loses the user's
    // edit or writes a value nobody chose.
    std::multiset<std::string> shown;
    for (const auto page : {wendrelSettingsFields(), tcvSettingsFields(), vectorMapSettingsFields(),
                            agencySettingsFields()}) {
        for (const SettingsField& field : page) {
            const bool informs = field.control == SettingsControl::Note ||
                                 field.control == SettingsControl::FixedList ||
                                 field.control == SettingsControl::Group;
            EXPECT_EQ(field.setting == nullptr, informs) << static_cast<int>(field.labelId);
            if (field.setting != nullptr) shown.insert(std::string(field.setting->key));
            if (field.control == SettingsControl::List) {
                EXPECT_FALSE(field.itemIds.empty()) << static_cast<int>(field.labelId);
            }
            // Each item of a word list stores a word of its own.
            if (field.control == SettingsControl::WordList) {
                EXPECT_FALSE(field.itemIds.empty()) << static_cast<int>(field.labelId);
                EXPECT_EQ(field.itemIds.size(), field.itemWords.size());
            }
        }
    }
    std::multiset<std::string> saved;
    for (const auto& [key, value] : settingsWrites(SettingsFormValues{})) {
        if (key != "Mode") saved.insert(std::string(key));
    }
    for (const auto& [key, value] : archiveSettingsWrites(SettingsFormValues{})) {
        saved.insert(std::string(key));
    }
    for (const auto& [key, value] : forecastSettingsWrites(SettingsFormValues{})) {
        saved.insert(std::string(key));
    }
    for (const auto& [key, value] : agencySettingsWrites(SettingsFormValues{})) {
        saved.insert(std::string(key));
    }
    EXPECT_EQ(shown, saved);
    EXPECT_FALSE(shown.contains("Point1"));
    EXPECT_FALSE(shown.contains("Priority1"));
}

TEST_F(SettingsFormTest, SavedValuesReadBackUnchanged) {
    run.put("Settings.ini",
            "[Borvane4]\r\nSkipInvest=2\r\nDrawRad=4\r\nMap=\"/file.png\"\r\nDir=\"/tracks\"\r\n"
            "[Memory]\r\nX=1\r\n");
    app.style.mapPath = "/state.png";  // the program state wins over the file
    SettingsFormValues values = loadSettingsForm(app.settingsPath, app.style);
    EXPECT_TRUE(values.checks.at("SkipInvest"));
    EXPECT_EQ(values.lists.at("DrawRad"), -1);  // four items: 4 is none of them
    EXPECT_EQ(values.texts.at("Map"), "/state.png");
    values.style = 1;
    values.texts["Width"] = "12abc";
    values.texts["Map"] = " /maps/with spaces.png ";
    values.texts["Map1"] = "/maps/t.png";
    values.lists["DrawRad1"] = 2;
    // The forecast fields start from their defaults and go to [Forecast].
    EXPECT_EQ(values.texts.at("Cycle"), "all");
    EXPECT_TRUE(values.checks.at("EarlyAids"));
    EXPECT_FALSE(values.checks.at("Cone"));
    values.texts["Cycle"] = "2012102800";
    values.checks["Cone"] = true;
    EXPECT_TRUE(saveSettingsForm(app.settingsPath, app.style, values));
    EXPECT_EQ(ProfileStore::read(app.settingsPath, "Forecast", "Cycle", ""), "2012102800");
    EXPECT_EQ(ProfileStore::read(app.settingsPath, "Forecast", "Cone", ""), "1");
    EXPECT_EQ(ProfileStore::read(app.settingsPath, "Forecast", "Swath", ""), "0");

    EXPECT_TRUE(app.style.tcv);
    EXPECT_EQ(app.style.mapPath, " /maps/with spaces.png ");
    EXPECT_EQ(app.style.mapPath1, "/maps/t.png");
    EXPECT_EQ(stored(app, "Mode"), "1");
    EXPECT_EQ(stored(app, "SkipInvest"), "1");
    EXPECT_EQ(stored(app, "Map"), " /maps/with spaces.png ");  // the quotes keep the spaces
    EXPECT_EQ(stored(app, "Dir"), "/tracks");                  // other keys stay
    EXPECT_EQ(ProfileStore::read(app.settingsPath, "Memory", "X", ""), "1");
    EXPECT_EQ(stored(app, "Point1"), "<absent>");
    EXPECT_EQ(stored(app, "Priority1"), "<absent>");

    const SettingsFormValues again = loadSettingsForm(app.settingsPath, app.style);
    EXPECT_EQ(again.style, values.style);
    EXPECT_EQ(again.texts, values.texts);
    EXPECT_EQ(again.lists, values.lists);
    EXPECT_EQ(again.checks, values.checks);
}

// VectorLand is one key for both styles: the box shows what the draw job
// reads (only "1" is on, so any other value shows the default, off), and
// what it stores is what both styles then draw with.
TEST_F(SettingsFormTest, VectorLandRoundTripsAsTheDrawJobReadsIt) {
    const struct {
        const char* file;
        bool shown;
    } rows[] = {
        {"", false},
        {"[Borvane4]\r\nVectorLand=1\r\n", true},
        {"[Borvane4]\r\nVectorLand=0\r\n", false},
        {"[Borvane4]\r\nVectorLand=2\r\n", false},
        {"[Borvane4]\r\nVectorLand=yes\r\n", false},
        {"[Borvane4]\r\nVectorLand=1abc\r\n", false},
        {"[Borvane4]\r\nVectorLand=\"1\"\r\nMode=1\r\n", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        run.put("Settings.ini", row.file);
        SettingsFormValues values = loadSettingsForm(app.settingsPath, app.style);
        EXPECT_EQ(values.checks.at("VectorLand"), row.shown);
        EXPECT_EQ(readJobSettings(app.settingsPath, false).vectorLand, row.shown);
        for (const bool ticked : {!row.shown, row.shown}) {
            values.checks["VectorLand"] = ticked;
            ASSERT_TRUE(saveSettingsForm(app.settingsPath, app.style, values));
            EXPECT_EQ(stored(app, "VectorLand"), ticked ? "1" : "0");
            EXPECT_EQ(loadSettingsForm(app.settingsPath, app.style).checks.at("VectorLand"),
                      ticked);
            EXPECT_EQ(readJobSettings(app.settingsPath, false).vectorLand, ticked);
            EXPECT_EQ(readJobSettings(app.settingsPath, true).vectorLand, ticked);
        }
    }
}

// The forecast switches too: a box ticked for a value the draw job takes as
// off would show a cone or swath the map lacks, and Save would turn it on.
TEST_F(SettingsFormTest, ForecastSwitchesShowWhatTheDrawJobReads) {
    const struct {
        const char* key;
        bool JobSettings::*drawn;
        bool byDefault;
    } switches[] = {{"Cone", &JobSettings::cone, false},
                    {"Swath", &JobSettings::swath, false},
                    {"EarlyAids", &JobSettings::earlyAids, true}};
    const struct {
        const char* value;  // nullptr: no such line
        bool on;
    } values[] = {{nullptr, false}, {"1", true},    {"0", false},
                  {"2", false},     {"yes", false}, {"\"1\"", true}};
    for (const auto& key : switches) {
        for (const auto& row : values) {
            SCOPED_TRACE(std::string(key.key) + "=" + (row.value ? row.value : "<absent>"));
            run.put("Settings.ini",
                    row.value ? std::string("[Forecast]\r\n") + key.key + "=" + row.value + "\r\n"
                              : std::string());
            const bool on = row.value ? row.on : key.byDefault;
            EXPECT_EQ(readJobSettings(app.settingsPath, true).*key.drawn, on);
            SettingsFormValues form = loadSettingsForm(app.settingsPath, app.style);
            EXPECT_EQ(form.checks.at(key.key), on);
            form.checks[key.key] = !on;
            ASSERT_TRUE(saveSettingsForm(app.settingsPath, app.style, form));
            EXPECT_EQ(readJobSettings(app.settingsPath, true).*key.drawn, !on);
        }
    }
}

// The archive fields of each page go to section Archive, where the draw job
// reads the active style's.
TEST_F(SettingsFormTest, ArchiveFieldsOfBothPagesReachTheirStyle) {
    run.put("Settings.ini", "[Archive]\r\nYears=2005\r\nStorms1=\"KATRINA\"\r\n");
    SettingsFormValues values = loadSettingsForm(app.settingsPath, app.style);
    EXPECT_EQ(values.texts.at("Years"), "2005");
    EXPECT_EQ(values.texts.at("Basins"), "");
    EXPECT_EQ(values.texts.at("Storms1"), "KATRINA");
    values.texts["Basins"] = "EP,CP";
    values.texts["Years1"] = "2004-2006";
    ASSERT_TRUE(saveSettingsForm(app.settingsPath, app.style, values));
    EXPECT_EQ(stored(app, "Basins"), "<absent>");  // not in Borvane4
    const JobSettings wendrel = readJobSettings(app.settingsPath, false);
    const JobSettings tcv = readJobSettings(app.settingsPath, true);
    EXPECT_EQ(wendrel.archiveYears, "2005");
    EXPECT_EQ(wendrel.archiveBasins, "EP,CP");
    EXPECT_EQ(wendrel.archiveStorms, "");
    EXPECT_EQ(tcv.archiveYears, "2004-2006");
    EXPECT_EQ(tcv.archiveStorms, "KATRINA");
}

TEST_F(SettingsFormTest, ARefusedValueDoesNotStopTheOthers) {
    SettingsFormValues values = loadSettingsForm(app.settingsPath, app.style);
    values.texts["Track"] = "1\n[Evil]\nMode=1";  // a line break cannot be stored
    values.texts["Height1"] = "777";
    EXPECT_FALSE(saveSettingsForm(app.settingsPath, app.style, values));
    EXPECT_EQ(stored(app, "Track"), "<absent>");
    EXPECT_EQ(stored(app, "Height1"), "777");
    EXPECT_EQ(ProfileStore::read(app.settingsPath, "Evil", "Mode", "none"), "none");

    // An unwritable settings file is not an error the window reports, and
    // the program state still follows the form.
    app.settingsPath = run.file("missing/folder/Settings.ini");
    values.style = 1;
    EXPECT_FALSE(saveSettingsForm(app.settingsPath, app.style, values));
    EXPECT_TRUE(app.style.tcv);
}

TEST_F(SettingsFormTest, TheTcvPointSizeTextSurvivesAnyFormat) {
    run.put("zh-cn.lang", "[text]\n55=路径宽度\n119=根据%s自动调整\n");
    EXPECT_EQ(tcvPointSizeNote(LanguagePack(app.runFolder, "zh-cn", "UTF-8", false)),
              "根据路径宽度自动调整");
    run.put("zh-cn.lang", "[text]\n55=%s%n\n119=%s%s%d%n%999999999d\n");
    EXPECT_EQ(tcvPointSizeNote(LanguagePack(app.runFolder, "zh-cn", "UTF-8", false)).substr(0, 4),
              "%s%n");
}

// A stored word selects its item whatever its case; a word the lists do not
// know shows the default, the value the map is drawn with.
TEST(SettingsFormRules, StoredWordsSelectTheirItem) {
    const struct {
        const char* stored;
        const char* fallback;
        int selected;
    } rows[] = {
        {"cma", "saffir-simpson", 1},      {"JMA", "saffir-simpson", 2},
        {"saffir simpson", "cma", 1},      {"", "saffir-simpson", 0},
        {"beaufort", "saffir-simpson", 0}, {"beaufort", "jma", 2},
        {"beaufort", "unknown", -1},
    };
    const std::string_view words[] = {"saffir-simpson", "cma", "jma"};
    for (const auto& row : rows) {
        EXPECT_EQ(wordSelection(row.stored, words, row.fallback), row.selected) << row.stored;
    }
}

// The agency fields start from the defaults batch mode uses, go to
// [Agencies] as words, and read back as the draw job reads them.
TEST_F(SettingsFormTest, AgencyFieldsRoundTripThroughAgenciesSection) {
    run.put("Settings.ini", "[Agencies]\r\nWinds=10MIN\r\nScale=beaufort\r\n");
    SettingsFormValues values = loadSettingsForm(app.settingsPath, app.style);
    EXPECT_EQ(values.lists.at("Scale"), 0);  // unknown: the default scale
    EXPECT_EQ(values.lists.at("Winds"), 3);
    EXPECT_EQ(values.texts.at("TenFromOneMinute"), "0.93");
    EXPECT_EQ(values.texts.at("TenFromTwoMinute"), "0.96");
    EXPECT_EQ(values.texts.at("Agencies"), "");
    EXPECT_FALSE(values.checks.at("MarkDifferences"));

    const struct {
        int scale;
        int winds;
        const char* scaleWord;
        const char* windsWord;
    } rows[] = {{1, 2, "cma", "2min"},
                {2, 1, "jma", "1min"},
                {0, 0, "saffir-simpson", "as-given"},
                {-1, -1, "saffir-simpson", "as-given"}};
    for (const auto& row : rows) {
        values.lists["Scale"] = row.scale;
        values.lists["Winds"] = row.winds;
        values.texts["TenFromOneMinute"] = "0.9";
        values.texts["Agencies"] = "cma,jtwc";
        values.checks["MarkDifferences"] = true;
        ASSERT_TRUE(saveSettingsForm(app.settingsPath, app.style, values));
        const auto agencies = [this](const char* key) {
            return ProfileStore::read(app.settingsPath, "Agencies", key, "<absent>");
        };
        EXPECT_EQ(agencies("Scale"), row.scaleWord);
        EXPECT_EQ(agencies("Winds"), row.windsWord);
        EXPECT_EQ(agencies("TenFromOneMinute"), "0.9");
        EXPECT_EQ(agencies("MarkDifferences"), "1");
        EXPECT_EQ(stored(app, "Scale"), "<absent>");  // not in Borvane4

        const SettingsFormValues again = loadSettingsForm(app.settingsPath, app.style);
        EXPECT_EQ(again.lists.at("Scale"), std::max(row.scale, 0));
        EXPECT_EQ(again.lists.at("Winds"), std::max(row.winds, 0));
        EXPECT_EQ(again.texts.at("Agencies"), "cma,jtwc");
        EXPECT_TRUE(again.checks.at("MarkDifferences"));
        const AgencySettings job = readAgencySettings(SettingsSource{app.settingsPath, {}});
        EXPECT_EQ(job.scale, row.scaleWord);
        EXPECT_EQ(job.winds, row.windsWord);
        EXPECT_DOUBLE_EQ(job.tenFromOneMinute, 0.9);
        EXPECT_EQ(job.agencies, (std::vector<std::string>{"CMA", "JTWC"}));
        EXPECT_TRUE(job.markDifferences);
    }
}
