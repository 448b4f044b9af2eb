#include "app/storm_catalog.h"

#include "base/file_io.h"
#include "track/archive_kind.h"
#include "track/archive_reader.h"
#include "track/atcf_reader.h"
#include "track/track_file.h"

namespace tcmap {

namespace {

// An archive storm's number: the digits of its id after the basin letters.
std::string stormNumber(const Track& track) {
    if (!track.fixes.empty() && !track.fixes.front().number.empty()) {
        return track.fixes.front().number;
    }
    const std::string& id = track.stormId;
    return id.size() >= 4 ? id.substr(2, 2) : std::string();
}

}  // namespace

std::vector<std::string> visitStormCatalog(
    const std::vector<std::string>& inputs, const ArchiveSelection& selection,
    const std::function<void(size_t input, Track&& track)>& visit) {
    std::vector<std::string> problems;
    for (size_t input = 0; input < inputs.size(); ++input) {
        const std::string& path = inputs[input];
        if (!isRegularFile(path)) {
            problems.push_back(path + ": not a readable file");
            continue;
        }
        if (const ArchiveKind kind = archiveKind(path); kind != ArchiveKind::None) {
            const std::unique_ptr<ArchiveReader> reader = openArchive(path, kind, selection);
            ArchiveStorm storm;
            while (reader->next(storm)) {
                if (storm.selected) visit(input, std::move(storm.track));
                storm = ArchiveStorm{};
            }
            if (reader->problems().skippedRows > 0) {
                problems.push_back(path + ": " + std::to_string(reader->problems().skippedRows) +
                                   " rows could not be read, the first on line " +
                                   std::to_string(reader->problems().firstSkippedLine));
            }
            continue;
        }
        Track track = readAtcfFile(path, trackFileKind(path));
        if (track.fixes.empty()) {
            problems.push_back(path + ": no usable track record");
            continue;
        }
        if (track.source.empty()) track.source = path;
        visit(input, std::move(track));
    }
    return problems;
}

StormCatalog readStormCatalog(const std::vector<std::string>& inputs,
                              const ArchiveSelection& selection) {
    StormCatalog catalog;
    catalog.problems = visitStormCatalog(inputs, selection, [&](size_t input, Track&& track) {
        catalog.storms.push_back({input, std::make_shared<const Track>(std::move(track))});
    });
    return catalog;
}

StormFacts stormFacts(const Track& track) {
    StormFacts facts;
    facts.id = track.stormId;
    facts.name = track.name;
    facts.basin = track.basin;
    facts.number = stormNumber(track);
    facts.fixes = track.fixes.size();
    if (!track.fixes.empty()) {
        facts.firstTime = track.fixes.front().time;
        facts.lastTime = track.fixes.back().time;
        facts.year = facts.firstTime.substr(0, 4);
    }
    facts.statistics = track.statistics;
    return facts;
}

}  // namespace tcmap
