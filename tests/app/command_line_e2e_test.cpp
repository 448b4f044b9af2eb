// The real program on a machine without a display (env -i: no DISPLAY, no
// WAYLAND_DISPLAY, no QT_QPA_PLATFORM): every command and every usage error
// ends with its own exit code and message, and none of them reaches Qt.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "support/private_run_folder.h"
#include "support/temp_folder.h"

using tcmap::testing::PrivateRunFolder;
using tcmap::testing::TempFolder;

namespace {

const std::string kArchive = TCMAP_SOURCE_DIR "/tests/data/archives/hurdat2-three-storms.txt";

struct Result {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string quoted(const std::string& text) {
    std::string q = "'";
    for (const char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

Result runWithoutDisplay(const PrivateRunFolder& run, const TempFolder& folder,
                         const std::vector<std::string>& args, const std::string& locale,
                         const std::vector<std::string>& environment = {}) {
    std::string command = "cd " + quoted(folder.path()) +
                          " && env -i PATH=/usr/bin:/bin HOME=" + quoted(folder.path());
    if (!locale.empty()) command += " LANG=" + locale;
    for (const std::string& setting : environment) command += " " + quoted(setting);
    for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS", "TSAN_OPTIONS"}) {
        if (const char* value = std::getenv(name))
            command += std::string(" ") + name + "=" + quoted(value);
    }
    command += " " + quoted(run.executable());
    for (const std::string& arg : args) command += " " + quoted(arg);
    command +=
        " >" + quoted(folder.file("out")) + " 2>" + quoted(folder.file("err")) + " </dev/null";
    const int status = std::system(command.c_str());
    Result result;
    if (status != -1 && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    result.out = tcmap::readFileOrEmpty(folder.file("out"));
    result.err = tcmap::readFileOrEmpty(folder.file("err"));
    return result;
}

}  // namespace

TEST(CommandLineWithoutDisplay, EveryCommandAndMistakeHasItsExitCode) {
    const PrivateRunFolder run;
    const TempFolder folder;
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string inOut;  // a piece of standard output ("" for none expected)
        std::string inErr;  // a piece of standard error
    } rows[] = {
        {{"--help"}, 0, "tcmap draw [options]", ""},
        {{"-h"}, 0, "tcmap list", ""},
        {{"--version"}, 0, "tcmap ", ""},
        {{"--paths"}, 0, "", ""},
        {{"draw", "--help"}, 0, "--stats-file FILE", ""},
        {{"list", "--help"}, 0, "--json", ""},
        {{"list", "--csv", kArchive}, 0, "EP022021,BETA,EP,", ""},
        {{"draw", kArchive, "-o", "map.png"}, 0, "", "VMAX: 100kts  MSLP: 970mb  ACE: 1.8925"},
        {{"draw", kArchive, "--each", "maps/{id}.svg", "--index", "maps.json"}, 0, "", "[3/3]"},
        {{"check-settings", TCMAP_SOURCE_DIR "/samples/tcv.ini"}, 0, "no problems found", ""},
        {{"~nogui", TCMAP_SOURCE_DIR "/samples/tcv.ini", "map.pdf", kArchive}, 0, "", "ACE"},
        {{"~nogui", TCMAP_SOURCE_DIR "/samples/radii.ini", "map.svg", kArchive}, 0, "", "ACE"},
        {{"draw", "--gird", kArchive, "-o", "x.png"},
         2,
         "",
         "tcmap draw: The following argument was not expected: --gird"},
        {{"list", "--json", "--years", "20x5", kArchive}, 2, "", "--years 20x5: [Archive] Years"},
        {{"--nogui", "s.ini", "o.png", "f.dat"}, 2, "", "tcmap: unknown option --nogui."},
        {{"--grid"}, 2, "", "tcmap: unknown option --grid."},
        {{"draw", kArchive, "--storms", "NOSUCH", "-o", "none.png"}, 1, "", "no map written"},
    };
    for (const auto& row : rows) {
        const Result result = runWithoutDisplay(run, folder, row.args, "en_US.UTF-8");
        const std::string what = row.args[0] + " " + (row.args.size() > 1 ? row.args[1] : "");
        EXPECT_EQ(result.exitCode, row.exitCode) << what << "\n" << result.err;
        EXPECT_NE(result.out.find(row.inOut), std::string::npos) << what << "\n" << result.out;
        EXPECT_NE(result.err.find(row.inErr), std::string::npos) << what << "\n" << result.err;
        EXPECT_EQ(result.err.find("display"), std::string::npos) << what << "\n" << result.err;
    }
    EXPECT_EQ(tcmap::readFileOrEmpty(folder.file("map.png")).substr(1, 3), "PNG");
    EXPECT_EQ(tcmap::readFileOrEmpty(folder.file("maps/EP022021.svg")).substr(0, 5), "<?xml");
    // Batch mode writes a vector map by the output's name.
    EXPECT_EQ(tcmap::readFileOrEmpty(folder.file("map.pdf")).substr(0, 5), "%PDF-");
    EXPECT_NE(tcmap::readFileOrEmpty(folder.file("map.svg")).find("<svg"), std::string::npos);
    EXPECT_NE(tcmap::readFileOrEmpty(folder.file("maps.json")).find("\"status\": \"ok\""),
              std::string::npos);
    EXPECT_FALSE(tcmap::pathExists(folder.file("none.png")));
}

// While Language.ini names no language, the locale chooses it; the file
// stays as it was, so the window still asks on its first start.
TEST(CommandLineWithoutDisplay, TheLocaleChoosesTheLanguageOfABatchRun) {
    const PrivateRunFolder run;
    const TempFolder folder;
    const std::string languageIni = tcmap::readFileOrEmpty(run.file("Language.ini"));
    const std::string settings = TCMAP_SOURCE_DIR "/samples/tcv.ini";
    const Result english =
        runWithoutDisplay(run, folder, {"~nogui", settings, "a.png", kArchive}, "en_GB.UTF-8");
    EXPECT_EQ(english.exitCode, 0) << english.err;
    EXPECT_NE(english.err.find("Drawing started"), std::string::npos) << english.err;
    const Result chinese =
        runWithoutDisplay(run, folder, {"draw", kArchive, "-o", "b.png"}, "zh_CN.UTF-8");
    EXPECT_EQ(chinese.exitCode, 0) << chinese.err;
    EXPECT_NE(chinese.err.find("开始绘画"), std::string::npos) << chinese.err;
    const Result chosen = runWithoutDisplay(
        run, folder, {"draw", "--lang", "en", kArchive, "-o", "c.png"}, "zh_CN.UTF-8");
    EXPECT_NE(chosen.err.find("Drawing started"), std::string::npos) << chosen.err;
    EXPECT_EQ(tcmap::readFileOrEmpty(run.file("Language.ini")), languageIni);
}

// --paths names the folders a run would use: the run folder of a portable
// program, then the map cache under HOME, under XDG_CACHE_HOME when that is
// set, or none when the cache is switched off.
TEST(CommandLineWithoutDisplay, PathsNamesTheFoldersOfThisRun) {
    const PrivateRunFolder run;
    const TempFolder folder;
    const std::string home = folder.path();
    const struct {
        std::vector<std::string> environment;
        std::string cacheLine;
    } rows[] = {
        {{}, "cache folder: " + home + "/.cache/tcmap\n"},
        {{"XDG_CACHE_HOME=" + home + "/xdg"}, "cache folder: " + home + "/xdg/tcmap\n"},
        {{"TCMAP_NO_CACHE=1"}, "cache folder: none\n"},
    };
    for (const auto& row : rows) {
        const Result result =
            runWithoutDisplay(run, folder, {"--paths"}, "en_US.UTF-8", row.environment);
        const std::string what = row.environment.empty() ? "plain" : row.environment[0];
        EXPECT_EQ(result.exitCode, 0) << what << "\n" << result.err;
        EXPECT_EQ(result.out.rfind("mode: portable\n", 0), 0u) << what << "\n" << result.out;
        for (const std::string& line :
             {"settings: " + run.path() + "/Settings.ini\n",
              "language settings: " + run.path() + "/Language.ini\n",
              "data folder: " + run.path() + "\n", "scratch folder: " + run.path() + "/temp\n",
              row.cacheLine}) {
            EXPECT_NE(result.out.find(line), std::string::npos) << what << ": " << line << "\n"
                                                                << result.out;
        }
        EXPECT_EQ(result.err, "") << what;
    }
}
