#include "files/file_list_rules.h"
#include "files/folder_walk.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "i18n/language_pack.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

using Files = std::vector<std::string>;

const FileTypeTexts kTypes{"Best track", "Forecast", "Unsupported file",
                           "Archive",    "Folder",   "%d track files"};

}  // namespace

TEST(FileListRules, RemovesTheSelectedRows) {
    Files files{"1", "2", "3", "4", "5"};
    removeSelectedFiles(files, {3, 1});
    EXPECT_EQ(files, (Files{"1", "3", "5"}));

    // Rows outside the list, and a row given twice, are ignored.
    removeSelectedFiles(files, {-1, 3, 7, 0, 0});
    EXPECT_EQ(files, (Files{"3", "5"}));
    removeSelectedFiles(files, {});
    EXPECT_EQ(files, (Files{"3", "5"}));
}

TEST(FileListRules, RemovesLaterDuplicatesOnly) {
    Files files{"A", "B", "B", "C", "A", "D"};
    removeDuplicateFiles(files);
    EXPECT_EQ(files, (Files{"A", "B", "C", "D"}));

    Files cases{"/s/A.dat", "/s/a.dat", "/s/A.dat"};
    removeDuplicateFiles(cases);
    EXPECT_EQ(cases, (Files{"/s/A.dat", "/s/a.dat"}));
}

TEST(FileListRules, DroppedFilesAreSortedAndAppended) {
    Files files;
    dropOnFileList(files, "/t/z.dat\r\n/t/a.dat");
    EXPECT_EQ(files, (Files{"/t/a.dat", "/t/z.dat"}));

    Files held{"/t/m.dat"};
    dropOnFileList(held, "/t/z.dat\r\n/t/a.dat\r\n/t/m.dat\r\n");
    // Neither the extension nor duplicates are checked.
    EXPECT_EQ(held, (Files{"/t/m.dat", "/t/a.dat", "/t/m.dat", "/t/z.dat"}));

    dropOnFileList(held, "");
    EXPECT_EQ(held.size(), 4u);
}

TEST(FileListRules, RowsShowNameFolderTypeAndSize) {
    TempFolder folder;
    const std::string best = folder.put("BWP012014.DAT", "12345");

    const FileListRow row = fileListRow(3, best, kTypes);
    EXPECT_EQ(row.number, "3");
    EXPECT_EQ(row.name, "BWP012014.DAT");
    EXPECT_EQ(row.folder, folder.path());
    EXPECT_EQ(row.type, "Best track");
    EXPECT_EQ(row.size, "5");

    const struct {
        const char* path;
        const char* type;
    } types[] = {
        {"/d/storm.txt", "Best track"},
        {"/d/storm.Fst", "Forecast"},
        {"/d/map.png", "Unsupported file"},
        {"/d.fst/noext", "Unsupported file"},
    };
    for (const auto& t : types) EXPECT_EQ(fileListRow(1, t.path, kTypes).type, t.type) << t.path;
    EXPECT_EQ(fileListRow(1, "/d/missing.dat", kTypes).size, "-1");
    EXPECT_EQ(fileListRow(1, "C:\\Storms\\b.fst", kTypes).folder, "C:\\Storms");

    const FileListRow bare = fileListRow(12, "storm.dat", kTypes);
    EXPECT_EQ(bare.number, "12");
    EXPECT_EQ(bare.name, "");
    EXPECT_EQ(bare.folder, "");
    EXPECT_EQ(bare.type, "Unsupported file");
}

// An archive is known by its first line, whatever its name; *.csv is listed.
TEST(FileListRules, ArchivesShowTheirTypeByContent) {
    TempFolder folder;
    const std::string hurdat = folder.put("nepac.dat", "EP202015,           PATRICIA,     19,\n");
    const std::string ibtracs = folder.put("ibtracs.csv", "SID,SEASON,NAME,ISO_TIME,LAT,LON\n");
    const std::string cma = folder.put("CH2019BST", "66666 1909   62 0012 1909 0 3 LEKIMA\r\n");
    const std::string table = folder.put("table.csv", "a,b,c\n");
    const struct {
        std::string path;
        const char* type;
    } rows[] = {
        {hurdat, "Archive"},
        {ibtracs, "Archive"},
        {cma, "Archive"},
        {table, "Unsupported file"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(fileListRow(1, row.path, kTypes).type, row.type) << row.path;
    EXPECT_EQ(listFolderFiles(folder.path()),
              (std::vector<std::string>{"nepac.dat", "ibtracs.csv", "table.csv"}));
}

TEST(FileListRules, TypeTextsComeFromTheLanguage) {
    TempFolder run;
    run.put("xx.lang", "[text]\r\n148=Best\r\n149=Forecast\r\n150=\" Not a track file %s \"\r\n");
    const FileTypeTexts types = FileTypeTexts::from(LanguagePack(run.path(), "xx", "UTF-8", false));
    EXPECT_EQ(types.bestTrack, "Best");
    EXPECT_EQ(types.forecast, "Forecast");
    EXPECT_EQ(types.other, "Not a track file");
}

TEST(FileListRules, StatusShowsCountOrSelection) {
    const struct {
        const char* format;
        size_t selected, count;
        const char* text;
    } rows[] = {
        {"%d files", 3, 10, "3 / 10"},
        {"%d files", 1, 10, "10 files"},
        {"%d files", 0, 0, "0 files"},
        {"%s %n files", 0, 4, "4 %n files"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(listStatusText(row.format, row.selected, row.count), row.text)
            << row.format << " " << row.selected << "/" << row.count;
    }
}

TEST(FileListRules, OpensOnlyASingleSelectedRow) {
    const Files files{"/a.dat", "/b.dat"};
    const struct {
        std::vector<int> selected;
        std::optional<std::string> file;
    } rows[] = {
        {{1}, "/b.dat"},
        {{}, std::nullopt},
        {{0, 1}, std::nullopt},
        {{2}, std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(fileToOpen(files, row.selected), row.file) << row.selected.size();
}

// A dropped folder is shown as one, with the track files it holds, and Open
// puts those files in its place.
TEST(FileListRules, FoldersShowTheirTrackFilesAndOpenIntoThem) {
    TempFolder folder;
    std::filesystem::create_directories(folder.file("storms/deeper"));
    folder.put("storms/bal01.dat", "x");
    folder.put("storms/aal02.fst", "x");
    folder.put("storms/notes.doc", "x");
    folder.put("storms/deeper/bal03.dat", "x");
    std::filesystem::create_directories(folder.file("empty"));

    const FileListRow row = fileListRow(2, folder.file("storms"), kTypes);
    EXPECT_EQ(row.name, "storms");
    EXPECT_EQ(row.type, "Folder");
    EXPECT_EQ(row.size, "2 track files");
    EXPECT_EQ(fileListRow(1, folder.file("empty"), kTypes).size, "0 track files");

    Files held{"/a.dat", folder.file("storms/"), "/z.dat"};
    EXPECT_FALSE(expandFolderEntry(held, 0));  // a file stays a file
    EXPECT_FALSE(expandFolderEntry(held, 3));  // past the end
    EXPECT_EQ(held.size(), 3u);
    EXPECT_TRUE(expandFolderEntry(held, 1));
    EXPECT_EQ(held, (Files{"/a.dat", folder.file("storms/bal01.dat"),
                           folder.file("storms/aal02.fst"), "/z.dat"}));

    Files onlyEmpty{folder.file("empty")};
    EXPECT_TRUE(expandFolderEntry(onlyEmpty, 0));
    EXPECT_TRUE(onlyEmpty.empty());
}
