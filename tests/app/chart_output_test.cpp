#include "app/chart_output.h"

#include <gtest/gtest.h>

#include "base/file_io.h"
#include "render/canvas/picture.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

const std::string kIan = TCMAP_SOURCE_DIR "/tests/data/atlantic-2021-2022/bal092022.dat";

}  // namespace

TEST(ChartOutput, WritesTheChartByItsName) {
    TempFolder folder;
    DrawRequest request;
    request.language = LanguagePack{TCMAP_SOURCE_DIR "/data", "en", "UTF-8", false};
    struct Row {
        const char* name;
        std::string_view starts;
    };
    const Row rows[] = {{"ian.png", "\x89PNG"}, {"ian.svg", "<?xml"}, {"ian.pdf", "%PDF"}};
    for (const Row& row : rows) {
        const std::string path = folder.path() + "/" + row.name;
        EXPECT_EQ(writeChartFile(path, {kIan}, request), "") << row.name;
        const std::string bytes = readFileOrEmpty(path);
        EXPECT_TRUE(bytes.starts_with(row.starts)) << row.name;
    }
    Picture png;
    ASSERT_TRUE(png.loadFile(folder.path() + "/ian.png"));
    EXPECT_EQ(png.width(), 1600);
    EXPECT_EQ(png.height(), 900);
}

TEST(ChartOutput, SaysWhyNoChartWasWritten) {
    TempFolder folder;
    DrawRequest request;
    request.language = LanguagePack{TCMAP_SOURCE_DIR "/data", "en", "UTF-8", false};
    const std::string path = folder.path() + "/none.png";
    EXPECT_NE(writeChartFile(path, {folder.path() + "/missing.dat"}, request), "");
    EXPECT_FALSE(pathExists(path));
    EXPECT_NE(writeChartFile(folder.path() + "/no/such/folder/ian.png", {kIan}, request), "");
}
