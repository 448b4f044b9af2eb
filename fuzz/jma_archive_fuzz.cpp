// JMA best tracks from any bytes: the input is stored as a file, its kind
// looked up as a draw job does, then read as JMA's archive whatever the kind,
// every storm selected, each storm's track and radii texts made.
#include <cstddef>
#include <cstdint>

#include "fuzz_scratch.h"
#include "track/archive_kind.h"
#include "track/archive_reader.h"
#include "track/track_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tcmap;
    const std::string path =
        fuzz::ScratchFolder::instance().put("bst_all.txt", fuzz::asText(data, size));
    archiveKind(path);
    const ArchiveSelection everything;
    const auto reader = openArchive(path, ArchiveKind::Jma, everything);
    ArchiveStorm storm;
    while (reader->next(storm)) {
        trackTextLines(storm.track);
        radiiText(storm.track, 1, false);
        radiiText(storm.track, 3, true);
    }
    return 0;
}
