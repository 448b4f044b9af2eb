#include "files/folder_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>

#include "files/file_chooser_rules.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;
namespace fs = std::filesystem;

namespace {

void makeFolder(const TempFolder& root, const std::string& name) {
    fs::create_directories(root.file(name));
}

// Position of `path` in `list`, or -1.
long positionOf(const std::vector<std::string>& list, const std::string& path) {
    const auto it = std::find(list.begin(), list.end(), path);
    return it == list.end() ? -1 : it - list.begin();
}

}  // namespace

TEST(FolderWalk, PatternsMatchWildcardsIgnoringAsciiCase) {
    const struct {
        const char* name;
        const char* pattern;
        bool matches;
    } rows[] = {
        {"bwp012014.dat", "*.dat", true},
        {"BAL062018.DAT", "*.dat", true},
        {"storm.dat.bak", "*.dat", false},
        {"a1.fst", "a?.fst", true},
        {"a12.fst", "a?.fst", false},
        {"no-dot", "*", true},
        {"abXcYc", "a*b*c", true},
        {"abXcYd", "a*b*c", false},
        // Only ASCII letters fold: other bytes compare exactly.
        {"\xc3\xa9.dat", "\xc3\x89.dat", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(matchesPattern(row.name, row.pattern), row.matches)
            << row.name << " " << row.pattern;
    }

    EXPECT_EQ(joinPath("/data", "a.dat"), "/data/a.dat");
    EXPECT_EQ(joinPath("/", "a.dat"), "/a.dat");
}

TEST(FolderWalk, ListsTrackFilesGroupedByExtension) {
    TempFolder folder;
    folder.put("a.txt", "x");
    folder.put("b.dat", "x");
    folder.put("B.dat", "x");
    folder.put("a.dat", "x");
    folder.put("c.fst", "x");
    folder.put("notes.doc", "x");
    makeFolder(folder, "d.dat");  // a folder, never listed
    EXPECT_EQ(listFolderFiles(folder.path()),
              (std::vector<std::string>{"B.dat", "a.dat", "b.dat", "c.fst", "a.txt"}));
    // A trailing separator names the same folder.
    EXPECT_EQ(listFolderFiles(folder.path() + "/").size(), 5u);

    EXPECT_TRUE(listFolderFiles(folder.file("missing")).empty());
    EXPECT_TRUE(listFolderFiles(folder.file("a.txt")).empty());
    EXPECT_TRUE(listFolderFiles("").empty());
}

TEST(FolderWalk, ListsUpperCaseNamesAndFilesBehindLinks) {
    TempFolder folder;
    TempFolder elsewhere;
    folder.put("BAL062018.DAT", "x");
    fs::create_symlink(elsewhere.put("real.fst", "x"), folder.file("linked.fst"));
    fs::create_symlink(folder.file("gone.dat"), folder.file("broken.dat"));
    fs::create_directory_symlink(elsewhere.path(), folder.file("folder.txt"));
    EXPECT_EQ(listFolderFiles(folder.path()),
              (std::vector<std::string>{"BAL062018.DAT", "linked.fst"}));
}

TEST(FolderWalk, SearchesLevelByLevelGroupedByPattern) {
    TempFolder root;
    root.put("r.fst", "x");
    root.put("r.dat", "x");
    root.put("r.txt", "x");
    root.put("skip.png", "x");
    makeFolder(root, "one/deeper");
    makeFolder(root, "two");
    root.put("one/o.dat", "x");
    root.put("one/deeper/d.fst", "x");
    root.put("two/t.txt", "x");

    std::atomic<size_t> found{99};
    const std::vector<std::string> files =
        findFilesBreadthFirst(root.path(), "*.dat;*.txt;*.fst", &found);
    ASSERT_EQ(files.size(), 6u);
    EXPECT_EQ(found.load(), 6u);
    // The root's files first, by pattern.
    EXPECT_EQ(files[0], root.file("r.dat"));
    EXPECT_EQ(files[1], root.file("r.txt"));
    EXPECT_EQ(files[2], root.file("r.fst"));
    // The first level before the second, whatever order the folders come in.
    EXPECT_LT(positionOf(files, root.file("one/o.dat")), 5);
    EXPECT_LT(positionOf(files, root.file("two/t.txt")), 5);
    EXPECT_EQ(files[5], root.file("one/deeper/d.fst"));

    // A file matching two patterns is listed once per pattern.
    const std::vector<std::string> twice = findFilesBreadthFirst(root.path(), "*.dat;r.*");
    EXPECT_EQ(std::count(twice.begin(), twice.end(), root.file("r.dat")), 2);
    EXPECT_EQ(twice.size(), 5u);
    EXPECT_EQ(findFilesBreadthFirst(root.path()).size(), 7u);
}

TEST(FolderWalk, SearchFromARootOrANonFolderFindsNothing) {
    TempFolder root;
    root.put("r.dat", "x");
    std::atomic<size_t> found{5};
    EXPECT_TRUE(findFilesBreadthFirst("/", "*.dat", &found).empty());
    EXPECT_EQ(found.load(), 0u);
    EXPECT_TRUE(findFilesBreadthFirst(root.path() + "/", "*.dat").empty());
    EXPECT_TRUE(findFilesBreadthFirst("a", "*.dat").empty());
    EXPECT_TRUE(findFilesBreadthFirst(root.file("r.dat"), "*.dat").empty());
    EXPECT_TRUE(findFilesBreadthFirst(root.file("missing"), "*.dat").empty());

    std::atomic<bool> stop{true};
    EXPECT_TRUE(findFilesBreadthFirst(root.path(), "*.dat", nullptr, &stop).empty());
}

TEST(FolderWalk, NeverDescendsIntoLinkedFolders) {
    TempFolder root;
    TempFolder outside;
    root.put("top.dat", "x");
    makeFolder(root, "sub");
    root.put("sub/inner.dat", "x");
    // Links back up the tree would make the walk endless if followed.
    fs::create_directory_symlink(root.path(), root.file("sub/up"));
    fs::create_directory_symlink("..", root.file("sub/parent"));
    fs::create_directory_symlink(".", root.file("self"));
    // A linked folder elsewhere is not walked; a linked file is listed.
    outside.put("hidden.dat", "x");
    fs::create_directory_symlink(outside.path(), root.file("sub/away"));
    fs::create_symlink(outside.put("shown.dat", "x"), root.file("sub/shown.dat"));

    std::vector<std::string> files = findFilesBreadthFirst(root.path(), "*.dat");
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{root.file("sub/inner.dat"),
                                               root.file("sub/shown.dat"), root.file("top.dat")}));
}

TEST(FolderWalk, SubfolderSearchIsSortedByFullPath) {
    TempFolder root;
    makeFolder(root, "2023");
    root.put("b.dat", "x");
    root.put("A.dat", "x");
    root.put("a.fst", "x");
    root.put("2023/c.txt", "x");
    root.put("2023/B.DAT", "x");

    std::atomic<int> state{0};
    std::atomic<size_t> found{0};
    const std::vector<std::string> files = searchSubfolders(root.path(), state, found);
    EXPECT_EQ(files, (std::vector<std::string>{root.file("2023/B.DAT"), root.file("2023/c.txt"),
                                               root.file("A.dat"), root.file("a.fst"),
                                               root.file("b.dat")}));
    EXPECT_EQ(state.load(), SearchSorting);
    EXPECT_EQ(found.load(), 5u);
}
