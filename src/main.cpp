// tcmap entry point. Batch mode ("~nogui") runs without creating any Qt
// object, so it works on a machine without a display.
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "app/batch_output_check.h"
#include "app/batch_run.h"
#include "app/check_settings_command.h"
#include "app/settings_warnings.h"
#include "app/startup_state.h"
#include "app/unexpected_error.h"
#include "config/app_state.h"
#include "config/command_line.h"
#include "config/program_folders.h"
#include "config/run_folder.h"
#include "render/draw_job.h"

#if TCMAP_HAVE_GUI
#include "gui/interactive_run.h"
#endif

namespace {

// Batch start-up and run; returns the exit code.
int runBatchMode(tcmap::AppState& state) {
    using namespace tcmap;
    // An output path that cannot take the map, or is one of the inputs, ends
    // the run before anything (settings, scratch file) is written.
    if (const auto refusal = checkBatchOutput(state)) {
        std::fprintf(stderr, "%s\n", refusal->message.c_str());
        return refusal->exitCode;
    }
    // A reader of a FIFO or pipe output that goes away makes the write fail
    // (and the run say so) instead of killing the process.
    std::signal(SIGPIPE, SIG_IGN);
    installBatchErrorHandlers();
    prepareScratchFile(state);
    readStartupSettings(state);
    printBatchSettingsWarnings(state, std::cerr);
    return runBatch(state, std::cerr,
                    [](AppState& app, MainView& view) { runDrawJob(app, view, DrawMode::Normal); });
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tcmap;

    AppState state;
    const ProgramFolders folders = findProgramFolders(runFolder());
    setRunDefaults(state, folders);
    state.programVersion = TCMAP_VERSION;

    // Help, version and usage errors are answered before anything is written.
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    switch (applyCommandLine(state, args)) {
        case CommandLineOutcome::Help:
            std::fputs(usageText().c_str(), stdout);
            return 0;
        case CommandLineOutcome::Version:
            std::printf("tcmap %s\n", state.programVersion.c_str());
            return 0;
        case CommandLineOutcome::Paths:
            std::fputs(describeProgramFolders(folders).c_str(), stdout);
            return 0;
        case CommandLineOutcome::Usage:
            std::fprintf(stderr, "%s\n", batchUsageLine().c_str());
            return 2;
        case CommandLineOutcome::CheckSettings:
            return runCheckSettingsCommand(state, {args.begin() + 1, args.end()}, std::cout,
                                           std::cerr);
        case CommandLineOutcome::Batch:
            settleUserFolders(state, folders);
            return runBatchMode(state);
        case CommandLineOutcome::Interactive:
            break;
    }
#if TCMAP_HAVE_GUI
    settleUserFolders(state, folders);
    return runInteractive(state, argc, argv);
#else
    std::fputs("tcmap: this build has no window; draw with ~nogui\n", stderr);
    return 1;
#endif
}
