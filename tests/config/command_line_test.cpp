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

}  // namespace

TEST(ParseCommandLine, ShortBatchLinesAreUsageErrors) {
    const Args shortLines[] = {{"~nogui"}, {"~nogui", "s.ini", "out.png"}, {"~nogui", "", ""}};
    for (const Args& args : shortLines) {
        const CommandLine line = parseCommandLine(args);
        EXPECT_EQ(line.outcome, CommandLineOutcome::Usage) << args.size();
        EXPECT_TRUE(line.outputPath.empty());
        EXPECT_TRUE(line.windowFiles.empty());
    }
    // An empty output path names nothing to write to.
    const CommandLine line = parseCommandLine({"~nogui", "s.ini", "", "a.dat"});
    EXPECT_EQ(line.outcome, CommandLineOutcome::Usage);
    EXPECT_TRUE(line.trackFiles.empty());
    EXPECT_EQ(line.batchSettings("/run/Settings.ini"), "/run/Settings.ini");
}

TEST(ParseCommandLine, BatchGivesSettingsOutputAndTrackFiles) {
    TempFolder folder;
    const std::string settings = folder.put("batch.ini", "[Borvane4]\nMode=1\n");
    const CommandLine line =
        parseCommandLine({"~nogui", settings, "/out/map.png", "a.dat", "b.fst"});
    ASSERT_EQ(line.outcome, CommandLineOutcome::Batch);
    EXPECT_EQ(line.outputPath, "/out/map.png");
    EXPECT_EQ(line.settingsArgument, settings);
    EXPECT_EQ(line.batchSettings("/run/Settings.ini"), settings);
    EXPECT_EQ(line.trackFiles, (Args{"a.dat", "b.fst"}));
    EXPECT_TRUE(line.windowFiles.empty());

    // A settings file that is missing (or not a file) leaves the default.
    for (const std::string& missing : {folder.file("none.ini"), folder.path()}) {
        const CommandLine other = parseCommandLine({"~nogui", missing, "o.png", "a.dat"});
        ASSERT_EQ(other.outcome, CommandLineOutcome::Batch);
        EXPECT_EQ(other.batchSettings("/run/Settings.ini"), "/run/Settings.ini");
        EXPECT_EQ(other.settingsArgument, missing);
        EXPECT_EQ(other.trackFiles, Args{"a.dat"});
    }
}

TEST(ParseCommandLine, AnythingElseIsInteractive) {
    const Args lines[] = {
        {}, {"~NOGUI", "s.ini", "o.png", "a.dat"}, {"a.dat", "~nogui"}, {"a.dat", "-"}};
    for (const Args& args : lines) {
        const CommandLine line = parseCommandLine(args);
        EXPECT_EQ(line.outcome, CommandLineOutcome::Interactive);
        EXPECT_EQ(line.windowFiles, args);
        EXPECT_TRUE(line.outputPath.empty());
        EXPECT_TRUE(line.trackFiles.empty());
    }
    EXPECT_EQ(parseCommandLine({"--help"}).outcome, CommandLineOutcome::Help);
    EXPECT_EQ(parseCommandLine({"-h"}).outcome, CommandLineOutcome::Help);
    // A command takes its own arguments, whatever their number; its word is
    // spelt exactly.
    for (const Args& args : {Args{"check-settings"}, Args{"check-settings", "a.ini", "b.ini"}}) {
        const CommandLine command = parseCommandLine(args);
        EXPECT_EQ(command.outcome, CommandLineOutcome::CheckSettings);
        EXPECT_EQ(command.commandArguments, Args(args.begin() + 1, args.end()));
        EXPECT_TRUE(command.windowFiles.empty());
    }
    EXPECT_EQ(parseCommandLine({"Check-Settings", "a.ini"}).outcome,
              CommandLineOutcome::Interactive);
    const CommandLine version = parseCommandLine({"--version"});
    EXPECT_EQ(version.outcome, CommandLineOutcome::Version);
    EXPECT_TRUE(version.windowFiles.empty());
    EXPECT_EQ(parseCommandLine({"--paths"}).outcome, CommandLineOutcome::Paths);
    for (const auto& [word, outcome] : {std::pair{"draw", CommandLineOutcome::Draw},
                                        std::pair{"list", CommandLineOutcome::List}}) {
        const CommandLine command = parseCommandLine({word, "-o", "x.png", "a.dat"});
        EXPECT_EQ(command.outcome, outcome);
        EXPECT_EQ(command.commandArguments, (Args{"-o", "x.png", "a.dat"}));
    }
}

// An option where the window takes track files is never a track file: the
// window would otherwise try to open "--nogui" as a storm.
TEST(ParseCommandLine, OptionsAreNotTrackFiles) {
    const std::pair<Args, std::string> lines[] = {
        {{"--help", "a.dat"}, "--help"},
        {{"-help"}, "-help"},
        {{"--nogui", "s.ini", "o.png", "a.dat"}, "--nogui"},
        {{"a.dat", "--grid"}, "--grid"}};
    for (const auto& [args, option] : lines) {
        const CommandLine line = parseCommandLine(args);
        EXPECT_EQ(line.outcome, CommandLineOutcome::UnknownOption) << option;
        EXPECT_EQ(line.unknownOption, option);
        EXPECT_TRUE(line.windowFiles.empty());
    }
    EXPECT_NE(unknownOptionText("--nogui").find("~nogui"), std::string::npos);
    EXPECT_NE(unknownOptionText("--grid").find("tcmap draw --help"), std::string::npos);
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
              "usage: tcmap ~nogui <settings file> <output picture> <track file> [<track file> "
              "...]\n");
    EXPECT_FALSE(pathExists("o.png"));

    const RunResult help = runProgram(folder, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out,
              "usage: tcmap [<track file> ...]\n"
              "       tcmap ~nogui <settings file> <output picture> <track file> [<track file> "
              "...]\n"
              "       tcmap draw [options] <track file>... -o <output>   (tcmap draw --help)\n"
              "       tcmap draw [options] <track file>... --each <pattern>\n"
              "       tcmap list [--json|--csv] [options] <track file>...   (tcmap list --help)\n"
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
