// The real `tcmap ~nogui` process on real track files: what a script sees.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/startup_state.h"
#include "base/file_io.h"
#include "config/program_paths.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"
#include "render/canvas/canvas.h"
#include "render/canvas/picture.h"
#include "support/child_wait.h"
#include "support/private_run_folder.h"
#include "support/temp_folder.h"

extern char** environ;

using namespace tcmap;
using tcmap::testing::PrivateRunFolder;
using tcmap::testing::TempFolder;

namespace {

constexpr auto kRunLimit = std::chrono::seconds(300);
const std::string kTrackData = TCMAP_TEST_DATA_DIR "/track/atcf/";
const std::string kBatchData = TCMAP_TEST_DATA_DIR "/batch/";
const std::string kFailureHeader = "~SUSPENDED - Track Map Failure.\r\n\r\n";

struct RunResult {
    int exitCode = -1;  // -1: killed by a signal or over the time limit
    std::string err;
};

// Runs the built executable from a private run folder with `args`, standard
// error captured in a file of `folder`; in `environment` when one is given,
// else in the test's own with a Chinese locale: a fresh run folder names no
// language, so batch mode takes the locale's, and these tests expect the
// default texts.
RunResult runTcmap(const TempFolder& folder, const std::vector<std::string>& args,
                   const std::vector<std::string>* environment = nullptr) {
    const PrivateRunFolder runFolder;
    const std::string errPath = folder.file("stderr.txt");
    std::vector<std::string> argv{runFolder.executable()};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& arg : argv) pointers.push_back(arg.data());
    pointers.push_back(nullptr);

    std::vector<std::string> envCopy;
    if (environment) {
        envCopy = *environment;
    } else {
        for (char** entry = environ; *entry != nullptr; ++entry) envCopy.emplace_back(*entry);
        envCopy.emplace_back("LC_ALL=zh_CN.UTF-8");
    }
    std::vector<char*> envPointers;
    for (std::string& entry : envCopy) envPointers.push_back(entry.data());
    envPointers.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, pointers.data(), envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    RunResult result;
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << argv[0];
        return result;
    }
    int status = 0;
    struct rusage usage {};
    if (!tcmap::testing::reapChild(pid, status, usage,
                                   std::chrono::steady_clock::now() + kRunLimit)) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        ADD_FAILURE() << "tcmap did not end in time";
    }
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    result.err = readFileOrEmpty(errPath);
    return result;
}

// The texts the executable looks up in a fresh run folder.
LanguagePack runFolderLanguage() {
    ProgramPaths paths;
    paths.runFolder = TCMAP_SOURCE_DIR "/data";  // the shipped run-folder files
    return LanguagePack(paths, readLanguageChoice(paths.runFolder));
}

// A plain map picture of one colour; on a 1440 x 720 map a degree is 4 pixels.
std::string writeMap(const TempFolder& folder, uint32_t argb) {
    Picture map;
    EXPECT_EQ(map.create(1440, 720, argb, kPngFormatId), 0);
    const std::string path = folder.file("map.png");
    EXPECT_EQ(map.save(path, kPngFormatId), 0);
    return path;
}

}  // namespace

// Kajiki (WP02 2014) on a 1440 x 720 map, 4 pixels a degree. Fixes span
// 120.7E..139.7E and 8.4N..12.1N, so x = 4 lon runs 482.8..558.8 and
// y = 4 (90 - lat) runs 311.6..326.4: bounds 482..558 and 311..326.
// Margins 40 and 30 give 156 x 75; the minimum width 200 widens it to 200,
// moving minX by (156 - 200) / 2 = -22 to 460. Output: 200 x 75.
TEST(BatchEndToEnd, DrawsTheFrameWorkedOutByHandWithMarkersInTheirColours) {
    TempFolder folder;
    const uint32_t sea = 0xFF0A285A;
    const std::string map = writeMap(folder, sea);
    const std::string settings =
        folder.put("wendrel.ini", "[Borvane4]\nMode=0\nMap=\"" + map +
                                      "\"\nWidthSpace=40\nHeightSpace=30\nWidth=200\nHeight=0\n"
                                      "SkipInvest=0\nPoint=2\nPriority=2\nNewColor=1\n");
    const std::string out = folder.file("kajiki.png");

    const RunResult run = runTcmap(folder, {"~nogui", settings, out, kTrackData + "bwp022014.dat"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    Picture picture;
    ASSERT_TRUE(picture.loadFile(out)) << readFileOrEmpty(out).substr(0, 200);
    EXPECT_EQ(picture.formatId(), kPngFormatId);
    EXPECT_EQ(picture.width(), 200);
    EXPECT_EQ(picture.height(), 75);

    // Output position X = x - 460 + 40, Y = y - 311 + 30. Markers are 8
    // pixels (Point 2 on a 1440 map); with Priority 2 the 35 kt fixes lie on top.
    const uint32_t band1 = toArgb(rgb(110, 193, 234));  // 1..33 kt, 2023 scale
    const uint32_t band2 = toArgb(rgb(77, 255, 255));   // 34..63 kt
    EXPECT_EQ(picture.pixelArgb(92, 39), band2);        // 10.0N 128.2E, 35 kt
    EXPECT_EQ(picture.pixelArgb(87, 37), band2);        // 10.5N 126.8E, 35 kt
    EXPECT_EQ(picture.pixelArgb(138, 45), band1);       // 8.4N 139.7E, 15 kt, first fix
    EXPECT_EQ(picture.pixelArgb(0, 0), sea);
    EXPECT_EQ(picture.pixelArgb(199, 74), sea);

    EXPECT_NE(run.err.find("VMAX: 35kts  MSLP: 996mb  ACE: "), std::string::npos) << run.err;
}

// What a server without any display gives a script: no DISPLAY, no
// WAYLAND_DISPLAY and no QT_QPA_PLATFORM, in a program built with its windows.
TEST(BatchEndToEnd, NeedsNoDisplay) {
    TempFolder folder;
    std::vector<std::string> bareEnvironment{"PATH=/usr/bin:/bin", "HOME=" + folder.path(),
                                             "LANG=C.UTF-8"};
    // The sanitizer build's options (leak suppressions) still apply.
    for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}) {
        if (const char* value = std::getenv(name))
            bareEnvironment.push_back(std::string(name) + "=" + value);
    }
    const std::string out = folder.file("sandy.png");
    const std::string sandy = kTrackData + "bal182012.dat";
    const RunResult run = runTcmap(
        folder, {"~nogui", TCMAP_SOURCE_DIR "/samples/radii.ini", out, sandy}, &bareEnvironment);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    Picture picture;
    ASSERT_TRUE(picture.loadFile(out));
    EXPECT_EQ(picture.formatId(), kPngFormatId);
    EXPECT_GT(picture.width(), 0);
}

TEST(BatchEndToEnd, DrawsAForecastWithItsBestTrackInTheTcvStyle) {
    TempFolder folder;
    const std::string map = writeMap(folder, 0xFF102030);
    const std::string settings = folder.put(
        "tcv.ini", "[Borvane4]\nMode=1\nMap1=\"" + map + "\"\nShowText1=1\nDrawLegends1=5\n");
    const std::string out = folder.put("harvey.png", "an old map");

    const RunResult run = runTcmap(folder, {"~nogui", settings, out, kTrackData + "21.al092017.fst",
                                            kBatchData + "43.bal092017.dat"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    Picture picture;
    ASSERT_TRUE(picture.loadFile(out));
    // TCV minimum size 1600 x 900 (a 4-pixel-a-degree frame of Harvey is smaller).
    EXPECT_EQ(picture.width(), 1600);
    EXPECT_EQ(picture.height(), 900);
}

TEST(BatchEndToEnd, AMissingMapLeavesTheFailureReportInPlaceOfTheOldPictureExitCode1) {
    TempFolder folder;
    const LanguagePack lang = runFolderLanguage();
    const std::string settings =
        folder.put("nomap.ini", "[Borvane4]\nMode=0\nMap=\"" + folder.file("gone.png") + "\"\n");
    const std::string out = folder.put("out.png", "yesterday's picture");

    const RunResult run = runTcmap(folder, {"~nogui", settings, out, kTrackData + "bwp022014.dat"});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(readFileOrEmpty(out), kFailureHeader + lang.text(TextId::MapNotLoaded) + "\r\n" +
                                        lang.text(TextId::NoMapToSave) + "\r\n");
    EXPECT_NE(run.err.find(lang.text(TextId::MapNotLoaded)), std::string::npos) << run.err;

    // Too few arguments: usage, exit code 2, nothing written.
    const RunResult usage = runTcmap(folder, {"~nogui", settings, folder.file("new.png")});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_NE(usage.err.find("usage: tcmap ~nogui"), std::string::npos);
    EXPECT_FALSE(pathExists(folder.file("new.png")));
}

TEST(BatchEndToEnd, TrackFilesWithoutAFixEndWithTheFailureReport) {
    TempFolder folder;
    const LanguagePack lang = runFolderLanguage();
    const std::string map = writeMap(folder, 0xFF000000);
    const std::string settings = folder.put("s.ini", "[Borvane4]\nMap=\"" + map + "\"\n");
    const std::string out = folder.file("out.png");
    const std::string broken = kBatchData + "no_fix.dat";
    const std::string missing = folder.file("missing.dat");

    const RunResult run = runTcmap(folder, {"~nogui", settings, out, broken, missing});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(readFileOrEmpty(out),
              kFailureHeader + safeFormat(lang.text(TextId::NoUsableFix), {broken}) + "\r\n" +
                  safeFormat(lang.text(TextId::NoUsableFix), {missing}) + "\r\n" +
                  lang.text(TextId::NoFixToDraw) + "\r\n" + lang.text(TextId::NoMapToSave) +
                  "\r\n");
}

// The run folder's own Settings.ini names the bundled map; no language has
// been chosen in its Language.ini, which must not make batch mode wait.
TEST(BatchEndToEnd, AMissingSettingsFileMeansTheRunFoldersDefault) {
    TempFolder folder;
    const std::string out = folder.file("default.png");
    const RunResult run =
        runTcmap(folder, {"~nogui", folder.file("no-such.ini"), out, kTrackData + "bwp022014.dat"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    Picture picture;
    ASSERT_TRUE(picture.loadFile(out));
    // Wendrel minimum size; the bundled map is 20 pixels a degree, and
    // Kajiki's 19 x 3.7 degrees with 360/270-pixel margins need 1100 x 614.
    EXPECT_EQ(picture.width(), 1920);
    EXPECT_EQ(picture.height(), 1080);
}

// Without the key, both styles draw on the map that comes with the program;
// nothing is said about the settings file.
TEST(BatchEndToEnd, ASettingsFileWithoutAMapKeyDrawsOnTheBundledMap) {
    TempFolder folder;
    const struct {
        std::string settings;
        int width, height;  // the style's minimum size
    } styles[] = {{"[Borvane4]\nMode=0\n", 1920, 1080}, {"[Borvane4]\nMode=1\n", 1600, 900}};
    for (const auto& style : styles) {
        const std::string settings = folder.put("nomapkey.ini", style.settings);
        const std::string out = folder.file("bundled.png");
        const RunResult run =
            runTcmap(folder, {"~nogui", settings, out, kTrackData + "bwp022014.dat"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(run.err.find("/maps/world.png"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find(settings), std::string::npos) << run.err;
        Picture picture;
        ASSERT_TRUE(picture.loadFile(out));
        EXPECT_EQ(picture.width(), style.width);
        EXPECT_EQ(picture.height(), style.height);
    }
}

// An empty value keeps its meaning, no map, and is no settings mistake.
TEST(BatchEndToEnd, AnEmptyMapValueStillMeansNoMap) {
    TempFolder folder;
    const LanguagePack lang = runFolderLanguage();
    const std::string settings = folder.put("emptymap.ini", "[Borvane4]\nMode=0\nMap=\n");
    const std::string out = folder.file("out.png");
    const RunResult run = runTcmap(folder, {"~nogui", settings, out, kTrackData + "bwp022014.dat"});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(readFileOrEmpty(out), kFailureHeader + lang.text(TextId::MapNotLoaded) + "\r\n" +
                                        lang.text(TextId::NoMapToSave) + "\r\n");
    EXPECT_EQ(run.err.find(settings), std::string::npos) << run.err;
}

// The warnings come first on standard error; the job reads the file as
// before ("1200px" reads 1200) and prints exactly what it printed before.
TEST(BatchEndToEnd, WarnsAboutTheSettingsFirstAndDrawsAsBefore) {
    TempFolder folder;
    const std::string map = writeMap(folder, 0xFF0A285A);
    const std::string common = "[Borvane4]\nMode=0\nMap=\"" + map + "\"\n";
    const std::string clean = folder.put("clean.ini", common + "Width=1200\n");
    const std::string bad = folder.put("bad.ini", common + "ShowGird=1\nWidth=1200px\n");
    const std::string out = folder.file("out.png");
    const std::string kajiki = kTrackData + "bwp022014.dat";

    const RunResult cleanRun = runTcmap(folder, {"~nogui", clean, out, kajiki});
    ASSERT_EQ(cleanRun.exitCode, 0) << cleanRun.err;
    const RunResult badRun = runTcmap(folder, {"~nogui", bad, out, kajiki});
    ASSERT_EQ(badRun.exitCode, 0) << badRun.err;
    EXPECT_EQ(badRun.err, bad + ":4: [Borvane4] ShowGird 不是已知的键（是否应为 ShowGrid？）\n" +
                              bad + ":5: [Borvane4] Width=1200px：应为 1 到 32767 之间的整数\n" +
                              cleanRun.err);
    Picture picture;
    ASSERT_TRUE(picture.loadFile(out));
    EXPECT_EQ(picture.width(), 1200);

    // A settings file that is not there: said, and the default one is read.
    const std::string missing = folder.file("mising.ini");
    const RunResult missingRun = runTcmap(folder, {"~nogui", missing, out, kajiki});
    ASSERT_EQ(missingRun.exitCode, 0) << missingRun.err;
    EXPECT_EQ(missingRun.err.rfind(missing + ": 设置文件不存在，改用 ", 0), 0u) << missingRun.err;
}

// Sandy with every layer on, against the same run with every layer off: the
// grid crosses the picture, the legend sits in the top-left corner, and the
// 34 kt radii leave yellow on the dark map that nothing else draws.
TEST(BatchEndToEnd, DrawsGridLegendAndWindRadiiOnARealBestTrack) {
    TempFolder folder;
    const uint32_t sea = 0xFF0A285A;
    const std::string map = writeMap(folder, sea);
    const std::string common = "[Borvane4]\nMode=0\nMap=\"" + map +
                               "\"\nWidthSpace=40\nHeightSpace=40\nWidth=1200\nHeight=1200\n";
    const std::string layersOn =
        folder.put("on.ini", common + "ShowGrid=1\nDrawLegends=1\nDrawRad=1\n");
    const std::string layersOff =
        folder.put("off.ini", common + "ShowGrid=0\nDrawLegends=0\nDrawRad=0\n");
    const std::string sandy = kTrackData + "bal182012.dat";

    ASSERT_EQ(runTcmap(folder, {"~nogui", layersOn, folder.file("on.png"), sandy}).exitCode, 0);
    ASSERT_EQ(runTcmap(folder, {"~nogui", layersOff, folder.file("off.png"), sandy}).exitCode, 0);
    Picture on, off;
    ASSERT_TRUE(on.loadFile(folder.file("on.png")));
    ASSERT_TRUE(off.loadFile(folder.file("off.png")));
    ASSERT_EQ(on.width(), off.width());
    ASSERT_EQ(on.height(), off.height());
    const int width = on.width(), height = on.height();

    // A meridian of the grid changes a column from pole to pole: 720 rows
    // of the 4-pixels-a-degree map inside the 1200-pixel-high picture.
    int gridColumns = 0;
    for (int x = 0; x < width; ++x) {
        int changed = 0;
        for (int y = 0; y < height; ++y) changed += on.pixelArgb(x, y) != off.pixelArgb(x, y);
        gridColumns += changed >= 700;
    }
    EXPECT_GT(gridColumns, 0);

    // The first legend row's bullet has the exact colour of its band.
    const uint32_t band1 = toArgb(rgb(110, 193, 234));
    const int unit = std::min(width, height) / 40;
    bool bullet = false;
    for (int y = 0; y < unit && !bullet; ++y)
        for (int x = 0; x < unit && !bullet; ++x) bullet = on.pixelArgb(x, y) == band1;
    EXPECT_TRUE(bullet);

    // Yellow (34 kt radii at three-quarter opacity over the dark sea).
    auto yellowish = [](uint32_t argb) {
        const int r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
        return r > 150 && g > 150 && b < 80;
    };
    int yellowOn = 0, yellowOff = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            yellowOn += yellowish(on.pixelArgb(x, y));
            yellowOff += yellowish(off.pixelArgb(x, y));
        }
    EXPECT_EQ(yellowOff, 0);
    EXPECT_GT(yellowOn, 1000);
}

// One storm from each kind of archive: Patricia from HURDAT2, Catarina from
// IBTrACS, Lekima from the CMA tracks; then a selection that matches nothing.
TEST(BatchEndToEnd, DrawsOneStormFromEachKindOfArchive) {
    TempFolder folder;
    const LanguagePack lang = runFolderLanguage();
    const std::string map = writeMap(folder, 0xFF000000);
    const std::string archives = TCMAP_TEST_DATA_DIR "/archives/";
    const std::vector<std::string> files{archives + "hurdat2-nepac-2015.txt",
                                         archives + "ibtracs-sa-2004.csv",
                                         archives + "cma-2019-lekima-krosa.txt"};
    const auto settingsFor = [&](const std::string& storms) {
        return folder.put("archive.ini", "[Borvane4]\nMode=0\nMap=\"" + map +
                                             "\"\n[Archive]\nStorms=" + storms + "\n");
    };
    const std::string out = folder.file("three.png");
    std::vector<std::string> args{"~nogui", settingsFor("patricia, 2004086S29318, 1909"), out};
    args.insert(args.end(), files.begin(), files.end());

    const RunResult run = runTcmap(folder, args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    Picture picture;
    ASSERT_TRUE(picture.loadFile(out));
    EXPECT_EQ(picture.formatId(), kPngFormatId);
    const int64_t totals[] = {31, 1, 2};
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_NE(run.err.find(safeFormat(lang.text(TextId::ArchiveStormsDrawn),
                                          {files[i], int64_t{1}, totals[i]})),
                  std::string::npos)
            << run.err;
    }
    // Patricia's 185 kt and 872 hPa are the extremes of the three.
    EXPECT_NE(run.err.find("VMAX: 185kts  MSLP: 872mb"), std::string::npos) << run.err;

    args[1] = settingsFor("nobody");
    const RunResult none = runTcmap(folder, args);
    EXPECT_EQ(none.exitCode, 1) << none.err;
    EXPECT_NE(readFileOrEmpty(out).find(lang.text(TextId::NoFixToDraw)), std::string::npos);
}

// A chart the settings ask for is written beside the map; one that cannot be
// written fails the run with its reason, and the map stays saved.
TEST(BatchEndToEnd, TheChartGoesBesideTheMapOrTheRunFails) {
    TempFolder folder;
    const struct {
        std::string chart;
        int exitCode;
        std::string_view chartStarts;  // empty: no chart file
    } rows[] = {
        {folder.file("chart.svg"), 0, "<?xml"},
        {folder.file("no/such/folder/chart.png"), 1, ""},
    };
    for (const auto& row : rows) {
        const std::string settings =
            folder.put("chart.ini", "[Borvane4]\nMode=1\n[Annotations]\nChart=" + row.chart + "\n");
        const std::string out = folder.file("map.png");
        const RunResult run =
            runTcmap(folder, {"~nogui", settings, out, kTrackData + "bwp022014.dat"});
        EXPECT_EQ(run.exitCode, row.exitCode) << run.err;
        EXPECT_TRUE(readFileOrEmpty(out).starts_with("\x89PNG")) << row.chart;
        const std::string chart = readFileOrEmpty(row.chart);
        if (row.chartStarts.empty()) {
            EXPECT_TRUE(chart.empty());
            EXPECT_NE(run.err.find("no chart written to " + row.chart), std::string::npos)
                << run.err;
            EXPECT_EQ(run.err.find("No track map was saved"), std::string::npos) << run.err;
        } else {
            EXPECT_TRUE(chart.starts_with(row.chartStarts)) << row.chart;
        }
    }
}
