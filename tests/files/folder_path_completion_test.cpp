#include "files/folder_path_completion.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;
namespace fs = std::filesystem;

TEST(FolderPathCompletion, LengthensTheLastPartAsFarAsTheSubfoldersAgree) {
    const TempFolder root;
    for (const char* folder : {"atcf", "best_2023", "best_2024", "Best", ".hidden", "cma"}) {
        fs::create_directories(root.file(folder));
    }
    std::ofstream(root.file("bulletin.txt")) << "a file, never offered";
    const std::string base = root.file("");

    struct Row {
        std::string typed, completed;
    };
    const Row rows[] = {
        {base + "at", base + "atcf/"},    // one match: the folder and its separator
        {base + "b", base + "best_202"},  // several: as far as they agree, case kept
        {base + "best_2024", base + "best_2024/"},
        {base + "B", base + "Best/"},
        {base + "bu", base + "bu"},        // only a file starts so
        {base + "x", base + "x"},          // nothing matches
        {base + ".h", base + ".hidden/"},  // a hidden folder once the dot is typed
        {base + "missing/a", base + "missing/a"},
        {"no-separator", "no-separator"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(completeFolderPath(row.typed), row.completed) << row.typed;
    }
    // An empty last part: every visible folder has a different first letter,
    // so nothing is added, and the hidden one is not offered.
    EXPECT_EQ(completeFolderPath(base), base);
}
