// The File menu's recent track files as Settings.ini keeps them.
#include "config/recent_files.h"

#include <gtest/gtest.h>

#include "config/profile_store.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

using Entries = std::vector<std::vector<std::string>>;

}  // namespace

TEST(RecentFiles, NewestFirstWithoutRepeatsAndAtMostEight) {
    const struct {
        const char* why;
        Entries remembered;  // in the order they were opened
        Entries read;
    } rows[] = {
        {"nothing yet", {}, {}},
        {"one Open", {{"/t/a.dat"}}, {{"/t/a.dat"}}},
        {"newest first",
         {{"/t/a.dat"}, {"/t/b.dat", "/t/c.dat"}},
         {{"/t/b.dat", "/t/c.dat"}, {"/t/a.dat"}}},
        {"opened again moves up, once",
         {{"/t/a.dat"}, {"/t/b.dat"}, {"/t/a.dat"}},
         {{"/t/a.dat"}, {"/t/b.dat"}}},
        {"the same files in another order are another entry",
         {{"/a", "/b"}, {"/b", "/a"}},
         {{"/b", "/a"}, {"/a", "/b"}}},
        {"an empty list changes nothing", {{"/t/a.dat"}, {}}, {{"/t/a.dat"}}},
        {"a path holding the separator is not kept",
         {{"/t/a.dat"}, {"/t/x|y.dat"}},
         {{"/t/a.dat"}}},
        {"a path holding a line break is not kept and adds no line",
         {{"/t/a.dat"}, {"/t/x\n[Borvane4]\nMap=evil.png"}, {"/t/y\r.dat"}},
         {{"/t/a.dat"}}},
        {"spaces and quotes of a path survive",
         {{" /t/with space .dat"}},
         {{" /t/with space .dat"}}},
        {"the ninth drops the oldest",
         {{"/1"}, {"/2"}, {"/3"}, {"/4"}, {"/5"}, {"/6"}, {"/7"}, {"/8"}, {"/9"}},
         {{"/9"}, {"/8"}, {"/7"}, {"/6"}, {"/5"}, {"/4"}, {"/3"}, {"/2"}}},
    };
    for (const auto& row : rows) {
        TempFolder folder;
        const std::string settings = folder.file("Settings.ini");
        for (const auto& files : row.remembered) EXPECT_TRUE(rememberRecentFiles(settings, files));
        EXPECT_EQ(readRecentFiles(settings), row.read) << row.why;
    }
}

TEST(RecentFiles, KeysOfOtherSectionsStayAndAGapIsSkipped) {
    TempFolder folder;
    const std::string settings = folder.put(
        "Settings.ini",
        "[Memory]\r\nRegionSelect=\"1,2,3,4\"\r\nRecent1=\"\"\r\nRecent2=\"/x.dat\"\r\n");
    EXPECT_EQ(readRecentFiles(settings), (Entries{{"/x.dat"}}));
    EXPECT_TRUE(rememberRecentFiles(settings, {"/y.dat"}));
    EXPECT_EQ(readRecentFiles(settings), (Entries{{"/y.dat"}, {"/x.dat"}}));
    EXPECT_EQ(ProfileStore::read(settings, "Memory", "RegionSelect", ""), "1,2,3,4");
    // A settings file that cannot be written says so.
    EXPECT_FALSE(rememberRecentFiles(folder.file("no/such/Settings.ini"), {"/y.dat"}));
}

TEST(RecentFiles, CaptionsNameTheFirstFileAndCountTheRest) {
    const struct {
        std::vector<std::string> files;
        size_t index;
        const char* caption;
    } rows[] = {
        {{"/tracks/bwp012014.dat"}, 0, "&1 bwp012014.dat"},
        {{"/t/a.dat", "/t/b.dat", "/t/c.dat"}, 1, "&2 a.dat (+2)"},
        {{"C:\\tracks\\b.dat"}, 7, "&8 b.dat"},
        {{"plain.dat"}, 2, "&3 plain.dat"},
        {{}, 0, "&1 "},
    };
    for (const auto& row : rows) EXPECT_EQ(recentCaption(row.files, row.index), row.caption);
}
