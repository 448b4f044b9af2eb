// Reference pictures of whole jobs. Each folder of tests/visual/ with a
// case.txt is one test: its settings file and track files run through the
// whole job the way `tcmap ~nogui` runs them (main.cpp), in the draw mode the
// case names, and the PNG it writes must match the folder's expected.png
// pixel for pixel.
//
// TCMAP_VISUAL_REWRITE=1 writes the pictures drawn now over the expected ones
// in the source tree instead of comparing; only for a change of the pictures
// made on purpose, and look at every rewritten picture before committing it.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/batch_output_check.h"
#include "app/batch_run.h"
#include "app/startup_state.h"
#include "base/file_io.h"
#include "config/command_line.h"
#include "config/profile_store.h"
#include "config/program_folders.h"
#include "config/settings_keys.h"
#include "i18n/language_list.h"
#include "render/canvas/picture.h"
#include "support/temp_folder.h"
#include "visual/pixel_diff.h"
#include "visual/visual_case.h"

namespace fs = std::filesystem;
using namespace tcmap;
using tcmap::testing::PixelDiff;
using tcmap::testing::TempFolder;
using tcmap::testing::VisualCase;

namespace {

bool rewriting() {
    const char* value = std::getenv("TCMAP_VISUAL_REWRITE");
    return value != nullptr && std::string(value) == "1";
}

// A run folder of the job's own: fresh copies of the shipped data files, the
// extra map pictures of tests/visual/maps/, and the case's language.
std::string makeRunFolder(const TempFolder& work, const VisualCase& c) {
    const std::string run = work.file("run");
    std::error_code error;
    fs::copy(TCMAP_SOURCE_DIR "/data", run, fs::copy_options::recursive, error);
    EXPECT_FALSE(error) << "cannot copy the data files: " << error.message();
    fs::copy(TCMAP_VISUAL_DIR "/maps", run + "/maps", fs::copy_options::recursive, error);
    EXPECT_FALSE(error) << "cannot copy the extra maps: " << error.message();
    if (!c.language.empty()) {
        const SettingKey& select = language_settings::kSelect;
        EXPECT_TRUE(
            ProfileStore::write(languageIniPath(run), select.section, select.key, c.language));
    }
    return run;
}

struct JobOutcome {
    int exitCode = -1;
    std::string errorText;  // what the run wrote to standard error
};

// The batch start-up of main.cpp, then the job of the case's draw mode (batch
// mode itself always draws Normal; the window starts the other two modes
// through the same draw()). The settings and track files are copies, so
// nothing the run writes reaches the source tree. Every case decodes its map
// afresh: no map cache.
JobOutcome runWholeJob(const TempFolder& work, const VisualCase& c, const std::string& output) {
    const std::string run = makeRunFolder(work, c);
    const std::string inputs = work.file("inputs");
    fs::create_directory(inputs);
    std::vector<std::string> args{"~nogui", inputs + "/" + c.settings, output};
    std::error_code error;
    fs::copy_file(c.folder + "/" + c.settings, args[1], error);
    EXPECT_FALSE(error) << c.settings << ": " << error.message();
    for (const std::string& track : c.tracks) {
        args.push_back(inputs + "/" + track);
        fs::copy_file(c.folder + "/" + track, args.back(), error);
        EXPECT_FALSE(error) << track << ": " << error.message();
    }

    const ProgramFolders folders = findProgramFolders(run);
    EXPECT_TRUE(folders.portable) << run;
    ProgramPaths paths = programPaths(folders);
    const CommandLine line = parseCommandLine(args);
    EXPECT_EQ(line.outcome, CommandLineOutcome::Batch);
    paths.settingsPath = line.batchSettings(paths.settingsPath);
    settleUserFolders(paths, folders);
    if (const auto refusal =
            checkBatchOutput(line.outputPath, line.trackFiles, line.settingsArgument)) {
        ADD_FAILURE() << refusal->message;
        return {};
    }
    BatchRun batch;
    batch.paths = paths;
    batch.language = readLanguageChoice(paths.runFolder);
    batch.style = readStyleChoice(paths.settingsPath);
    batch.outputPath = line.outputPath;
    batch.trackFiles = line.trackFiles;
    batch.mode = c.mode;
    batch.region = c.regionParts;

    std::ostringstream err;
    JobOutcome outcome;
    outcome.exitCode = runBatch(batch, err);
    outcome.errorText = err.str();
    return outcome;
}

// A folder outside the test's own, kept after the test, for the pictures a
// failure leaves to look at.
std::string keptFolder(const VisualCase& c) {
    std::string pattern =
        (fs::temp_directory_path() / ("tcmap-visual-" + c.name + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) return {};
    return pattern;
}

// Keeps the drawn picture (and the diff picture, when there is one) with the
// job's standard error; returns the folder for the failure message.
std::string keepFailure(const VisualCase& c, const std::string& output, const JobOutcome& job,
                        const Picture* expected, const Picture* actual) {
    const std::string folder = keptFolder(c);
    if (folder.empty()) return "(no folder could be made to keep the pictures)";
    std::error_code error;
    fs::copy_file(output, folder + "/actual.png", error);
    writeFileReplacing(folder + "/stderr.txt", job.errorText);
    if (expected != nullptr && actual != nullptr) {
        Picture diff;
        if (tcmap::testing::makeDiffPicture(*expected, *actual, diff) == 0) {
            diff.save(folder + "/diff.png", kPngFormatId);
        }
    }
    return folder;
}

class ReferencePicture : public ::testing::TestWithParam<VisualCase> {};

TEST_P(ReferencePicture, MatchesTheRecordedPicture) {
    const VisualCase& c = GetParam();
    ASSERT_TRUE(c.problem.empty()) << c.folder << "/case.txt: " << c.problem;
    TempFolder work;
    const std::string output = work.file("actual.png");
    const JobOutcome job = runWholeJob(work, c, output);
    ASSERT_EQ(job.exitCode, 0) << "the job drew no map; standard error:\n" << job.errorText;

    Picture actual;
    ASSERT_TRUE(actual.loadFile(output)) << "the job's PNG cannot be decoded";
    if (rewriting()) {
        const std::optional<std::string> bytes = readFileBytes(output);
        ASSERT_TRUE(bytes);
        ASSERT_TRUE(writeFileAtomically(c.expectedPicture(), *bytes)) << c.expectedPicture();
        std::cout << "rewrote " << c.expectedPicture() << " (" << actual.width() << " x "
                  << actual.height() << ")\n";
        return;
    }

    Picture expected;
    ASSERT_TRUE(expected.loadFile(c.expectedPicture()))
        << c.expectedPicture() << " is missing or broken; TCMAP_VISUAL_REWRITE=1 records it";
    if (expected.width() != actual.width() || expected.height() != actual.height()) {
        FAIL() << "drawn " << actual.width() << " x " << actual.height() << ", expected "
               << expected.width() << " x " << expected.height()
               << "; the drawn picture is kept in "
               << keepFailure(c, output, job, nullptr, nullptr);
    }
    const PixelDiff diff = tcmap::testing::comparePixels(expected, actual);
    if (diff.differing > 0) {
        FAIL() << diff.differing << " of " << int64_t{actual.width()} * actual.height()
               << " pixels differ, within x " << diff.left << ".." << diff.right << ", y "
               << diff.top << ".." << diff.bottom << "; actual.png and diff.png are kept in "
               << keepFailure(c, output, job, &expected, &actual);
    }
}

std::string testName(const ::testing::TestParamInfo<VisualCase>& info) {
    std::string name = info.param.name;
    for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Case, ReferencePicture,
                         ::testing::ValuesIn(tcmap::testing::findVisualCases(TCMAP_VISUAL_DIR)),
                         testName);

// The comparison the cases rely on: it must see a single changed pixel, an
// alpha-only change included, and box exactly the changed ones.
TEST(PixelDiff, CountsAndBoxesEveryChangedPixel) {
    struct Row {
        std::vector<std::pair<int, int>> changed;
        uint32_t newValue;
        PixelDiff want;
    };
    const std::vector<Row> rows = {
        {{}, 0, {0, 0, 0, -1, -1}},
        {{{3, 2}}, 0xFF102031, {1, 3, 2, 3, 2}},
        {{{1, 4}, {6, 0}}, 0xFFFFFFFF, {2, 1, 0, 6, 4}},
        {{{0, 0}, {7, 4}, {4, 3}}, 0xFE102030, {3, 0, 0, 7, 4}},  // alpha only
    };
    for (const Row& row : rows) {
        Picture expected, actual;
        ASSERT_EQ(expected.create(8, 5, 0xFF102030, kPngFormatId), 0);
        ASSERT_EQ(actual.create(8, 5, 0xFF102030, kPngFormatId), 0);
        for (const auto& [x, y] : row.changed) actual.pixels()[y * 8 + x] = row.newValue;
        const PixelDiff got = tcmap::testing::comparePixels(expected, actual);
        EXPECT_EQ(got.differing, row.want.differing);
        if (row.want.differing == 0) continue;
        EXPECT_EQ((std::vector<int>{got.left, got.top, got.right, got.bottom}),
                  (std::vector<int>{row.want.left, row.want.top, row.want.right, row.want.bottom}))
            << row.changed.size() << " changed";
        Picture diff;
        ASSERT_EQ(tcmap::testing::makeDiffPicture(expected, actual, diff), 0);
        for (const auto& [x, y] : row.changed) EXPECT_EQ(diff.pixelArgb(x, y), 0xFFFF0000u);
        EXPECT_NE(diff.pixelArgb(5, 1), 0xFFFF0000u);
    }
}

}  // namespace
