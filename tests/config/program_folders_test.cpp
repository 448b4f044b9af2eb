#include "config/program_folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>

#include "base/file_io.h"
#include "support/temp_folder.h"
#include "support/unprivileged_rerun.h"

using namespace tcmap;
using tcmap::testing::TempFolder;
namespace fs = std::filesystem;

namespace {

EnvironmentLookup environmentOf(std::map<std::string, std::string> values) {
    return [values = std::move(values)](const char* name) {
        const auto found = values.find(name);
        return found == values.end() ? std::string() : found->second;
    };
}

// A prefix laid out as an install: <prefix>/bin and <prefix>/share/tcmap.
struct InstalledTree {
    TempFolder root;
    std::string bin = root.file("bin");
    std::string data = root.file("share/tcmap");
    InstalledTree() {
        fs::create_directories(bin);
        fs::create_directories(data);
    }
};

}  // namespace

TEST(ProgramFolders, AWritableFolderWithSettingsRunsPortable) {
    TempFolder run;
    run.put("Settings.ini", "[Borvane4]\n");
    const ProgramFolders folders = findProgramFolders(run.path(), environmentOf({{"HOME", "/h"}}));
    EXPECT_TRUE(folders.portable);
    EXPECT_EQ(folders.userFolder, run.path());
    EXPECT_EQ(folders.dataFolder, run.path());
    EXPECT_EQ(folders.scratchRoot, run.path());
    // Decoded maps are cached where any run keeps them, not in the run folder.
    EXPECT_EQ(folders.cacheFolder, "/h/.cache/tcmap");
    // Nothing to prepare, nothing written.
    EXPECT_TRUE(prepareUserFolders(folders));
    EXPECT_FALSE(pathExists(run.file("Language.ini")));
}

TEST(ProgramFolders, AnInstalledProgramUsesTheXdgFoldersAndItsShareFolder) {
    InstalledTree tree;
    // Settings.ini in share/ but none beside the executable: installed.
    const ProgramFolders xdg =
        findProgramFolders(tree.bin, environmentOf({{"HOME", "/home/u"},
                                                    {"XDG_CONFIG_HOME", "/cfg"},
                                                    {"XDG_CACHE_HOME", "/cache"},
                                                    {"XDG_RUNTIME_DIR", "/run/user/7"}}));
    EXPECT_FALSE(xdg.portable);
    EXPECT_EQ(xdg.userFolder, "/cfg/tcmap");
    EXPECT_EQ(xdg.dataFolder, tree.data);
    EXPECT_EQ(xdg.scratchRoot, "/run/user/7/tcmap");
    EXPECT_EQ(xdg.cacheFolder, "/cache/tcmap");

    // Relative XDG values are ignored; without a runtime folder the scratch
    // file goes to the cache folder.
    const ProgramFolders plain = findProgramFolders(
        tree.bin,
        environmentOf(
            {{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "cfg"}, {"XDG_RUNTIME_DIR", "run"}}));
    EXPECT_EQ(plain.userFolder, "/home/u/.config/tcmap");
    EXPECT_EQ(plain.scratchRoot, "/home/u/.cache/tcmap");
}

TEST(ProgramFolders, AFolderThatCannotBeWrittenIsNotPortable) {
    // Root writes into any folder: as root the test runs again as user nobody.
    if (!tcmap::testing::permissionsBindThisProcess()) return;
    TempFolder run;
    run.put("Settings.ini", "[Borvane4]\n");
    ::chmod(run.path().c_str(), 0555);
    const ProgramFolders folders = findProgramFolders(run.path(), environmentOf({{"HOME", "/h"}}));
    ::chmod(run.path().c_str(), 0755);
    EXPECT_FALSE(folders.portable);
    // No share/tcmap beside it: the run folder's files are the data.
    EXPECT_EQ(folders.dataFolder, run.path());
    EXPECT_EQ(folders.userFolder, "/h/.config/tcmap");
}

TEST(ProgramFolders, TheFirstStartCopiesTheDefaultsAndKeepsTheUsersOwn) {
    InstalledTree tree;
    TempFolder home;
    ASSERT_TRUE(writeFileReplacing(tree.data + "/Settings.ini", "[Borvane4]\nMode=0\n"));
    ASSERT_TRUE(writeFileReplacing(tree.data + "/Language.ini", "[lang_list]\n"));
    const ProgramFolders folders =
        findProgramFolders(tree.bin, environmentOf({{"HOME", home.path()}}));

    ASSERT_TRUE(prepareUserFolders(folders));
    const std::string user = home.file(".config/tcmap");
    EXPECT_EQ(readFileOrEmpty(user + "/Settings.ini"), "[Borvane4]\nMode=0\n");
    EXPECT_EQ(readFileOrEmpty(user + "/Language.ini"), "[lang_list]\n");
    EXPECT_EQ(fs::status(folders.scratchRoot).permissions(), fs::perms::owner_all);

    // Later starts leave the user's choices alone.
    ASSERT_TRUE(writeFileReplacing(user + "/Settings.ini", "[Borvane4]\nMode=1\n"));
    ASSERT_TRUE(prepareUserFolders(folders));
    EXPECT_EQ(readFileOrEmpty(user + "/Settings.ini"), "[Borvane4]\nMode=1\n");
}

TEST(ProgramFolders, TheUsersOwnFileWinsOverTheShippedOne) {
    TempFolder user;
    TempFolder data;
    data.put("GridData", "shipped");
    data.put("en.lang", "shipped");
    user.put("en.lang", "own");
    EXPECT_EQ(programFilePath(user.path(), data.path(), "en.lang"), user.file("en.lang"));
    EXPECT_EQ(programFilePath(user.path(), data.path(), "GridData"), data.file("GridData"));
    // Missing everywhere: the user's path, where a message should point.
    EXPECT_EQ(programFilePath(user.path(), data.path(), "maps/x.png"), user.file("maps/x.png"));
    EXPECT_EQ(programFilePath(user.path(), "", "GridData"), user.file("GridData"));
}

// The cache folder the program really uses, and the switches read once from
// the environment at start-up.
TEST(ProgramFolders, CacheFolderAndEnvironmentSwitches) {
    TempFolder run;
    run.put("Settings.ini", "[Borvane4]\n");
    struct Row {
        std::map<std::string, std::string> environment;
        std::string cacheFolder;
    };
    const Row rows[] = {
        {{{"HOME", "/h"}}, "/h/.cache/tcmap"},
        {{{"HOME", "/h"}, {"XDG_CACHE_HOME", "/c"}}, "/c/tcmap"},
        {{{"HOME", "/h"}, {"XDG_CACHE_HOME", "c"}}, "/h/.cache/tcmap"},  // relative: ignored
        {{{"HOME", "/h"}, {"TCMAP_NO_CACHE", "1"}}, ""},
        {{{"HOME", "/h"}, {"TCMAP_NO_CACHE", "0"}}, "/h/.cache/tcmap"},
        {{{"HOME", "home"}}, ""},  // no absolute folder to keep it in
        {{}, ""},
    };
    for (const Row& row : rows) {
        const ProgramFolders folders =
            findProgramFolders(run.path(), environmentOf(row.environment));
        EXPECT_EQ(folders.cacheFolder, row.cacheFolder) << row.cacheFolder;
        const std::string described = describeProgramFolders(folders);
        EXPECT_NE(described.find("cache folder: " +
                                 (row.cacheFolder.empty() ? std::string("none") : row.cacheFolder) +
                                 "\n"),
                  std::string::npos)
            << described;
    }

    const EnvironmentOptions off = readEnvironmentOptions(environmentOf({}));
    EXPECT_FALSE(off.printTimings);
    EXPECT_TRUE(off.killTestHooks.holdWrite.empty());
    EXPECT_FALSE(off.killTestHooks.noUnnamedFiles);
    const EnvironmentOptions on =
        readEnvironmentOptions(environmentOf({{"TCMAP_TIMINGS", "1"},
                                              {"TCMAP_TEST_HOLD_WRITE", "written:map.png"},
                                              {"TCMAP_TEST_NO_TMPFILE", "1"}}));
    EXPECT_TRUE(on.printTimings);
    EXPECT_EQ(on.killTestHooks.holdWrite, "written:map.png");
    EXPECT_TRUE(on.killTestHooks.noUnnamedFiles);
    EXPECT_FALSE(readEnvironmentOptions(environmentOf({{"TCMAP_TIMINGS", "yes"}})).printTimings);

    // The message language follows the locale rules: the first of LC_ALL,
    // LC_MESSAGES and LANG that is set.
    EXPECT_EQ(off.messageLocale, "");
    EXPECT_EQ(readEnvironmentOptions(environmentOf({{"LANG", "en_US.UTF-8"},
                                                    {"LC_MESSAGES", "zh_CN.UTF-8"},
                                                    {"LC_ALL", "de_DE.UTF-8"}}))
                  .messageLocale,
              "de_DE.UTF-8");
    EXPECT_EQ(readEnvironmentOptions(
                  environmentOf({{"LANG", "en_US.UTF-8"}, {"LC_MESSAGES", "zh_CN.UTF-8"}}))
                  .messageLocale,
              "zh_CN.UTF-8");
    EXPECT_EQ(readEnvironmentOptions(environmentOf({{"LANG", "en_US.UTF-8"}})).messageLocale,
              "en_US.UTF-8");
}
