// An agency archive of one kind from any bytes, read as a draw job reads it:
// the file is streamed from a path, so each input is written to the scratch
// folder first. Every storm is read twice, once with every storm selected and
// once with a selection that passes most over (their rows are skipped without
// being converted); each selected storm's track is listed as the job lists
// it, with its radii texts under every setting. A fix off the globe (beyond
// 90 degrees of latitude or 180 of longitude) is a fault: the readers skip
// rows they cannot place and bring the others into range.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_scratch.h"
#include "track/archive_kind.h"
#include "track/archive_reader.h"
#include "track/archive_selection.h"
#include "track/track_text.h"

namespace tcmap::fuzz {

inline int readArchive(ArchiveKind kind, const char* name, const uint8_t* data, size_t size) {
    const std::string path = ScratchFolder::instance().put(name, asText(data, size));
    archiveKind(path);
    static const ArchiveSelection everything;
    static const ArchiveSelection some("2015,1950-2004", "EP,WP", "PATRICIA,1909,AL122005");
    for (const ArchiveSelection* selection : {&everything, &some}) {
        const auto reader = openArchive(path, kind, *selection);
        ArchiveStorm storm;
        while (reader->next(storm)) {
            if (!storm.selected) continue;
            for (const Fix& fix : storm.track.fixes) {
                if (!(std::abs(fix.latitude) <= 90 && std::abs(fix.longitude) <= 180)) std::abort();
            }
            trackTextLines(storm.track);
            for (int32_t setting = 1; setting <= 3; ++setting) {
                radiiText(storm.track, setting, false);
                radiiText(storm.track, setting, true);
            }
        }
    }
    return 0;
}

}  // namespace tcmap::fuzz
