// `tcmap check-settings FILE`: its output and exit codes, in the function and
// in the real program on a machine without any display.
#include "app/check_settings_command.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "config/program_paths.h"
#include "support/private_run_folder.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::PrivateRunFolder;
using tcmap::testing::TempFolder;

namespace {

struct Result {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// A user's folder that chose English and has no language files of its own:
// they come from the data folder.
struct EnglishUser {
    TempFolder folder;
    ProgramPaths paths;
    EnglishUser() {
        folder.put("Language.ini", "[lang_list]\nCharset=UTF-8\n[Language]\nSelect=en\n");
        paths.runFolder = folder.path();
        paths.dataFolder = TCMAP_SOURCE_DIR "/data";
    }
    Result run(const std::vector<std::string>& args) const {
        std::ostringstream out, err;
        Result result;
        result.exitCode = runCheckSettingsCommand(paths, args, out, err);
        result.out = out.str();
        result.err = err.str();
        return result;
    }
};

}  // namespace

TEST(CheckSettingsCommand, PrintsTheWarningsAndSaysWhetherThereWereAny) {
    const EnglishUser user;
    const std::string clean = TCMAP_SOURCE_DIR "/samples/tcv.ini";
    const Result ok = user.run({clean});
    EXPECT_EQ(ok.exitCode, 0);
    EXPECT_EQ(ok.out, clean + ": no problems found\n");
    EXPECT_EQ(ok.err, "");

    const std::string bad =
        user.folder.put("bad.ini", "[Borvane4]\nShowGird1=1\nWidth1=1600px\nMode=1\n");
    const Result warned = user.run({bad});
    EXPECT_EQ(warned.exitCode, 1);
    EXPECT_EQ(warned.out,
              bad + ":2: [Borvane4] ShowGird1 is not a known key (did you mean ShowGrid1?)\n" +
                  bad + ":3: [Borvane4] Width1=1600px: expected a whole number from 1 to 32767\n");
    EXPECT_EQ(warned.err, "");

    const std::string missing = user.folder.file("missing.ini");
    const Result gone = user.run({missing});
    EXPECT_EQ(gone.exitCode, 1);
    EXPECT_EQ(gone.out, missing + ": the settings file does not exist; the defaults are used\n");

    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{}, {clean, clean}, {""}}) {
        const Result usage = user.run(wrong);
        EXPECT_EQ(usage.exitCode, 2) << wrong.size();
        EXPECT_EQ(usage.out, "");
        EXPECT_EQ(usage.err, "usage: tcmap check-settings <settings file>\n");
    }
}

// No DISPLAY, no WAYLAND_DISPLAY, no QT_QPA_PLATFORM, in a program built with
// its windows: the command never reaches Qt.
TEST(CheckSettingsCommand, TheProgramRunsItWithoutADisplay) {
    TempFolder folder;
    const PrivateRunFolder run;
    const std::string bad = folder.put("bad.ini", "[Borvane4]\nDrawLegends1=9\n");
    const auto runProgram = [&](const std::string& settings) {
        std::string environment =
            "PATH=/usr/bin:/bin HOME='" + folder.path() + "' LANG=zh_CN.UTF-8";
        for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}) {
            if (const char* value = std::getenv(name)) {
                environment += std::string(" ") + name + "='" + value + "'";
            }
        }
        const std::string command = "env -i " + environment + " '" + run.executable() +
                                    "' check-settings '" + settings + "' >'" + folder.file("out") +
                                    "' 2>'" + folder.file("err") + "' </dev/null";
        const int status = std::system(command.c_str());
        Result result;
        if (status != -1 && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
        result.out = readFileOrEmpty(folder.file("out"));
        result.err = readFileOrEmpty(folder.file("err"));
        return result;
    };

    // A fresh run folder has chosen no language yet: the locale's, Chinese.
    const Result warned = runProgram(bad);
    EXPECT_EQ(warned.exitCode, 1) << warned.err;
    EXPECT_EQ(warned.out, bad +
                              ":2: [Borvane4] DrawLegends1=9：应为 0 到 5 之间的整数（0 "
                              "不绘画、1 左上、2 左下、3 右上、4 右下、5 自动）\n");
    EXPECT_EQ(warned.err, "");

    const Result clean = runProgram(TCMAP_SOURCE_DIR "/samples/radii.ini");
    EXPECT_EQ(clean.exitCode, 0) << clean.err;
    EXPECT_EQ(clean.out, TCMAP_SOURCE_DIR "/samples/radii.ini：未发现问题\n");
    // Nothing was written into the run folder: no scratch file, no settings.
    EXPECT_EQ(readFileOrEmpty(run.file("Settings.ini")),
              readFileOrEmpty(TCMAP_SOURCE_DIR "/data/Settings.ini"));
    EXPECT_FALSE(pathExists(run.file("temp")));
}
