// Which map pictures have their land as paths: only the bundled one, however
// its path is spelt.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "config/map_path.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

TEST(MapPath, OnlyTheBundledMapHasItsVectorWorld) {
    TempFolder folder;
    const std::string run = folder.path() + "/run";
    std::filesystem::create_directories(run + "/maps");
    folder.put("run/maps/world.png", "picture");
    folder.put("run/maps/world_vector.bin", "paths");
    folder.put("mine.png", "another picture");
    std::filesystem::create_symlink(run + "/maps/world.png", folder.file("linked.png"));
    const std::string bundled = run + "/maps/world_vector.bin";
    const struct {
        const char* name;
        std::string mapPath;
        std::string expected;
    } rows[] = {
        {"the default setting", resolveMapPath("maps/world.png", run), bundled},
        {"spelt another way", run + "/./maps/../maps/world.png", bundled},
        {"through a link", folder.file("linked.png"), bundled},
        {"a picture of the user's", folder.file("mine.png"), ""},
        {"a map that does not exist", folder.file("gone.png"), ""},
        {"no map", "", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(bundledVectorWorldFor(row.mapPath, run), row.expected) << row.name;
    }
}
