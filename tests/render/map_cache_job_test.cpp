// Whole jobs on the bundled world map give the same picture, byte for byte,
// whether the map is decoded, read from a cache file or kept in memory.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "config/job_settings.h"
#include "i18n/language_pack.h"
#include "render/canvas/decoded_map_cache.h"
#include "render/draw.h"
#include "support/recording_view.h"
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

    void SetUp() override {
        for (const char* name : {"en.lang", "Settings.ini", "GridData"})
            folder.put(name, readFileOrEmpty(kSource + "/data/" + name));
        // The real files, and one storm that crosses 0° for the seam.
        folder.put("bal092017.dat", readFileOrEmpty(TCMAP_TEST_DATA_DIR "/batch/43.bal092017.dat"));
        folder.put("bal052020.dat", bestRecord("2020090100", "300N", "100W", 35) +
                                        bestRecord("2020090106", "320N", "20W", 50) +
                                        bestRecord("2020090112", "350N", "80E", 65));
    }
    // The job's picture, PNG-encoded.
    std::vector<uint8_t> drawJob(const JobCase& job, MapCache& cache) {
        DrawRequest request;
        request.style = job.tcv ? RenderStyle::Tcv : RenderStyle::Wendrel;
        request.mode = job.mode;
        request.region = job.region;
        request.settings = readJobSettings(folder.file("Settings.ini"), job.tcv);
        request.mapPath = kSource + "/data/maps/world.png";
        request.gridDataPath = folder.file("GridData");
        request.language = LanguagePack(folder.path(), "en", "UTF-8", false);
        request.textLanguage = "en";
        request.tracks = {{folder.file(job.track), nullptr}};
        request.mapCache = &cache;
        ProgressRecorder progress;
        const DrawResult result = draw(request, progress);
        std::vector<uint8_t> png;
        if (result.drawn()) {
            EXPECT_EQ(result.picture.encode(kPngFormatId, png), 0);
        }
        return png;
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
    {
        // Without a cache folder nothing is written; each map decoded afresh.
        for (const JobCase& job : jobs) {
            MapCache fresh("", std::chrono::nanoseconds(0));
            decoded.push_back(drawJob(job, fresh));
            ASSERT_FALSE(decoded.back().empty()) << job.name;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("cache"))) << "switched off: nothing written";

    const std::string cacheFolder = folder.file("cache");
    {
        MapCache building(cacheFolder, std::chrono::nanoseconds(0));
        EXPECT_EQ(drawJob(jobs[0], building), decoded[0]) << "the run that builds the cache file";
    }
    for (size_t i = 0; i < jobs.size(); ++i) {
        MapCache fromFile(cacheFolder, std::chrono::nanoseconds(0));
        EXPECT_EQ(drawJob(jobs[i], fromFile), decoded[i]) << jobs[i].name << " from the cache file";
    }
    MapCache kept(cacheFolder, std::chrono::nanoseconds(0));
    for (size_t i = 0; i < jobs.size(); ++i)
        EXPECT_EQ(drawJob(jobs[i], kept), decoded[i]) << jobs[i].name << " kept in memory";
}

}  // namespace
