// The [Agencies] settings: what a file's values read as, what the settings
// check accepts, and that the shipped file keeps maps as they were.
#include "config/agency_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/job_settings.h"
#include "config/settings_schema.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

AgencySettings readAgencies(const std::string& section) {
    TempFolder folder;
    folder.put("Settings.ini", "[Agencies]\n" + section);
    return readJobSettings(folder.file("Settings.ini"), false).agencies;
}

}  // namespace

TEST(AgencySettings, ValuesReadAsTheMapUsesThem) {
    const struct {
        std::string lines;
        std::string scale;
        std::string winds;
        double tenFromOne;
        double tenFromTwo;
        std::vector<std::string> agencies;
        bool mark;
    } rows[] = {
        {"", "saffir-simpson", "as-given", 0.93, 0.96, {}, false},
        {"Scale=CMA\nWinds=10MIN\n", "cma", "10min", 0.93, 0.96, {}, false},
        {"Scale= jma \nWinds=2min\n", "jma", "2min", 0.93, 0.96, {}, false},
        // An unknown name keeps the usual map; the settings check names it.
        {"Scale=beaufort\nWinds=5min\n", "saffir-simpson", "as-given", 0.93, 0.96, {}, false},
        // The older guidance value is a choice; a factor above 1 or far below is a slip.
        {"TenFromOneMinute=0.88\nTenFromTwoMinute=0.9\n",
         "saffir-simpson",
         "as-given",
         0.88,
         0.9,
         {},
         false},
        {"TenFromOneMinute=1.2\nTenFromTwoMinute=0\n",
         "saffir-simpson",
         "as-given",
         0.93,
         0.96,
         {},
         false},
        {"Agencies= jma, cma ,,\nMarkDifferences=1\n",
         "saffir-simpson",
         "as-given",
         0.93,
         0.96,
         {"JMA", "CMA"},
         true},
    };
    for (const auto& row : rows) {
        const AgencySettings a = readAgencies(row.lines);
        EXPECT_EQ(a.scale, row.scale) << row.lines;
        EXPECT_EQ(a.winds, row.winds) << row.lines;
        EXPECT_DOUBLE_EQ(a.tenFromOneMinute, row.tenFromOne) << row.lines;
        EXPECT_DOUBLE_EQ(a.tenFromTwoMinute, row.tenFromTwo) << row.lines;
        EXPECT_EQ(a.agencies, row.agencies) << row.lines;
        EXPECT_EQ(a.markDifferences, row.mark) << row.lines;
    }
}

TEST(AgencySettings, AnEmptyListDrawsEveryAgencyAndAListOnlyItsOwn) {
    const struct {
        std::vector<std::string> list;
        const char* agency;
        bool drawn;
    } rows[] = {
        {{}, "ATCF", true},
        {{}, "TOKYO", true},
        {{"CMA", "JMA"}, "cma", true},
        {{"CMA", "JMA"}, "JMA", true},
        {{"CMA", "JMA"}, "ATCF", false},
        {{"CMA", "JMA"}, "", false},
    };
    for (const auto& row : rows) {
        AgencySettings a;
        a.agencies = row.list;
        EXPECT_EQ(a.draws(row.agency), row.drawn) << row.agency << " of " << row.list.size();
    }
}

TEST(AgencySettings, TheSettingsCheckKnowsEveryKey) {
    const struct {
        const char* key;
        const char* value;
        bool accepted;
    } rows[] = {
        {"Scale", "saffir-simpson", true},
        {"Scale", "JMA", true},
        {"Scale", "beaufort", false},
        {"Scale", "", false},
        {"Winds", "1min", true},
        {"Winds", "as-given", true},
        {"Winds", "3min", false},
        {"TenFromOneMinute", "0.88", true},
        {"TenFromOneMinute", "1.2", false},
        {"TenFromTwoMinute", "x", false},
        {"Agencies", "", true},
        {"MarkDifferences", "2", false},
    };
    for (const auto& row : rows) {
        const SettingRule* rule = findSettingRule("agencies", row.key);
        ASSERT_NE(rule, nullptr) << row.key;
        EXPECT_EQ(acceptsValue(*rule, row.value), row.accepted) << row.key << "=" << row.value;
    }
}

// Batch mode reads the shipped file: its maps must not change.
TEST(AgencySettings, TheShippedSettingsKeepTodaysMaps) {
    const AgencySettings shipped =
        readJobSettings(TCMAP_SOURCE_DIR "/data/Settings.ini", false).agencies;
    const AgencySettings defaults;
    EXPECT_EQ(shipped.scale, "saffir-simpson");
    EXPECT_EQ(shipped.winds, "as-given");
    EXPECT_TRUE(shipped.agencies.empty());
    EXPECT_FALSE(shipped.markDifferences);
    EXPECT_DOUBLE_EQ(shipped.tenFromOneMinute, defaults.tenFromOneMinute);
}
