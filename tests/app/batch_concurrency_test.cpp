// Many batch runs at once from one run folder, as a web pipeline starts
// them: every run must end with its own storm's map, never another run's or
// a mixture, and leave nothing in the temp folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "render/canvas/picture.h"
#include "support/plain_map.h"
#include "support/private_run_folder.h"
#include "support/tcmap_process.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::entriesOf;
using tcmap::testing::PrivateRunFolder;
using tcmap::testing::TcmapOptions;
using tcmap::testing::TcmapProcess;
using tcmap::testing::TempFolder;
using tcmap::testing::writePlainMap;

namespace {

constexpr int kRuns = 20;
// Pictures over 64 M pixels are stored as BMP in the scratch file and
// converted by the save, so a shared scratch file shows in them first.
constexpr int kLargeEvery = 10;
const std::string kTrackData = TCMAP_TEST_DATA_DIR "/track/atcf/";

std::string stormFile(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "bwp%02d2014.dat", index + 1);
    return kTrackData + name;
}

// Differing pixels of two PNG files, for the message when their bytes differ.
std::string pixelDifference(const std::string& a, const std::string& b) {
    Picture first, second;
    if (!first.loadFile(a) || !second.loadFile(b)) return "not both pictures";
    if (first.width() != second.width() || first.height() != second.height()) return "sizes differ";
    long differing = 0;
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x)
            differing += first.pixelArgb(x, y) != second.pixelArgb(x, y);
    return std::to_string(differing) + " pixels differ";
}

}  // namespace

TEST(BatchConcurrency, TwentyRunsFromOneRunFolderEachSaveTheirOwnStorm) {
    const PrivateRunFolder run;
    TempFolder folder;
    const std::string mapPath = folder.file("map.png");
    ASSERT_TRUE(writePlainMap(mapPath));
    const std::string common = "[Borvane4]\nMode=0\nMap=\"" + mapPath +
                               "\"\nWidthSpace=20\nHeightSpace=15\nSkipInvest=0\nPoint=2\n";
    const std::string small = folder.put("small.ini", common + "Width=320\nHeight=200\n");
    // 8200 x 8200 = 67 240 000 pixels, just over 64 Mi.
    const std::string large = folder.put("large.ini", common + "Width=8200\nHeight=8200\n");

    auto argsOf = [&](int i, const std::string& out) {
        return std::vector<std::string>{"~nogui", i % kLargeEvery == 0 ? large : small, out,
                                        stormFile(i)};
    };
    auto options = [&](const std::string& name) {
        TcmapOptions o;
        o.stderrPath = folder.file(name + ".err");
        return o;
    };

    // Each storm drawn alone.
    for (int i = 0; i < kRuns; ++i) {
        const std::string alone = folder.file("alone" + std::to_string(i) + ".png");
        TcmapProcess process(run, argsOf(i, alone), options("alone" + std::to_string(i)));
        ASSERT_EQ(process.wait(), 0) << process.err();
    }

    // All of them at once.
    std::vector<std::unique_ptr<TcmapProcess>> runs;
    for (int i = 0; i < kRuns; ++i) {
        const std::string together = folder.file("together" + std::to_string(i) + ".png");
        runs.push_back(std::make_unique<TcmapProcess>(run, argsOf(i, together),
                                                      options("together" + std::to_string(i))));
    }
    for (int i = 0; i < kRuns; ++i) {
        EXPECT_EQ(runs[i]->wait(), 0) << "run " << i << ": " << runs[i]->err();
    }

    // The PNG encoder is deterministic: equal bytes are equal pixels.
    for (int i = 0; i < kRuns; ++i) {
        const std::string alone = folder.file("alone" + std::to_string(i) + ".png");
        const std::string together = folder.file("together" + std::to_string(i) + ".png");
        const std::string expected = readFileOrEmpty(alone);
        ASSERT_GT(expected.size(), 8u) << alone;
        EXPECT_EQ(expected.substr(1, 3), "PNG") << alone;
        if (readFileOrEmpty(together) != expected)
            ADD_FAILURE() << "run " << i
                          << " saved another map: " << pixelDifference(alone, together);
    }
    EXPECT_EQ(entriesOf(run.file("temp")), std::vector<std::string>{});
    // Beside the outputs nothing is left of their writes.
    EXPECT_EQ(entriesOf(folder.path()).size(), 3u + 4u * kRuns);
}
