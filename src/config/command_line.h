// The command line: track files for the window, batch mode selected by
// "~nogui" <settings file> <output picture> <track file> [...], or a command
// ("check-settings <settings file>").
#pragma once

#include <string>
#include <vector>

namespace tcmap {

enum class CommandLineOutcome {
    Interactive,    // the arguments are track files for the window
    Batch,          // "~nogui" with its settings file, output and track files
    Usage,          // a batch command line that cannot run
    Help,           // "--help" alone
    Version,        // "--version" alone
    Paths,          // "--paths" alone: the folders the program uses
    CheckSettings,  // "check-settings" and its arguments: nothing was changed
    Draw,           // "draw" and its arguments
    List,           // "list" and its arguments
    UnknownOption,  // an option where the window takes track files: `unknownOption`
};

struct CommandLine {
    CommandLineOutcome outcome = CommandLineOutcome::Interactive;
    std::vector<std::string> windowFiles;  // Interactive: drawn when the window opens
    // Batch: "~nogui" <settings file> <output picture> <track file> [...].
    std::string settingsArgument;         // the settings file as given
    bool settingsArgumentIsFile = false;  // it names a regular file
    std::string outputPath;               // never empty in batch mode
    std::vector<std::string> trackFiles;
    std::vector<std::string> commandArguments;  // a command's arguments after its word
    std::string unknownOption;                  // UnknownOption: the option as given

    // The settings file a batch job reads: the one given when it is a file,
    // else `defaultSettings`.
    const std::string& batchSettings(const std::string& defaultSettings) const {
        return settingsArgumentIsFile ? settingsArgument : defaultSettings;
    }
};

// Decides the mode from the arguments after the program name.
CommandLine parseCommandLine(const std::vector<std::string>& args);

// The message for an option the program does not know, with what it takes.
std::string unknownOptionText(const std::string& option);

// One line naming the batch form, for a command line that cannot run.
std::string batchUsageLine();

// The usage of every form, for "--help".
std::string usageText();

}  // namespace tcmap
