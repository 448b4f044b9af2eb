// Every input that ever broke a reader (the fuzz targets' findings and the
// damaged files of reported faults, tests/data/errors/<target>/) is read
// again by the readers it broke: each must read it to the end, and no fix
// a storm cannot have may come out.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "track/archive_kind.h"
#include "track/archive_reader.h"
#include "track/atcf_reader.h"
#include "track/impossible_fix.h"
#include "track/track_text.h"

using namespace tcmap;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> inputsOf(const std::string& target) {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry :
         fs::directory_iterator(std::string(TCMAP_TEST_DATA_DIR) + "/errors/" + target, error))
        files.push_back(entry.path().string());
    return files;
}

void expectPossibleFixes(const Track& track, const std::string& input) {
    for (const Fix& fix : track.fixes) {
        EXPECT_EQ(impossibleFixReason(fix.latitude, fix.longitude, fix.wind, fix.pressure), "")
            << input << " line " << fix.line;
    }
}

}  // namespace

TEST(ErrorInputs, TrackFilesReadToTheEndWithPossibleFixesOnly) {
    const std::vector<std::string> inputs = inputsOf("track_file");
    ASSERT_FALSE(inputs.empty());
    for (const std::string& input : inputs) {
        for (const TrackFileKind kind :
             {TrackFileKind::BestTrackFile, TrackFileKind::ForecastFile}) {
            const Track track = readAtcfFile(input, kind);
            trackTextLines(track);
            expectPossibleFixes(track, input);
        }
    }
}

TEST(ErrorInputs, ArchivesReadToTheEndWithPossibleFixesOnly) {
    const std::vector<std::string> inputs = inputsOf("archive");
    ASSERT_FALSE(inputs.empty());
    const ArchiveSelection everything;
    for (const std::string& input : inputs) {
        for (const ArchiveKind kind :
             {ArchiveKind::Hurdat2, ArchiveKind::Ibtracs, ArchiveKind::Cma}) {
            const auto reader = openArchive(input, kind, everything);
            ASSERT_TRUE(reader);
            ArchiveStorm storm;
            while (reader->next(storm)) expectPossibleFixes(storm.track, input);
        }
    }
}

// The files of the reported faults, read as a run reads them.
TEST(ErrorInputs, TheReportedDamagedFilesAreSkippedRowsNotFixes) {
    const Track track = readAtcfFile(
        std::string(TCMAP_TEST_DATA_DIR) + "/errors/track_file/impossible-values-and-nul.dat",
        TrackFileKind::BestTrackFile);
    ASSERT_EQ(track.fixes.size(), 2u);
    EXPECT_EQ(track.fixes[1].line, 7);  // the file goes on after its NUL byte
    EXPECT_EQ(track.skipped.count, 5);

    const std::string archive =
        std::string(TCMAP_TEST_DATA_DIR) + "/errors/archive/hurdat2-damaged-count.txt";
    ASSERT_EQ(archiveKind(archive), ArchiveKind::Hurdat2);
    const ArchiveSelection everything;  // outlives the reader
    const auto reader = openArchive(archive, ArchiveKind::Hurdat2, everything);
    ArchiveStorm storm;
    int storms = 0;
    while (reader->next(storm)) {
        ++storms;
        EXPECT_TRUE(storm.track.fixes.empty()) << storm.key.name;
    }
    EXPECT_EQ(storms, 1);
    EXPECT_EQ(reader->problems().skippedRows, 4);
}
