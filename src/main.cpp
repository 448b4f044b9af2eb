// tcmap entry point. Batch mode ("~nogui") runs without creating any Qt
// object, so it works on a machine without a display.
#include <cstdio>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/command_line.h"
#include "app/run_folder.h"
#include "app/settings_keys.h"

int main(int argc, char** argv) {
    using namespace tcmap;

    AppState state;
    state.runFolder = runFolder();
    state.settingsPath = state.runFolder + "/" + std::string(kSettingsFileName);
    state.programVersion = TCMAP_VERSION;

    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    switch (applyCommandLine(state, args)) {
        case CommandLineOutcome::Help:
            std::fputs(usageText().c_str(), stdout);
            return 0;
        case CommandLineOutcome::Version:
            std::printf("tcmap %s\n", state.programVersion.c_str());
            return 0;
        case CommandLineOutcome::Usage:
            std::fprintf(stderr, "%s\n", batchUsageLine().c_str());
            return 2;
        case CommandLineOutcome::Batch:
        case CommandLineOutcome::Interactive:
            break;
    }
    std::fputs("tcmap: drawing is not available in this build yet\n", stderr);
    return 1;
}
