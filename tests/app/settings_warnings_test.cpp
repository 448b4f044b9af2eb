// The warnings of the settings check as a user reads them, and the files the
// program ships, which must give none.
#include "app/settings_warnings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "i18n/language_pack.h"
#include "render/canvas/picture.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

const std::string kData = TCMAP_SOURCE_DIR "/data";

LanguagePack shipped(const std::string& code) {
    return LanguagePack(kData, code, "UTF-8", false);
}

std::vector<std::string> warningsOf(std::string_view bytes, const LanguagePack& lang) {
    std::vector<std::string> lines;
    for (const SettingsProblem& problem : checkSettingsText(bytes)) {
        lines.push_back(settingsWarning("Settings.ini", problem, lang));
    }
    return lines;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(SettingsWarnings, EachBadLineGivesItsExactWarning) {
    struct Row {
        std::string file;
        std::string warning;
    };
    const Row rows[] = {
        {"[Borvane4]\nMode=1\nShowGird1=1\n",
         "Settings.ini:3: [Borvane4] ShowGird1 is not a known key (did you mean ShowGrid1?)"},
        {"[Borvane4]\nShowText1=yes\n",
         "Settings.ini:2: [Borvane4] ShowText1=yes: expected 0 (off) or 1 (on)"},
        {"[Borvane4]\nWidth1=1600px\n",
         "Settings.ini:2: [Borvane4] Width1=1600px: expected a whole number from 1 to 32767"},
        {"[Borvane4]\nDrawLegends1=9\n",
         "Settings.ini:2: [Borvane4] DrawLegends1=9: expected a whole number from 0 to 5 (0 None, "
         "1 Top left, 2 Bottom left, 3 Top right, 4 Bottom right, 5 Automatic)"},
        {"[Borvane4]\nDrawRad=4\n",
         "Settings.ini:2: [Borvane4] DrawRad=4: expected a whole number from 0 to 3 (0 None, 1 All "
         "fixes, 2 Last fix only, 3 Tropical part only)"},
        {"[Borvane4]\nMode=2\n",
         "Settings.ini:2: [Borvane4] Mode=2: expected a whole number from 0 to 1 (0 Wendrel style, "
         "1 TCV style)"},
        {"[Borvane4]\nAutoDraw=4\n",
         "Settings.ini:2: [Borvane4] AutoDraw=4: expected a whole number from 0 to 3"},
        {"[Borvane4]\nTrack=thin\n",
         "Settings.ini:2: [Borvane4] Track=thin: expected a number from 0 to 1000000"},
        {"[Borvane4]\nBackgroundColor=\"15,23\"\n",
         "Settings.ini:2: [Borvane4] BackgroundColor=15,23: expected red,green,blue: three whole "
         "numbers from 0 to 255"},
        {"[Archive]\nYears1=2015..2016\n",
         "Settings.ini:2: [Archive] Years1=2015..2016: expected years such as 2015, 2004-2006 or "
         "1950,2005"},
        {"[Archive]\nBasins=EP,NA\n",
         "Settings.ini:2: [Archive] Basins=EP,NA: expected ATCF basin codes separated by commas "
         "(AL, EP, CP, WP, IO, BB, AS, SH, SI, SP, SL)"},
        {"[Memory]\nRegionSelect=\"60,100,0,80\"\n",
         "Settings.ini:2: [Memory] RegionSelect=60,100,0,80: expected four numbers separated by "
         "commas: north latitude, west longitude, latitude extent and longitude extent (extents "
         "above 0)"},
        {"[TextFormat]\nTime=\"%d/%d %d:%d\"\n",
         "Settings.ini:2: [TextFormat] Time=%d/%d %d:%d: expected at most 3 placeholders such as "
         "%02d; %% writes a percent sign"},
        {"[Borvane4]\nYears=2015\n",
         "Settings.ini:2: [Borvane4] Years is not read in this section (it belongs in [Archive])"},
        {"[Archive]\nYear=2015\n",
         "Settings.ini:2: [Archive] Year is not a known key (did you mean Years?)"},
        {"[Borvane4]\nStorm1=KILO\n",
         "Settings.ini:2: [Borvane4] Storm1 is not a known key (did you mean [Archive] Storms1?)"},
        {"[Borvane4]\nColour=red\n", "Settings.ini:2: [Borvane4] Colour is not a known key"},
        {"[Borvane]\nMode=1\n",
         "Settings.ini:1: [Borvane] is not a known section (did you mean [Borvane4]?); its keys "
         "are not read"},
        {"[Language]\nSelect=en\n",
         "Settings.ini:1: [Language] is not a known section; its keys are not read"},
        {"[Borvane4]\nMode=1\n[BORVANE4]\nMode=0\n",
         "Settings.ini:3: [BORVANE4] appears again and is not read; the one on line 1 is read"},
        {"[Borvane4]\nShowGrid=1\nshowgrid=0\n",
         "Settings.ini:3: [Borvane4] showgrid is set again and is not read; the value on line 2 "
         "is used"},
        {"Mode=1\n[Borvane4]\n", "Settings.ini:1: Mode is outside any section and is not read"},
        {"[Borvane4]\nWidth1: 1600\n",
         "Settings.ini:2: not a [section] or key=value line, so it is not read: Width1: 1600"},
        {"[Borvane4]\nMap=" + std::string(10300, 'm') + "\n",
         "Settings.ini:2: [Borvane4] Map: the value is longer than 10240 bytes and is cut short"},
        // What a terminal would obey is shown, not sent.
        {"[Borvane4]\nWidth=\"\x1b[2J\"\n",
         "Settings.ini:2: [Borvane4] Width=?[2J: expected a whole number from 1 to 32767"},
    };
    const LanguagePack en = shipped("en");
    for (const Row& row : rows) {
        EXPECT_EQ(warningsOf(row.file, en), Lines{row.warning}) << row.file.substr(0, 60);
    }

    EXPECT_EQ(warningsOf("[Borvane4]\nShowGird1=1\nWidth1=1600px\n", shipped("zh-cn")),
              (Lines{"Settings.ini:2: [Borvane4] ShowGird1 不是已知的键（是否应为 ShowGrid1？）",
                     "Settings.ini:3: [Borvane4] Width1=1600px：应为 1 到 32767 之间的整数"}));
}

TEST(SettingsWarnings, EmptyValuesAreAcceptedWhereEmptyMeansSomething) {
    // An empty value reads as the empty text: a path or filter then means none
    // or all; a number or switch reads 0, which is a mistake.
    struct Row {
        std::string line;
        std::string warning;  // empty: none
    };
    const Row rows[] = {
        {"[Borvane4]\nMap=", ""},
        {"[Borvane4]\nMap1=\"\"", ""},
        {"[Borvane4]\nDir=", ""},
        {"[Borvane4]\nBackgroundColor=", ""},
        {"[Archive]\nYears=", ""},
        {"[Archive]\nBasins1=", ""},
        {"[Archive]\nStorms=", ""},
        {"[Memory]\nRegionSelect=", ""},
        {"[TextFormat]\nForecast=", ""},
        {"[tmp]\nname=\"\"", ""},
        {"[Borvane4]\nWidth1=",
         "Settings.ini:2: [Borvane4] Width1=: expected a whole number from 1 to 32767"},
        {"[Borvane4]\nTrack=",
         "Settings.ini:2: [Borvane4] Track=: expected a number from 0 to "
         "1000000"},
        {"[Borvane4]\nSkipInvest=",
         "Settings.ini:2: [Borvane4] SkipInvest=: expected 0 (off) or "
         "1 (on)"},
        {"[Borvane4]\nDrawLegends=",
         "Settings.ini:2: [Borvane4] DrawLegends=: expected a whole "
         "number from 0 to 5 (0 None, 1 Top left, 2 Bottom left, 3 "
         "Top right, 4 Bottom right, 5 Automatic)"},
        {"[Borvane4]\nMode=\"\"",
         "Settings.ini:2: [Borvane4] Mode=: expected a whole number "
         "from 0 to 1 (0 Wendrel style, 1 TCV style)"},
    };
    const LanguagePack en = shipped("en");
    for (const Row& row : rows) {
        EXPECT_EQ(warningsOf(row.line, en), row.warning.empty() ? Lines{} : Lines{row.warning})
            << row.line;
    }
}

TEST(SettingsWarnings, MissingAndUnreadableFilesSayWhichSettingsAreRead) {
    TempFolder folder;
    const LanguagePack en = shipped("en");
    const std::string missing = folder.file("no-such.ini");
    EXPECT_EQ(settingsWarnings(missing, en),
              Lines{missing + ": the settings file does not exist; the defaults are used"});
    EXPECT_EQ(settingsWarnings(folder.path(), en),
              Lines{folder.path() + ": the settings file cannot be read; the defaults are used"});

    // Batch mode reads the default settings file in place of a missing one
    // and checks that one too.
    std::string settingsPath = folder.put("Settings.ini", "[Borvane4]\nShowText1=yes\n");
    std::ostringstream err;
    printBatchSettingsWarnings(missing, settingsPath, en, err);
    EXPECT_EQ(err.str(), missing + ": the settings file does not exist; " + settingsPath +
                             " is used instead\n" + settingsPath +
                             ":2: [Borvane4] ShowText1=yes: expected 0 (off) or 1 (on)\n");

    // A named file that is read and clean: nothing at all.
    settingsPath = folder.put("clean.ini", "[Borvane4]\nMode=1\n");
    err.str("");
    printBatchSettingsWarnings(settingsPath, settingsPath, en, err);
    EXPECT_EQ(err.str(), "");
}

TEST(SettingsWarnings, TheShippedAndSampleSettingsFilesGiveNone) {
    namespace fs = std::filesystem;
    std::vector<std::string> files{kData + "/Settings.ini"};
    for (const std::string folder :
         {TCMAP_SOURCE_DIR "/samples", TCMAP_SOURCE_DIR "/tests/visual"}) {
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            if (entry.path().extension() == ".ini") files.push_back(entry.path().string());
        }
    }
    EXPECT_GE(files.size(), 30u);
    const LanguagePack en = shipped("en");
    for (const std::string& file : files) {
        EXPECT_EQ(settingsWarnings(file, en), Lines{}) << file;
    }
}

TEST(SettingsWarnings, SizeLimitsAreThoseOfThePictures) {
    EXPECT_EQ(kLargestPictureSide, kMaxPictureSide);
    EXPECT_EQ(findSettingRule("Borvane4", "Width")->high, kMaxPictureSide);
}
