// Whole jobs on the bundled world map give the same picture, byte for byte,
// whether the map is decoded, read from a cache file or kept in memory.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/headless_view.h"
#include "base/file_io.h"
#include "config/app_state.h"
#include "render/canvas/decoded_map_cache.h"
#include "render/draw_job.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

const std::string kSource = TCMAP_SOURCE_DIR;

std::string bestRecord(const std::string& time, const std::string& lat, const std::string& lon,
                       int wind) {
    return "AL, 05, " + time + ",   , BEST,   0, " + lat + ", " + lon + ", " +
           std::to_string(wind) + ",  990, TS, \n";
}

struct JobCase {
    std::string name;
    bool tcv;
    DrawMode mode;
    std::string track;  // file in the run folder
    std::vector<std::string> region;
};

class MapCacheJobTest : public ::testing::Test {
  protected:
    TempFolder folder;
    std::string savedCacheHome;

    void SetUp() override {
        if (const char* old = std::getenv("XDG_CACHE_HOME")) savedCacheHome = old;
        ::setenv("XDG_CACHE_HOME", folder.file("cache").c_str(), 1);
        for (const char* name : {"en.lang", "Settings.ini", "GridData"})
            folder.put(name, readFileOrEmpty(kSource + "/data/" + name));
        // The real files, and one storm that crosses 0° for the seam.
        folder.put("bal092017.dat", readFileOrEmpty(TCMAP_TEST_DATA_DIR "/batch/43.bal092017.dat"));
        folder.put("bal052020.dat", bestRecord("2020090100", "300N", "100W", 35) +
                                        bestRecord("2020090106", "320N", "20W", 50) +
                                        bestRecord("2020090112", "350N", "80E", 65));
    }
    void TearDown() override {
        forgetKeptMap();
        ::unsetenv("TCMAP_NO_CACHE");
        ::setenv("XDG_CACHE_HOME", savedCacheHome.c_str(), 1);
    }

    std::vector<uint8_t> draw(const JobCase& job) {
        AppState app;
        app.runFolder = folder.path();
        app.langCode = "en";
        app.settingsPath = folder.file("Settings.ini");
        app.tempFilePath = folder.file("scratch.tmp");
        app.mapPath = app.mapPath1 = kSource + "/data/maps/world.png";
        app.styleIsTcv = job.tcv;
        app.trackFiles = {folder.file(job.track)};
        app.regionParts = job.region;
        HeadlessView view;
        runDrawJob(app, view, job.mode);
        return view.panelPicture();
    }
};

TEST_F(MapCacheJobTest, DecodedCachedAndKeptMapsDrawTheSamePictures) {
    const std::vector<JobCase> jobs = {
        {"Wendrel", false, DrawMode::Normal, "bal092017.dat", {}},
        {"TCV", true, DrawMode::Normal, "bal092017.dat", {}},
        {"Wendrel across 0°", false, DrawMode::Normal, "bal052020.dat", {}},
        {"Regional across 0°",
         false,
         DrawMode::Regional,
         "bal052020.dat",
         {"60", "-30", "50", "70"}},
        {"Global", true, DrawMode::Global, "bal052020.dat", {}},
    };
    std::vector<std::vector<uint8_t>> decoded;
    ::setenv("TCMAP_NO_CACHE", "1", 1);
    for (const JobCase& job : jobs) {
        forgetKeptMap();
        decoded.push_back(draw(job));
        ASSERT_FALSE(decoded.back().empty()) << job.name;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("cache"))) << "switched off: nothing written";

    ::unsetenv("TCMAP_NO_CACHE");
    forgetKeptMap();
    EXPECT_EQ(draw(jobs[0]), decoded[0]) << "the run that builds the cache file";
    for (size_t i = 0; i < jobs.size(); ++i) {
        forgetKeptMap();
        EXPECT_EQ(draw(jobs[i]), decoded[i]) << jobs[i].name << " from the cache file";
    }
    for (size_t i = 0; i < jobs.size(); ++i)
        EXPECT_EQ(draw(jobs[i]), decoded[i]) << jobs[i].name << " kept in memory";
}

}  // namespace
