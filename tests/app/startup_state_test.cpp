#include "app/startup_state.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "base/file_io.h"
#include "config/app_state.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

TEST(StartupState, ReplacesThePreviousScratchFileAndRecordsTheNewOne) {
    TempFolder run;
    ::mkdir(run.file("temp").c_str(), 0755);
    const std::string stale = run.put("temp/5f3e.tmp", "last run's map");
    run.put("Settings.ini", "[Borvane4]\nMode=1\n[tmp]\nname=\"" + stale + "\"\n");
    // A batch run reading another settings file still records in the run folder's.
    const std::string batchSettings = run.put("batch.ini", "[Borvane4]\nMode=0\n");

    AppState app;
    setRunDefaults(app, run.path());
    EXPECT_EQ(app.settingsPath, run.file("Settings.ini"));
    app.settingsPath = batchSettings;
    prepareScratchFile(app);

    EXPECT_FALSE(pathExists(stale));
    EXPECT_EQ(folderOf(app.tempFilePath), run.file("temp"));
    const std::string settings = readFileOrEmpty(run.file("Settings.ini"));
    EXPECT_NE(settings.find("name=\"" + app.tempFilePath + "\""), std::string::npos) << settings;
    EXPECT_NE(settings.find("Mode=1"), std::string::npos);
    EXPECT_EQ(readFileOrEmpty(batchSettings), "[Borvane4]\nMode=0\n");
}

TEST(StartupState, ReadsStyleMapsFolderAndLanguageWithTheirDefaults) {
    TempFolder run;
    run.put("Settings.ini",
            "[Borvane4]\nMode=2\nMap=\"maps/world.png\"\nMap1=\" /a/tcv map.jpg \"\nDir=\"/t\"\n");
    run.put("Language.ini", "[lang_list]\nCharset=GBK\nTran=1\n[Language]\nSelect=en\n");
    AppState app;
    setRunDefaults(app, run.path());
    readStartupSettings(app);
    EXPECT_TRUE(app.styleIsTcv);
    EXPECT_EQ(app.mapPath, "maps/world.png");
    EXPECT_EQ(app.mapPath1, " /a/tcv map.jpg ");
    EXPECT_EQ(app.lastDir, "/t");
    EXPECT_EQ(app.langCharset, "GBK");
    EXPECT_TRUE(app.langToBig5);
    EXPECT_EQ(app.langCode, "en");
    EXPECT_EQ(app.programVersion, TCMAP_VERSION);
    EXPECT_FALSE(languageChoicePending(run.path()));

    // A Mode without a leading number is the Wendrel style; only Tran "1" is on;
    // an empty choice means the default language until the window asks.
    run.put("Settings.ini", "[Borvane4]\nMode=tcv\n");
    run.put("Language.ini", "[lang_list]\nTran=yes\n[Language]\nSelect=\n");
    readStartupSettings(app);
    EXPECT_FALSE(app.styleIsTcv);
    EXPECT_FALSE(app.langToBig5);
    EXPECT_EQ(app.langCode, "zh-cn");
    EXPECT_EQ(app.langCharset, "UTF-8");
    EXPECT_TRUE(languageChoicePending(run.path()));
}
