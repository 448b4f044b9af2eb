#include "base/kill_test_hooks.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace tcmap {

namespace {

constexpr unsigned kHoldSeconds = 60;

std::string_view environmentText(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string_view() : std::string_view(value);
}

}  // namespace

void holdWriteForKillTest(std::string_view stage, std::string_view fileName) {
    const std::string_view wanted = environmentText("TCMAP_TEST_HOLD_WRITE");
    if (wanted.empty()) return;
    const std::string expected = std::string(stage) + ":" + std::string(fileName);
    if (wanted != expected) return;
    std::fprintf(stderr, "tcmap-test: holding %s\n", expected.c_str());
    std::fflush(stderr);
    unsigned left = kHoldSeconds;
    while (left > 0) left = ::sleep(left);
}

bool killTestForbidsUnnamedFiles() {
    return environmentText("TCMAP_TEST_NO_TMPFILE") == "1";
}

}  // namespace tcmap
