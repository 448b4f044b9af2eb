// The command-line tools some tests read the program's output back with
// (poppler's pdftoppm, pdfinfo and pdftotext, setpriv). A tool that is not
// installed is a reason to skip, named by the test; one that runs and rejects
// the output is a failure of the test.
#pragma once

#include <stdio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace tcmap::testing {

// Whether `name` is an executable file in a folder of PATH.
inline bool toolInstalled(std::string_view name) {
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "/usr/bin:/bin";
    while (!folders.empty()) {
        const size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
        if (folder.empty()) continue;
        const std::string candidate = std::string(folder) + "/" + std::string(name);
        if (::access(candidate.c_str(), X_OK) == 0) return true;
    }
    return false;
}

struct ToolRun {
    int exitCode = -1;   // -1: it did not run or ended by a signal
    std::string output;  // standard output and error together
};

// Runs a shell command line and collects what it prints.
inline ToolRun runTool(const std::string& commandLine) {
    ToolRun run;
    FILE* pipe = ::popen((commandLine + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, got);
    const int status = ::pclose(pipe);
    if (status != -1 && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    return run;
}

// The path quoted for the shell.
inline std::string shellQuoted(std::string_view text) {
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

}  // namespace tcmap::testing
