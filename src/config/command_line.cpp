#include "config/command_line.h"

#include "base/file_io.h"

namespace tcmap {

namespace {

constexpr const char* kBatchWord = "~nogui";
constexpr const char* kCheckSettingsWord = "check-settings";
constexpr const char* kDrawWord = "draw";
constexpr const char* kListWord = "list";
constexpr size_t kBatchMinimumArguments = 4;

// An argument the window would take as a track file but that reads as an
// option: "-x", "--x". A lone "-" is not one.
bool looksLikeOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        line.outcome = CommandLineOutcome::Help;
    }
    if (args.size() == 1 && args[0] == "--version") line.outcome = CommandLineOutcome::Version;
    if (args.size() == 1 && args[0] == "--paths") line.outcome = CommandLineOutcome::Paths;
    if (line.outcome != CommandLineOutcome::Interactive) return line;
    const std::pair<const char*, CommandLineOutcome> commands[] = {
        {kCheckSettingsWord, CommandLineOutcome::CheckSettings},
        {kDrawWord, CommandLineOutcome::Draw},
        {kListWord, CommandLineOutcome::List}};
    for (const auto& [word, outcome] : commands) {
        if (!args.empty() && args[0] == word) {
            line.outcome = outcome;
            line.commandArguments.assign(args.begin() + 1, args.end());
            return line;
        }
    }
    if (args.empty() || args[0] != kBatchWord) {
        for (const std::string& arg : args) {
            if (looksLikeOption(arg)) {
                line.outcome = CommandLineOutcome::UnknownOption;
                line.unknownOption = arg;
                return line;
            }
        }
        line.windowFiles = args;
        return line;
    }
    // An empty output path names nothing to write to.
    if (args.size() < kBatchMinimumArguments || args[2].empty()) {
        line.outcome = CommandLineOutcome::Usage;
        return line;
    }
    line.outcome = CommandLineOutcome::Batch;
    line.settingsArgument = args[1];
    line.settingsArgumentIsFile = isRegularFile(args[1]);
    line.outputPath = args[2];
    line.trackFiles.assign(args.begin() + 3, args.end());
    return line;
}

std::string unknownOptionText(const std::string& option) {
    std::string text = "tcmap: unknown option " + option + ".";
    if (option == "--nogui" || option == "-nogui") {
        text +=
            " Batch mode is 'tcmap ~nogui <settings file> <output picture> <track file>...'"
            " (with a tilde), or use 'tcmap draw FILES... -o OUT'.";
    } else {
        text += " Options belong to a command: 'tcmap draw --help', 'tcmap list --help'.";
    }
    return text + "\n" + usageText();
}

std::string batchUsageLine() {
    return "usage: tcmap ~nogui <settings file> <output picture> <track file> [<track file> ...]";
}

std::string usageText() {
    return "usage: tcmap [<track file> ...]\n"
           "       tcmap ~nogui <settings file> <output picture> <track file> [<track file> ...]\n"
           "       tcmap draw [options] <track file>... -o <output>   (tcmap draw --help)\n"
           "       tcmap draw [options] <track file>... --each <pattern>\n"
           "       tcmap list [--json|--csv] [options] <track file>...   (tcmap list --help)\n"
           "       tcmap check-settings <settings file>\n"
           "       tcmap --help | --version | --paths\n"
           "The output picture is a PNG, or a vector map when its name ends in .svg (SVG)\n"
           "or .pdf (PDF); any other name is written as a PNG.\n"
           "check-settings prints what the program would ignore or misread in a settings\n"
           "file and exits 1 when there is any.\n";
}

}  // namespace tcmap
