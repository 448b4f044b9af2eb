#include "app/startup_state.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "base/file_io.h"
#include "config/program_folders.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

TEST(StartupState, ReplacesThePreviousScratchFileAndRecordsTheNewOne) {
    TempFolder run;
    ::mkdir(run.file("temp").c_str(), 0755);
    const std::string stale = run.put("temp/5f3e.tmp", "last run's map");
    run.put("Settings.ini", "[Borvane4]\nMode=1\n[tmp]\nname=\"" + stale + "\"\n");
    // Another settings file read by the run: the record still goes to the
    // run folder's.
    const std::string otherSettings = run.put("other.ini", "[Borvane4]\nMode=0\n");

    ProgramFolders folders;
    folders.userFolder = folders.dataFolder = folders.scratchRoot = run.path();
    ProgramPaths paths = programPaths(folders);
    EXPECT_EQ(paths.settingsPath, run.file("Settings.ini"));
    paths.settingsPath = otherSettings;
    const std::string scratch = prepareScratchFile(paths);

    EXPECT_FALSE(pathExists(stale));
    EXPECT_EQ(folderOf(scratch), run.file("temp"));
    const std::string settings = readFileOrEmpty(run.file("Settings.ini"));
    EXPECT_NE(settings.find("name=\"" + scratch + "\""), std::string::npos) << settings;
    EXPECT_NE(settings.find("Mode=1"), std::string::npos);
    EXPECT_EQ(readFileOrEmpty(otherSettings), "[Borvane4]\nMode=0\n");
}

TEST(StartupState, ReadsStyleMapsFolderAndLanguageWithTheirDefaults) {
    TempFolder run;
    run.put("Settings.ini",
            "[Borvane4]\nMode=2\nMap=\"maps/world.png\"\nMap1=\" /a/tcv map.jpg \"\nDir=\"/t\"\n");
    run.put("Language.ini", "[lang_list]\nCharset=GBK\nTran=1\n[Language]\nSelect=en\n");
    const StyleChoice style = readStyleChoice(run.file("Settings.ini"));
    EXPECT_TRUE(style.tcv);
    EXPECT_EQ(style.mapPath, "maps/world.png");
    EXPECT_EQ(style.mapPath1, " /a/tcv map.jpg ");
    EXPECT_EQ(style.map(), " /a/tcv map.jpg ");
    EXPECT_EQ(readLastDir(run.file("Settings.ini")), "/t");
    const LanguageChoice language = readLanguageChoice(run.path());
    EXPECT_EQ(language.charset, "GBK");
    EXPECT_TRUE(language.toBig5);
    EXPECT_EQ(language.code, "en");
    EXPECT_EQ(programVersion(), TCMAP_VERSION);
    EXPECT_FALSE(languageChoicePending(run.path()));

    // A Mode without a leading number is the Wendrel style; only Tran "1" is on;
    // an empty choice means the default language until the window asks.
    run.put("Settings.ini", "[Borvane4]\nMode=tcv\n");
    run.put("Language.ini", "[lang_list]\nTran=yes\n[Language]\nSelect=\n");
    EXPECT_FALSE(readStyleChoice(run.file("Settings.ini")).tcv);
    const LanguageChoice defaults = readLanguageChoice(run.path());
    EXPECT_FALSE(defaults.toBig5);
    EXPECT_EQ(defaults.code, "zh-cn");
    EXPECT_EQ(defaults.charset, "UTF-8");
    EXPECT_TRUE(languageChoicePending(run.path()));
}
