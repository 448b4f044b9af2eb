#include "track/archive_reader.h"

#include "track/cma_archive.h"
#include "track/hurdat2_archive.h"
#include "track/ibtracs_archive.h"
#include "track/jma_archive.h"

namespace tcmap {

bool ArchiveReader::nextLine(std::string_view& line) {
    if (unread_) {
        unread_ = false;
        line = last_;
        return true;
    }
    // A line with a NUL byte is a damaged row: skipped and counted.
    do {
        if (!lines_.next(last_)) return false;
        if (lines_.lineHasNul()) problems_.skipRow(lines_.lineNumber());
    } while (lines_.lineHasNul());
    line = last_;
    return true;
}

std::unique_ptr<ArchiveReader> openArchive(const std::string& path, ArchiveKind kind,
                                           const ArchiveSelection& selection,
                                           const ArchiveOptions& options) {
    switch (kind) {
        case ArchiveKind::Hurdat2:
            return std::make_unique<Hurdat2Archive>(path, selection);
        case ArchiveKind::Ibtracs:
            return std::make_unique<IbtracsArchive>(path, selection, options.agencyTracks);
        case ArchiveKind::Cma:
            return std::make_unique<CmaArchive>(path, selection);
        case ArchiveKind::Jma:
            return std::make_unique<JmaArchive>(path, selection);
        case ArchiveKind::None:
            break;
    }
    return nullptr;
}

}  // namespace tcmap
