// Reading the agencies' archives of tests/data/archives in the track tests:
// every storm of a file through the reader its content picks, the selected
// ones kept with what the reader reported.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/text_rules.h"
#include "track/archive_kind.h"
#include "track/archive_reader.h"
#include "track/track_text.h"

namespace tcmap::test {

inline std::string archivePath(const std::string& name) {
    return std::string(TCMAP_TEST_DATA_DIR) + "/archives/" + name;
}

struct ReadArchive {
    std::vector<ArchiveStorm> selected;
    int64_t storms = 0;
    ArchiveProblems problems;
};

inline ReadArchive readArchive(const std::string& path, const ArchiveSelection& selection = {}) {
    ReadArchive result;
    const auto reader = openArchive(path, archiveKind(path), selection);
    if (!reader) return result;
    ArchiveStorm storm;
    while (reader->next(storm)) {
        ++result.storms;
        if (storm.selected) result.selected.push_back(storm);
    }
    result.problems = reader->problems();
    return result;
}

inline std::vector<std::string> trackOf(const ArchiveStorm& storm) {
    return trackTextLines(storm.track);
}

inline std::vector<std::string> radiiOf(const ArchiveStorm& storm) {
    return splitText(radiiText(storm.track, 1, false), "\r\n");
}

inline std::vector<std::string> idsOf(const ReadArchive& read) {
    std::vector<std::string> ids;
    for (const ArchiveStorm& storm : read.selected) ids.push_back(storm.key.ids.front());
    return ids;
}

}  // namespace tcmap::test
