#include "track/archive_reader.h"

#include <algorithm>
#include <utility>

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

ArchiveReader::CountedRows ArchiveReader::westernPacificRows(int32_t count,
                                                             const std::string& international,
                                                             std::string agency,
                                                             const std::string& name) {
    CountedRows rows;
    rows.count = count;
    rows.stormId = international;
    rows.agency = std::move(agency);
    rows.fix.basin = "WP";
    rows.fix.number = international.size() >= 2 ? international.substr(international.size() - 2)
                                                : std::string("00");
    rows.fix.name = name;
    return rows;
}

void ArchiveReader::readCountedRows(ArchiveStorm& storm, CountedRows rows) {
    ArchiveTrackBuilder builder(path_, rows.agency);
    bool decided = false;
    const auto decide = [&] {
        if (decided) return;
        decided = true;
        storm.selected = selection_.matches(storm.key);
    };
    const auto keepTrack = [&] {
        decide();
        if (storm.selected)
            storm.track = builder.finish(rows.stormId, storm.key.name, rows.fix.basin);
    };
    std::string_view line;
    for (int32_t row = 0; row < rows.count; ++row) {
        const bool got = nextLine(line);
        if (!got || rows.isHeader(line)) {
            problems_.cutShortStorm =
                storm.key.name.empty() ? rows.stormId : rows.stormId + " " + storm.key.name;
            if (got) unread();
            break;
        }
        if (row == 0) {
            if (rows.firstRow) rows.firstRow(line);
            decide();
            // A damaged header's count reserves no more than a long storm needs.
            constexpr int32_t kLongestStormRows = 1000;
            if (storm.selected) builder.reserve(size_t(std::min(rows.count, kLongestStormRows)));
        }
        if (!storm.selected) continue;  // passed over, not converted
        if (!rows.readRow(line, rows.fix) || !builder.add(rows.fix, lines_.lineNumber())) {
            problems_.skipRow(lines_.lineNumber());
        }
    }
    keepTrack();
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
