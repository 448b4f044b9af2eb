#include "config/profile_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <string>

#include "base/file_io.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

std::string readBack(const std::string& path) {
    return readFileOrEmpty(path);
}

}  // namespace

TEST(ProfileStoreRead, FollowsIniRules) {
    TempFolder folder;
    const std::string ini = folder.put("Settings.ini",
                                       "orphan=before any section\n"
                                       "[Borvane4]\n"
                                       "  MODE =\t2\t \n"
                                       "Map = \"/maps/a b.png\"\n"
                                       "Empty=\n"
                                       "Quoted=\"\"\n"
                                       "Half=\"abc\n"
                                       "One=\"\n"
                                       "Inner=\"a\"b\"\n"
                                       "a line without equals sign\n"
                                       "Dup=first\n"
                                       "dup=second\n"
                                       "[ borvane4 ]\n"
                                       "Late=hidden\n"
                                       "[Other]\n"
                                       "Dup=other\n");
    // Only the first section of a name is searched; keys before any section
    // belong to none.
    const struct {
        const char* section;
        const char* key;
        const char* fallback;
        const char* value;
    } rows[] = {
        {"borvane4", "Mode", "0", "2"},
        {"BORVANE4", "map", "", "/maps/a b.png"},
        {"Borvane4", "Empty", "dflt", ""},
        {"Borvane4", "Quoted", "dflt", ""},
        {"Borvane4", "Half", "", "\"abc"},
        {"Borvane4", "One", "", "\""},
        {"Borvane4", "Inner", "", "a\"b"},
        {"Borvane4", "Dup", "", "first"},
        {"Other", "Dup", "", "other"},
        {"Borvane4", "Late", "dflt", "dflt"},
        {"Borvane4", "orphan", "dflt", "dflt"},
        {"Missing", "Mode", "dflt", "dflt"},
        {"Borvane4", "a line without equals sign", "d", "d"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ProfileStore::read(ini, row.section, row.key, row.fallback), row.value)
            << "[" << row.section << "] " << row.key;
    }
}

TEST(ProfileStoreRead, EmptyNamesReadNothingAndUnusableFilesGiveDefaults) {
    TempFolder folder;
    const std::string ini = folder.put("Settings.ini", "[a]\nk=v\n=x\n");
    // Folders, FIFOs and devices: tests/app/non_regular_paths_test.cpp.
    const struct {
        std::string path;
        const char* section;
        const char* key;
        const char* value;
    } rows[] = {
        {ini, "", "k", ""},
        {ini, "a", "", ""},
        {ini, " \t", "k", ""},
        {"", "a", "k", ""},
        {folder.file("missing.ini"), "a", "k", "dflt"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ProfileStore::read(row.path, row.section, row.key, "dflt"), row.value)
            << row.path << " [" << row.section << "] " << row.key;
    }
}

TEST(ProfileStoreRead, HandlesCrLfFilesAndAByteOrderMark) {
    TempFolder folder;
    const std::string ini = folder.put("Settings.ini",
                                       "\xEF\xBB\xBF[tmp]\r\n"
                                       "name=\"/run/temp/1a.tmp\"\r\n"
                                       "other = 1 \r\n"
                                       "last=end");
    EXPECT_EQ(ProfileStore::read(ini, "tmp", "name", ""), "/run/temp/1a.tmp");
    EXPECT_EQ(ProfileStore::read(ini, "tmp", "other", ""), "1");
    EXPECT_EQ(ProfileStore::read(ini, "tmp", "last", ""), "end");
}

TEST(ProfileStoreRead, CutsLongValues) {
    TempFolder folder;
    const std::string longValue(20000, 'v');
    const std::string ini = folder.put(
        "Settings.ini", "[a]\nplain=" + longValue + "\nquoted=\"" + longValue + "\"\nafter=ok\n");
    EXPECT_EQ(ProfileStore::read(ini, "a", "plain", ""), std::string(kProfileValueLimit, 'v'));
    EXPECT_EQ(ProfileStore::read(ini, "a", "quoted", ""), std::string(kProfileValueLimit, 'v'));
    EXPECT_EQ(ProfileStore::read(ini, "a", "after", ""), "ok");
    EXPECT_EQ(ProfileStore::read(ini, "a", "none", longValue).size(), kProfileValueLimit);
}

TEST(ProfileStoreWrite, ChangesOnlyItsOwnLine) {
    TempFolder folder;
    const std::string original =
        "; kept\r\n[Borvane4]\r\nMode=0\r\n  Map = \"a\"\r\n\r\n[tmp]\r\nname=x\r\n";
    const std::string ini = folder.put("Settings.ini", original);

    ASSERT_TRUE(ProfileStore::write(ini, "borvane4", "MODE", "1"));
    EXPECT_EQ(readBack(ini),
              "; kept\r\n[Borvane4]\r\nMODE=1\r\n  Map = \"a\"\r\n\r\n[tmp]\r\nname=x\r\n");

    // A new key goes after the section's last key line, before the blank line.
    ASSERT_TRUE(ProfileStore::write(ini, "Borvane4", "Dir", "\"/home/me\""));
    EXPECT_EQ(readBack(ini),
              "; kept\r\n[Borvane4]\r\nMODE=1\r\n  Map = \"a\"\r\nDir=\"/home/me\"\r\n\r\n"
              "[tmp]\r\nname=x\r\n");
    EXPECT_EQ(ProfileStore::read(ini, "Borvane4", "Dir", ""), "/home/me");

    // A missing section is added at the end in the file's line-break style.
    ASSERT_TRUE(ProfileStore::write(ini, "Memory", "RegionSelect", "\"60,100,60,80\""));
    EXPECT_EQ(readBack(ini),
              "; kept\r\n[Borvane4]\r\nMODE=1\r\n  Map = \"a\"\r\nDir=\"/home/me\"\r\n\r\n"
              "[tmp]\r\nname=x\r\n[Memory]\r\nRegionSelect=\"60,100,60,80\"\r\n");
}

TEST(ProfileStoreWrite, KeepsLfFilesAndMissingFinalBreaks) {
    TempFolder folder;
    const std::string ini = folder.put("lf.ini", "[a]\nk=1");
    ASSERT_TRUE(ProfileStore::write(ini, "a", "j", "2"));
    EXPECT_EQ(readBack(ini), "[a]\nk=1\nj=2");
    ASSERT_TRUE(ProfileStore::write(ini, "b", "x", ""));
    EXPECT_EQ(readBack(ini), "[a]\nk=1\nj=2\n[b]\nx=\n");

    const std::string empty = folder.put("keyless.ini", "[a]\n\n[b]\n");
    ASSERT_TRUE(ProfileStore::write(empty, "a", "k", "1"));
    EXPECT_EQ(readBack(empty), "[a]\nk=1\n\n[b]\n");

    const std::string marked = folder.put("bom.ini", "\xEF\xBB\xBF[a]\nk=1\n");
    ASSERT_TRUE(ProfileStore::write(marked, "A", "k", "2"));
    EXPECT_EQ(readBack(marked), "\xEF\xBB\xBF[a]\nk=2\n");
}

// A file whose last line ends in a lone CR (an editor's half of CR LF): that
// line reads the same before and after writes of other keys, and its own
// bytes stay; only the line break is completed.
TEST(ProfileStoreWrite, ALoneCrAtTheEndChangesNoOtherValue) {
    TempFolder folder;
    const std::string ini = folder.put("cr.ini", "[Borvane4]\r\nMap=\"m.png\"\r\nMode=1\r");
    EXPECT_EQ(ProfileStore::read(ini, "Borvane4", "Mode", ""), "1");
    ASSERT_TRUE(ProfileStore::write(ini, "tmp", "name", "\"/t/1.tmp\""));
    EXPECT_EQ(ProfileStore::read(ini, "Borvane4", "Mode", ""), "1");
    EXPECT_EQ(readBack(ini),
              "[Borvane4]\r\nMap=\"m.png\"\r\nMode=1\r\n[tmp]\r\nname=\"/t/1.tmp\"\r\n");

    const std::string inSection = folder.put("cr2.ini", "[a]\nk=1\r");
    ASSERT_TRUE(ProfileStore::write(inSection, "a", "j", "2"));
    EXPECT_EQ(readBack(inSection), "[a]\nk=1\r\nj=2");
    EXPECT_EQ(ProfileStore::read(inSection, "a", "k", ""), "1");

    // Its own value replaced: the CR stays where it was.
    const std::string own = folder.put("cr3.ini", "[a]\nk=1\r");
    ASSERT_TRUE(ProfileStore::write(own, "a", "k", "22"));
    EXPECT_EQ(readBack(own), "[a]\nk=22\r");
}

TEST(ProfileStoreWrite, ChangesTheFirstOfDuplicates) {
    TempFolder folder;
    const std::string ini = folder.put("dup.ini", "[A]\nk=1\nk=2\n[a]\nk=3\nz=4\n");
    ASSERT_TRUE(ProfileStore::write(ini, "a", "K", "9"));
    ASSERT_TRUE(ProfileStore::write(ini, "a", "z", "5"));
    EXPECT_EQ(readBack(ini), "[A]\nK=9\nk=2\nz=5\n[a]\nk=3\nz=4\n");
    EXPECT_EQ(ProfileStore::read(ini, "A", "z", ""), "5");
}

TEST(ProfileStoreWrite, CreatesAMissingFileButNotAMissingFolder) {
    TempFolder folder;
    const std::string fresh = folder.file("Settings.ini");
    ASSERT_TRUE(ProfileStore::write(fresh, "tmp", "name", "\"/x.tmp\""));
    EXPECT_EQ(readBack(fresh), "[tmp]\nname=\"/x.tmp\"\n");

    const std::string nowhere = folder.file("no/such/folder/Settings.ini");
    EXPECT_FALSE(ProfileStore::write(nowhere, "tmp", "name", "x"));
    EXPECT_FALSE(pathExists(nowhere));
    EXPECT_FALSE(ProfileStore::write(folder.path(), "tmp", "name", "x"));
    EXPECT_FALSE(ProfileStore::write("", "tmp", "name", "x"));
}

TEST(ProfileStoreWrite, RefusesWhatWouldCorruptTheFile) {
    TempFolder folder;
    const std::string original = "[a]\r\nk=1\r\n";
    const std::string ini = folder.put("Settings.ini", original);
    const std::string_view badValues[] = {"x\ny=planted", "x\r", std::string_view("x\0y", 3)};
    for (const std::string_view value : badValues) {
        EXPECT_FALSE(ProfileStore::write(ini, "a", "k", value));
        EXPECT_FALSE(ProfileStore::write(ini, "a", "new", value));
    }
    const std::string_view badNames[] = {
        "", " ", "a]b", "a=b", "a\nb", "a\rb", std::string_view("a\0b", 3)};
    for (const std::string_view name : badNames) {
        EXPECT_FALSE(ProfileStore::write(ini, name, "k", "1")) << name;
        EXPECT_FALSE(ProfileStore::write(ini, "a", name, "1")) << name;
    }
    EXPECT_FALSE(ProfileStore::write(ini, "a", "[k", "1"));
    EXPECT_EQ(readBack(ini), original);
}

TEST(ProfileStoreWrite, SurvivesBinaryFiles) {
    TempFolder folder;
    std::mt19937 random(2014);
    std::string garbage(64 * 1024, '\0');
    for (char& c : garbage) c = static_cast<char>(random() & 0xFF);
    // Sprinkle the characters the parser looks at.
    for (size_t i = 0; i < garbage.size(); i += 97) garbage[i] = "[]=\n\r\"\t"[i % 7];
    const std::string ini = folder.put("binary.ini", garbage);

    EXPECT_EQ(ProfileStore::read(ini, "tmp", "name", "dflt"), "dflt");
    ASSERT_TRUE(ProfileStore::write(ini, "tmp", "name", "\"x.tmp\""));
    EXPECT_EQ(ProfileStore::read(ini, "tmp", "name", ""), "x.tmp");
    const std::string after = readBack(ini);
    EXPECT_EQ(after.substr(0, garbage.size()), garbage);
}

TEST(ProfileStoreWrite, LongValuesStayWholeOnDisk) {
    TempFolder folder;
    const std::string ini = folder.put("Settings.ini", "[a]\nk=1\nz=2\n");
    const std::string longValue(15000, 'w');
    ASSERT_TRUE(ProfileStore::write(ini, "a", "k", longValue));
    EXPECT_EQ(readBack(ini), "[a]\nk=" + longValue + "\nz=2\n");
    EXPECT_EQ(ProfileStore::read(ini, "a", "k", "").size(), kProfileValueLimit);
    EXPECT_EQ(ProfileStore::read(ini, "a", "z", ""), "2");
}

TEST(ProfileStoreWrite, ReplacesTheTargetOfALink) {
    TempFolder folder;
    const std::string real = folder.put("real.ini", "[a]\nk=1\n");
    const std::string link = folder.file("Settings.ini");
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
    ASSERT_TRUE(ProfileStore::write(link, "a", "k", "2"));
    struct stat info {};
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(readBack(real), "[a]\nk=2\n");
}

TEST(ProfileStore, OversizedFilesAreNeitherReadNorRewritten) {
    TempFolder folder;
    const std::string ini = folder.put("huge.ini", "[a]\nk=1\n");
    ASSERT_EQ(::truncate(ini.c_str(), int64_t{40} << 20), 0);  // sparse, cheap
    EXPECT_EQ(ProfileStore::read(ini, "a", "k", "dflt"), "dflt");
    EXPECT_FALSE(ProfileStore::write(ini, "a", "k", "2"));
    EXPECT_EQ(fileSize(ini), int64_t{40} << 20);
}
