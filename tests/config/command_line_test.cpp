#include "config/command_line.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "support/private_run_folder.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

using Args = std::vector<std::string>;

// A state as start-up leaves it before the command line is looked at.
struct FreshState : AppState {
    FreshState() { settingsPath = "/run/Settings.ini"; }
};

}  // namespace

TEST(ApplyCommandLine, ShortBatchLinesAreUsageErrorsAndChangeNothing) {
    const Args shortLines[] = {{"~nogui"}, {"~nogui", "s.ini", "out.png"}, {"~nogui", "", ""}};
    for (const Args& args : shortLines) {
        FreshState state;
        EXPECT_EQ(applyCommandLine(state, args), CommandLineOutcome::Usage) << args.size();
        EXPECT_FALSE(state.isBatch());
        EXPECT_TRUE(state.batchArgs.empty());
        EXPECT_TRUE(state.commandLineFiles.empty());
    }
    // An empty output path could never be told apart from interactive mode.
    FreshState state;
    EXPECT_EQ(applyCommandLine(state, {"~nogui", "s.ini", "", "a.dat"}), CommandLineOutcome::Usage);
    EXPECT_TRUE(state.trackFiles.empty());
    EXPECT_EQ(state.settingsPath, "/run/Settings.ini");
}

TEST(ApplyCommandLine, BatchFillsTheBatchFields) {
    TempFolder folder;
    const std::string settings = folder.put("batch.ini", "[Borvane4]\nMode=1\n");
    FreshState state;
    ASSERT_EQ(applyCommandLine(state, {"~nogui", settings, "/out/map.png", "a.dat", "b.fst"}),
              CommandLineOutcome::Batch);
    EXPECT_TRUE(state.isBatch());
    EXPECT_EQ(state.batchOutputPath, "/out/map.png");
    EXPECT_EQ(state.settingsPath, settings);
    EXPECT_EQ(state.batchArgs, (Args{settings, "/out/map.png", "a.dat", "b.fst"}));
    EXPECT_EQ(state.trackFiles, (Args{"a.dat", "b.fst"}));
    EXPECT_TRUE(state.commandLineFiles.empty());

    // A settings file that is missing (or not a file) leaves the default.
    for (const std::string& missing : {folder.file("none.ini"), folder.path()}) {
        FreshState other;
        ASSERT_EQ(applyCommandLine(other, {"~nogui", missing, "o.png", "a.dat"}),
                  CommandLineOutcome::Batch);
        EXPECT_EQ(other.settingsPath, "/run/Settings.ini");
        EXPECT_EQ(other.trackFiles, Args{"a.dat"});
    }
}

TEST(ApplyCommandLine, AnythingElseIsInteractive) {
    const Args lines[] = {{},
                          {"~NOGUI", "s.ini", "o.png", "a.dat"},
                          {"a.dat", "~nogui"},
                          {"--help", "a.dat"},
                          {"-help"}};
    for (const Args& args : lines) {
        FreshState state;
        EXPECT_EQ(applyCommandLine(state, args), CommandLineOutcome::Interactive);
        EXPECT_EQ(state.commandLineFiles, args);
        EXPECT_FALSE(state.isBatch());
        EXPECT_TRUE(state.batchArgs.empty());
        EXPECT_TRUE(state.trackFiles.empty());
    }
    FreshState state;
    EXPECT_EQ(applyCommandLine(state, {"--help"}), CommandLineOutcome::Help);
    // A command takes its own arguments, whatever their number; its word is
    // spelt exactly.
    for (const Args& args : {Args{"check-settings"}, Args{"check-settings", "a.ini", "b.ini"}}) {
        FreshState command;
        EXPECT_EQ(applyCommandLine(command, args), CommandLineOutcome::CheckSettings);
        EXPECT_TRUE(command.commandLineFiles.empty());
        EXPECT_FALSE(command.isBatch());
    }
    FreshState misspelt;
    EXPECT_EQ(applyCommandLine(misspelt, {"Check-Settings", "a.ini"}),
              CommandLineOutcome::Interactive);
    EXPECT_EQ(applyCommandLine(state, {"--version"}), CommandLineOutcome::Version);
    EXPECT_TRUE(state.commandLineFiles.empty());
}

namespace {

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the built program with single-quoted arguments (so "~" is not expanded).
RunResult runProgram(const TempFolder& folder, const Args& args) {
    const tcmap::testing::PrivateRunFolder runFolder;
    std::string command = "'" + runFolder.executable() + "'";
    for (const std::string& arg : args) command += " '" + arg + "'";
    command += " >'" + folder.file("out") + "' 2>'" + folder.file("err") + "' </dev/null";
    const int status = std::system(command.c_str());
    RunResult result;
    if (status != -1 && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    result.out = readFileOrEmpty(folder.file("out"));
    result.err = readFileOrEmpty(folder.file("err"));
    return result;
}

}  // namespace

TEST(Program, ReportsUsageHelpAndVersion) {
    TempFolder folder;
    const RunResult shortBatch = runProgram(folder, {"~nogui", "s.ini", "o.png"});
    EXPECT_EQ(shortBatch.exitCode, 2);
    EXPECT_EQ(shortBatch.out, "");
    EXPECT_EQ(shortBatch.err,
              "usage: tcmap ~nogui <settings file> <output picture> <track file> "
              "[<track file> ...]\n");
    EXPECT_FALSE(pathExists("o.png"));

    const RunResult help = runProgram(folder, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out,
              "usage: tcmap [<track file> ...]\n"
              "       tcmap ~nogui <settings file> <output picture> <track file> "
              "[<track file> ...]\n"
              "       tcmap check-settings <settings file>\n"
              "       tcmap --help | --version | --paths\n"
              "The output picture is a PNG, or a vector map when its name ends in .svg (SVG)\n"
              "or .pdf (PDF); any other name is written as a PNG.\n"
              "check-settings prints what the program would ignore or misread in a settings\n"
              "file and exits 1 when there is any.\n");
    EXPECT_EQ(help.err, "");

    const RunResult version = runProgram(folder, {"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string("tcmap ") + TCMAP_VERSION + "\n");
}
