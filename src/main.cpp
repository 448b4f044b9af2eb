// tcmap entry point. Batch mode ("~nogui") and the commands run without
// creating any Qt object, so they work on a machine without a display.
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "app/batch_output_check.h"
#include "app/batch_run.h"
#include "app/check_settings_command.h"
#include "app/draw_command.h"
#include "app/list_command.h"
#include "app/run_inputs.h"
#include "app/settings_warnings.h"
#include "app/startup_state.h"
#include "app/unexpected_error.h"
#include "base/kill_test_hooks.h"
#include "base/output_file.h"
#include "config/command_line.h"
#include "config/program_folders.h"
#include "config/run_folder.h"
#include "i18n/language_pack.h"
#include "render/canvas/decoded_map_cache.h"

#if TCMAP_HAVE_GUI
#include "gui/interactive_run.h"
#include "gui/window_session.h"
#endif

namespace {

// Batch start-up and run; returns the exit code.
int runBatchMode(const tcmap::CommandLine& line, const tcmap::ProgramPaths& paths,
                 const tcmap::EnvironmentOptions& options, tcmap::MapCache& cache) {
    using namespace tcmap;
    // An output path that cannot take the map, or is one of the inputs, ends
    // the run before anything is written.
    const StyleChoice style = readStyleChoice(paths.settingsPath);
    if (const auto refusal = checkBatchOutput(line.outputPath, line.trackFiles,
                                              line.settingsArgument, runInputs(paths, style))) {
        std::fprintf(stderr, "%s\n", refusal->message.c_str());
        return refusal->exitCode;
    }
    // A reader of a FIFO or pipe output that goes away makes the write fail
    // (and the run say so) instead of killing the process.
    std::signal(SIGPIPE, SIG_IGN);
    installBatchErrorHandlers();
    BatchRun run;
    run.paths = paths;
    run.language = readLanguageChoice(paths.runFolder, options.messageLocale);
    run.style = style;
    run.outputPath = line.outputPath;
    run.trackFiles = line.trackFiles;
    run.mapCache = &cache;
    run.printTimings = options.printTimings;
    run.mapPixelLimit = options.mapPixelLimit;
    printBatchSettingsWarnings(line.settingsArgument, paths.settingsPath,
                               LanguagePack(paths, run.language), std::cerr);
    return runBatch(run, std::cerr);
}

// What `draw` and `list` take from start-up. They write nothing of the
// user's folders: the settings come from the installed file or the one named.
tcmap::CommandContext commandContext(const tcmap::ProgramPaths& paths,
                                     const tcmap::EnvironmentOptions& options,
                                     tcmap::MapCache& cache) {
    tcmap::CommandContext context;
    context.paths = paths;
    context.messageLocale = options.messageLocale;
    context.mapCache = &cache;
    context.cores = std::max(1u, std::thread::hardware_concurrency());
    context.progressOnTerminal = ::isatty(STDERR_FILENO) == 1;
    return context;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tcmap;

    // The environment is read here, once: everything below takes options.
    const EnvironmentOptions options = readEnvironmentOptions();
    installKillTestHooks(options.killTestHooks);
    setFifoWaitLimit(options.fifoWait);
    const ProgramFolders folders = findProgramFolders(runFolder());
    ProgramPaths paths = programPaths(folders);

    // Help, version and usage errors are answered before anything is written.
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const CommandLine line = parseCommandLine(args);
    switch (line.outcome) {
        case CommandLineOutcome::Help:
            std::fputs(usageText().c_str(), stdout);
            return 0;
        case CommandLineOutcome::Version:
            std::printf("tcmap %s\n", programVersion().c_str());
            return 0;
        case CommandLineOutcome::Paths:
            std::fputs(describeProgramFolders(folders).c_str(), stdout);
            return 0;
        case CommandLineOutcome::Usage:
            std::fprintf(stderr, "%s\n", batchUsageLine().c_str());
            return 2;
        case CommandLineOutcome::CheckSettings:
            return runCheckSettingsCommand(paths, line.commandArguments, std::cout, std::cerr,
                                           options.messageLocale);
        case CommandLineOutcome::UnknownOption:
            std::fputs(unknownOptionText(line.unknownOption).c_str(), stderr);
            return 2;
        case CommandLineOutcome::Draw:
        case CommandLineOutcome::List: {
            std::signal(SIGPIPE, SIG_IGN);
            MapCache cache(folders.cacheFolder);
            const CommandContext context = commandContext(paths, options, cache);
            return line.outcome == CommandLineOutcome::Draw
                       ? runDrawCommand(context, line.commandArguments, std::cout, std::cerr)
                       : runListCommand(context, line.commandArguments, std::cout, std::cerr);
        }
        case CommandLineOutcome::Batch: {
            paths.settingsPath = line.batchSettings(paths.settingsPath);
            settleUserFolders(paths, folders);
            MapCache cache(folders.cacheFolder);
            return runBatchMode(line, paths, options, cache);
        }
        case CommandLineOutcome::Interactive:
            break;
    }
#if TCMAP_HAVE_GUI
    settleUserFolders(paths, folders);
    // The window's shutdown ends the process without unwinding main, so the
    // session and the map cache outlive any job that still runs.
    MapCache cache(folders.cacheFolder);
    WindowSession session;
    session.paths = paths;
    session.programVersion = programVersion();
    session.commandLineFiles = line.windowFiles;
    session.mapCache = &cache;
    session.printTimings = options.printTimings;
    return runInteractive(session, argc, argv);
#else
    std::fputs("tcmap: this build has no window; draw with ~nogui\n", stderr);
    return 1;
#endif
}
