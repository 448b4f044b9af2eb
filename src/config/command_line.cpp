#include "config/command_line.h"

#include "base/file_io.h"

namespace tcmap {

namespace {

constexpr const char* kBatchWord = "~nogui";
constexpr const char* kCheckSettingsWord = "check-settings";
constexpr size_t kBatchMinimumArguments = 4;

}  // namespace

CommandLineOutcome applyCommandLine(AppState& state, const std::vector<std::string>& args) {
    if (args.size() == 1 && args[0] == "--help") return CommandLineOutcome::Help;
    if (args.size() == 1 && args[0] == "--version") return CommandLineOutcome::Version;
    if (args.size() == 1 && args[0] == "--paths") return CommandLineOutcome::Paths;
    if (!args.empty() && args[0] == kCheckSettingsWord) return CommandLineOutcome::CheckSettings;

    if (args.empty() || args[0] != kBatchWord) {
        state.commandLineFiles = args;
        return CommandLineOutcome::Interactive;
    }
    // Batch mode shows itself only through a non-empty output path, so an
    // empty one could never run as batch.
    if (args.size() < kBatchMinimumArguments || args[2].empty()) return CommandLineOutcome::Usage;

    state.batchArgs.assign(args.begin() + 1, args.end());
    state.trackFiles.assign(args.begin() + 3, args.end());
    if (isRegularFile(args[1])) state.settingsPath = args[1];
    state.batchOutputPath = args[2];
    return CommandLineOutcome::Batch;
}

std::string batchUsageLine() {
    return "usage: tcmap ~nogui <settings file> <output picture> <track file> [<track file> ...]";
}

std::string usageText() {
    return "usage: tcmap [<track file> ...]\n"
           "       tcmap ~nogui <settings file> <output picture> <track file> [<track file> ...]\n"
           "       tcmap check-settings <settings file>\n"
           "       tcmap --help | --version | --paths\n"
           "The output picture is a PNG, or a vector map when its name ends in .svg (SVG)\n"
           "or .pdf (PDF); any other name is written as a PNG.\n"
           "check-settings prints what the program would ignore or misread in a settings\n"
           "file and exits 1 when there is any.\n";
}

}  // namespace tcmap
