#include "base/kill_test_hooks.h"

#include <unistd.h>

#include <cstdio>
#include <string>

namespace tcmap {

namespace {

constexpr unsigned kHoldSeconds = 60;

// Written once by main before any other thread exists, only read after.
KillTestHooks& installedHooks() {
    static KillTestHooks hooks;
    return hooks;
}

}  // namespace

void installKillTestHooks(KillTestHooks hooks) {
    installedHooks() = std::move(hooks);
}

void holdWriteForKillTest(std::string_view stage, std::string_view fileName) {
    const std::string& wanted = installedHooks().holdWrite;
    if (wanted.empty()) return;
    const std::string expected = std::string(stage) + ":" + std::string(fileName);
    if (wanted != expected) return;
    std::fprintf(stderr, "tcmap-test: holding %s\n", expected.c_str());
    std::fflush(stderr);
    unsigned left = kHoldSeconds;
    while (left > 0) left = ::sleep(left);
}

bool killTestForbidsUnnamedFiles() {
    return installedHooks().noUnnamedFiles;
}

}  // namespace tcmap
