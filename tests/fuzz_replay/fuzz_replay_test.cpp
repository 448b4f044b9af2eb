// Every input a fuzzer ever found, with the hand-made broken inputs beside
// them, read again by its target's entry point: tests/data/errors/<target>/.
// A fault the fuzzer found must stay fixed in every build, not only in the
// clang fuzz build; the sanitizer build also sees the memory faults.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "fuzz_replay/fuzz_entry_points.h"

using tcmap::testing::FuzzEntryPoint;
using tcmap::testing::fuzzEntryPoints;
namespace fs = std::filesystem;

namespace {

const fs::path kErrors = TCMAP_TEST_DATA_DIR "/errors";

std::vector<std::string> targetNames() {
    std::vector<std::string> names;
    for (const FuzzEntryPoint& entry : fuzzEntryPoints()) names.emplace_back(entry.target);
    return names;
}

class FuzzReplay : public ::testing::TestWithParam<std::string> {};

}  // namespace

TEST(FuzzReplayFolders, EachNamesAFuzzTarget) {
    const std::vector<std::string> names = targetNames();
    ASSERT_GE(names.size(), 15u);
    for (const auto& entry : fs::directory_iterator(kErrors)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && name == "README.md") continue;
        EXPECT_TRUE(entry.is_directory()) << entry.path() << " is not a target's folder";
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end())
            << entry.path() << " names no target of fuzz/";
    }
}

TEST_P(FuzzReplay, EveryStoredInputReadsWithoutFault) {
    const auto entry =
        std::find_if(fuzzEntryPoints().begin(), fuzzEntryPoints().end(),
                     [&](const FuzzEntryPoint& e) { return e.target == GetParam(); });
    ASSERT_NE(entry, fuzzEntryPoints().end());
    const fs::path folder = kErrors / GetParam();
    ASSERT_TRUE(fs::is_directory(folder)) << folder << " is missing";
    std::set<fs::path> inputs;
    for (const auto& file : fs::directory_iterator(folder)) {
        if (file.is_regular_file()) inputs.insert(file.path());
    }
    ASSERT_FALSE(inputs.empty()) << folder << " holds no input";
    for (const fs::path& input : inputs) {
        SCOPED_TRACE(input.string());
        const std::string bytes = tcmap::readFileOrEmpty(input.string());
        ASSERT_EQ(fs::file_size(input), bytes.size());
        // A copy of exactly the input's length, so a read past its end is a
        // fault the sanitizer build sees.
        const std::vector<uint8_t> data(bytes.begin(), bytes.end());
        EXPECT_EQ(entry->run(data.data(), data.size()), 0);
    }
    RecordProperty("inputs", static_cast<int>(inputs.size()));
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, ::testing::ValuesIn(targetNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });
