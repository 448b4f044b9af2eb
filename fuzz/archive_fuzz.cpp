// An archive as a draw job reads it: the input is stored as a file and read
// by each archive reader in turn (HURDAT2, IBTrACS, CMA), every storm
// selected, and each storm's track printed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz_scratch.h"
#include "track/archive_kind.h"
#include "track/archive_reader.h"
#include "track/impossible_fix.h"
#include "track/track_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tcmap;
    const auto& scratch = fuzz::ScratchFolder::instance();
    const std::string path = scratch.put("archive.txt", fuzz::asText(data, size));
    const ArchiveSelection everything;
    for (const ArchiveKind kind : {ArchiveKind::Hurdat2, ArchiveKind::Ibtracs, ArchiveKind::Cma}) {
        const auto reader = openArchive(path, kind, everything);
        if (!reader) std::abort();
        ArchiveStorm storm;
        while (reader->next(storm)) {
            trackTextLines(storm.track);
            // A fix no storm can have never comes out of a reader.
            for (const Fix& fix : storm.track.fixes) {
                if (!impossibleFixReason(fix.latitude, fix.longitude, fix.wind, fix.pressure)
                         .empty())
                    std::abort();
            }
        }
    }
    return 0;
}
