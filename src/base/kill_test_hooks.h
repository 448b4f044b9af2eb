// Hooks that exist only so the kill tests can stop a write at a chosen moment
// and kill the process there. main installs them once at start-up from
// environment variables no user sets; without them they do nothing.
#pragma once

#include <string>
#include <string_view>

namespace tcmap {

struct KillTestHooks {
    // TCMAP_TEST_HOLD_WRITE=<stage>:<file name>: when a replacing write of a
    // file of that name reaches `stage` ("created", "written" or "linked"),
    // say so on standard error and wait there for the test's SIGKILL (at most
    // a minute).
    std::string holdWrite;
    // TCMAP_TEST_NO_TMPFILE=1: replacing writes take the route of systems
    // without unnamed temporary files (a named temporary file beside the
    // target).
    bool noUnnamedFiles = false;
};

// Set once, before any thread starts; every write reads them.
void installKillTestHooks(KillTestHooks hooks);

void holdWriteForKillTest(std::string_view stage, std::string_view fileName);
bool killTestForbidsUnnamedFiles();

}  // namespace tcmap
