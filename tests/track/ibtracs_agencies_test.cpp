// IBTrACS's per-agency columns read into one track per agency, each the same
// as that agency's own file gives, while the storm's usual track stays as it
// always was.
#include "track/ibtracs_agencies.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive_test_files.h"
#include "track/atcf_reader.h"
#include "track/storm_matching.h"
#include "track/wind_averaging.h"

using namespace tcmap;
using namespace tcmap::test;

namespace {

// Yutu (2018) from JTWC's, JMA's and CMA's own files, set out in IBTrACS's
// columns by tools/make_agency_columns_csv.py.
const std::string kYutuColumns = "ibtracs-columns-yutu-2018.csv";

ReadArchive readWithAgencies(const std::string& path) {
    ReadArchive result;
    const ArchiveSelection all;
    const auto reader = openArchive(path, archiveKind(path), all, ArchiveOptions{true});
    ArchiveStorm storm;
    while (reader && reader->next(storm)) {
        ++result.storms;
        if (storm.selected) result.selected.push_back(storm);
    }
    result.problems = reader->problems();
    return result;
}

// "201810251200 16.3 142.3 140 916 TY" for each fix.
std::vector<std::string> fixesOf(const Track& track) {
    std::vector<std::string> lines;
    for (const Fix& fix : track.fixes) {
        char line[96];
        std::snprintf(line, sizeof line, "%s %.1f %.1f %d %d %s", fix.time.c_str(), fix.latitude,
                      fix.longitude, fix.wind, fix.pressure, fix.type.c_str());
        lines.emplace_back(line);
    }
    return lines;
}

// The first fix of each time, as a b-deck gives a record per radii threshold.
Track firstFixOfEachTime(Track track) {
    std::vector<Fix> kept;
    for (const Fix& fix : track.fixes) {
        if (kept.empty() || kept.back().time != fix.time) kept.push_back(fix);
    }
    track.fixes = kept;
    return track;
}

Track yutuOf(const std::string& archive) {
    for (const ArchiveStorm& storm : readArchive(archivePath(archive)).selected) {
        if (storm.key.ids.front() == "1826") return storm.track;
    }
    return {};
}

}  // namespace

TEST(IbtracsAgencies, OneTrackPerAgencyAsItsOwnFileGivesIt) {
    const ReadArchive usual = readArchive(archivePath(kYutuColumns));
    const ReadArchive agencies = readWithAgencies(archivePath(kYutuColumns));
    ASSERT_EQ(usual.selected.size(), 1u);
    ASSERT_EQ(agencies.selected.size(), 1u);
    EXPECT_TRUE(usual.selected[0].agencyTracks.empty());
    EXPECT_EQ(agencies.problems.skippedRows, 0);
    // The storm's usual track does not change when agency tracks are asked for.
    EXPECT_EQ(trackOf(agencies.selected[0]), trackOf(usual.selected[0]));
    EXPECT_EQ(radiiOf(agencies.selected[0]), radiiOf(usual.selected[0]));

    const std::vector<Track>& tracks = agencies.selected[0].agencyTracks;
    ASSERT_EQ(tracks.size(), 3u);
    EXPECT_EQ(tracks[0].agency, "USA");
    EXPECT_EQ(tracks[1].agency, "TOKYO");
    EXPECT_EQ(tracks[2].agency, "CMA");
    for (const Track& track : tracks) {
        EXPECT_EQ(track.stormId, "2018294N08161");
        EXPECT_EQ(track.name, "YUTU");
    }
    EXPECT_EQ(nativeAveraging(tracks[0].agency), WindAveraging::OneMinute);
    EXPECT_EQ(nativeAveraging(tracks[1].agency), WindAveraging::TenMinute);
    EXPECT_EQ(nativeAveraging(tracks[2].agency), WindAveraging::TwoMinute);

    // Each is its agency's own track: positions, winds as the agency gives
    // them, pressures, class and radii.
    const Track bdeck = firstFixOfEachTime(
        readAtcfFile(std::string(TCMAP_TEST_DATA_DIR) + "/agencies/bwp312018.dat",
                     TrackFileKind::BestTrackFile));
    const Track jma = yutuOf("jma-2018-eight-storms.txt");
    const Track cma = yutuOf("cma-2018-soulik-cimaron-yutu.txt");
    ASSERT_EQ(jma.fixes.size(), 54u);
    EXPECT_EQ(fixesOf(tracks[0]), fixesOf(bdeck));
    EXPECT_EQ(fixesOf(tracks[1]), fixesOf(jma));
    EXPECT_EQ(fixesOf(tracks[2]), fixesOf(cma));
    EXPECT_EQ(radiiText(tracks[1], 1, false), radiiText(jma, 1, false));
    // An archive's radii key has the minutes ("201810220000+0"); a b-deck
    // without minutes has none ("2018102200+0").
    std::string usaRadii = radiiText(tracks[0], 1, false);
    for (size_t at = usaRadii.find("00+0 "); at != std::string::npos;
         at = usaRadii.find("00+0 ", at)) {
        usaRadii.erase(at, 2);
    }
    EXPECT_EQ(usaRadii,
              radiiText(readAtcfFile(std::string(TCMAP_TEST_DATA_DIR) + "/agencies/bwp312018.dat",
                                     TrackFileKind::BestTrackFile),
                        1, false));
    EXPECT_TRUE(radiiText(tracks[2], 1, false).empty());

    // And the three, with the agencies' own files, are one storm.
    std::vector<const Track*> all{&tracks[0], &tracks[1], &tracks[2], &bdeck, &jma, &cma};
    const std::vector<StormGroup> groups = groupStorms(all);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].tracks.size(), 6u);
}

// A real IBTrACS file of late May 2024, whose only agency columns with
// values are the USA ones (the others are filled in later).
TEST(IbtracsAgencies, ARealFileWithOnlyUsaColumnsFilled) {
    const ReadArchive read = readWithAgencies(archivePath("ibtracs-active-2024.csv"));
    const ReadArchive usual = readArchive(archivePath("ibtracs-active-2024.csv"));
    ASSERT_EQ(read.selected.size(), usual.selected.size());
    for (size_t i = 0; i < read.selected.size(); ++i) {
        const ArchiveStorm& storm = read.selected[i];
        EXPECT_EQ(trackOf(storm), trackOf(usual.selected[i]));
        ASSERT_EQ(storm.agencyTracks.size(), 1u) << storm.key.name;
        EXPECT_EQ(storm.agencyTracks[0].agency, "USA");
        // Every row gives a USA position, so the agency track has each fix.
        EXPECT_EQ(storm.agencyTracks[0].fixes.size(), storm.track.fixes.size());
    }
    EXPECT_EQ(ibtracsAgencies().size(), 14u);
    EXPECT_EQ(ibtracsAgencies().front(), "USA");
    EXPECT_EQ(ibtracsAgencies().back(), "MLC");
}
