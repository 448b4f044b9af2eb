// The command line: track files for the window, batch mode selected by
// "~nogui" <settings file> <output picture> <track file> [...], or a command
// ("check-settings <settings file>").
#pragma once

#include <string>
#include <vector>

#include "config/app_state.h"

namespace tcmap {

enum class CommandLineOutcome {
    Interactive,    // the arguments are kept in commandLineFiles for the window
    Batch,          // batch fields filled; batchOutputPath is non-empty
    Usage,          // a batch command line that cannot run; nothing was changed
    Help,           // "--help" alone
    Version,        // "--version" alone
    Paths,          // "--paths" alone: the folders the program uses
    CheckSettings,  // "check-settings" and its arguments: nothing was changed
};

// Decides the mode from the arguments after the program name and fills the
// matching fields of `state`.
CommandLineOutcome applyCommandLine(AppState& state, const std::vector<std::string>& args);

// One line naming the batch form, for a command line that cannot run.
std::string batchUsageLine();

// The usage of every form, for "--help".
std::string usageText();

}  // namespace tcmap
