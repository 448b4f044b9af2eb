#include "config/annotation_settings.h"

#include <gtest/gtest.h>

#include "config/job_settings.h"
#include "config/settings_check.h"
#include "config/settings_schema.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

AnnotationSettings withYears(TimeYears years) {
    AnnotationSettings a;
    a.timeYears = years;
    return a;
}

}  // namespace

TEST(AnnotationSettings, StoredValuesAsTheJobReadsThem) {
    struct Row {
        const char* file;
        AnnotationSettings expected;
    };
    const Row rows[] = {
        {"", {}},
        {"[Annotations]\nGridNumbers=1\nTitle=1\nTitleText=\"Ian, 2022\"\nStormNames=1\n"
         "TimeYears=2\nLegendContrast=1\nLegendFont=1\nChart=ian.svg\n",
         {true, true, "Ian, 2022", true, TimeYears::Always, true, true, "ian.svg"}},
        {"[Annotations]\nTimeYears=1\nTitle=0\n", withYears(TimeYears::WhenSeveralYears)},
        // Out of range reads as the nearest meaning, as the other choices do.
        {"[Annotations]\nTimeYears=7\n", withYears(TimeYears::Always)},
        {"[Annotations]\nTimeYears=-1\nGridNumbers=abc\n", {}},
    };
    TempFolder folder;
    for (const Row& row : rows) {
        const std::string path = folder.put("Settings.ini", row.file);
        for (const bool tcv : {false, true}) {
            const AnnotationSettings a = readJobSettings(path, tcv).annotations;
            const AnnotationSettings& e = row.expected;
            EXPECT_EQ(a.gridNumbers, e.gridNumbers) << row.file;
            EXPECT_EQ(a.title, e.title) << row.file;
            EXPECT_EQ(a.titleText, e.titleText) << row.file;
            EXPECT_EQ(a.stormNames, e.stormNames) << row.file;
            EXPECT_EQ(a.timeYears, e.timeYears) << row.file;
            EXPECT_EQ(a.legendContrast, e.legendContrast) << row.file;
            EXPECT_EQ(a.proportionalLegend, e.proportionalLegend) << row.file;
            EXPECT_EQ(a.chartOutput, e.chartOutput) << row.file;
        }
    }
}

TEST(AnnotationSettings, KnownToTheSettingsCheck) {
    struct Row {
        const char* key;
        const char* value;
        bool accepted;
    };
    const Row rows[] = {{"GridNumbers", "1", true},
                        {"GridNumbers", "2", false},
                        {"TimeYears", "2", true},
                        {"TimeYears", "3", false},
                        {"TitleText", "Any text, even 100%", true},
                        {"Chart", "", true},
                        {"LegendFont", "1", true}};
    for (const Row& row : rows) {
        const SettingRule* rule = findSettingRule("annotations", row.key);
        ASSERT_NE(rule, nullptr) << row.key;
        EXPECT_EQ(acceptsValue(*rule, row.value), row.accepted) << row.key << "=" << row.value;
    }
}

TEST(AnnotationSettings, ANewInstallStartsWithThemOn) {
    TempFolder folder;
    const std::string path = folder.put("Settings.ini", "[Borvane4]\nMode=1\n");
    ASSERT_TRUE(writeAnnotationDefaults(path));
    const AnnotationSettings a = readJobSettings(path, true).annotations;
    EXPECT_TRUE(a.gridNumbers && a.title && a.stormNames && a.legendContrast &&
                a.proportionalLegend);
    EXPECT_EQ(a.timeYears, TimeYears::WhenSeveralYears);
    EXPECT_TRUE(a.titleText.empty());
    EXPECT_EQ(readJobSettings(path, true).minWidth, 1600);  // the rest kept
}
