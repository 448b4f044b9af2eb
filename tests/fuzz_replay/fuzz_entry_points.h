// The entry point of every fuzz target of fuzz/, compiled without libFuzzer
// under a name of its own (tests/CMakeLists.txt generates the table).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tcmap::testing {

struct FuzzEntryPoint {
    const char* target;  // "hurdat2_archive" for fuzz/hurdat2_archive_fuzz.cpp
    int (*run)(const uint8_t* data, size_t size);
};

const std::vector<FuzzEntryPoint>& fuzzEntryPoints();

}  // namespace tcmap::testing
