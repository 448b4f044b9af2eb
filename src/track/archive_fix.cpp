#include "track/archive_fix.h"

#include <algorithm>
#include <cmath>

#include "base/compatibility.h"
#include "base/text_rules.h"
#include "track/impossible_fix.h"

namespace tcmap {

namespace {

// A b-deck record of the fix would have fields 0 to 27 (the name).
constexpr int32_t kRecordFields = 28;

// A comma or tab inside a name would have split a b-deck record's fields;
// they stand as spaces.
std::string nameOf(std::string_view name) {
    std::string text(name);
    std::replace(text.begin(), text.end(), ',', ' ');
    std::replace(text.begin(), text.end(), '\t', ' ');
    return std::string(trimView(text));
}

bool hasRadius(const std::array<int32_t, 4>& quadrants) {
    return std::any_of(quadrants.begin(), quadrants.end(), [](int32_t r) { return r > 0; });
}

}  // namespace

ArchiveTrackBuilder::ArchiveTrackBuilder(std::string source, std::string agency) {
    track_.kind = TrackFileKind::BestTrackFile;
    track_.source = std::move(source);
    track_.agency = std::move(agency);
}

bool ArchiveTrackBuilder::add(const ArchiveFix& row, int64_t line) {
    const std::string_view basin = trimView(row.basin);
    const std::string_view number = trimView(row.number);
    const std::string_view dateTime = trimView(row.dateTime);
    const std::string_view minutes = trimView(row.minutes);
    const std::string_view type = trimView(row.type);
    const double latitude = static_cast<double>(row.latTenths) / 10.0;
    const double longitude = static_cast<double>(row.lonTenths) / 10.0;
    if (!impossibleFixReason(latitude, longitude, row.wind, row.pressure).empty()) return false;

    std::string key(dateTime);
    key += minutes;
    if (key != lastKey_) {
        Fix& fix = track_.fixes.emplace_back();
        fix.basin.assign(basin);
        fix.number.assign(number);
        fix.time = key;
        if (minutes.empty()) fix.time += "00";
        fix.aid = "BEST";
        fix.latitude = latitude;
        fix.longitude = longitude;
        fix.wind = sixDigitInteger(row.wind);
        fix.pressure = sixDigitInteger(row.pressure);
        fix.type.assign(type);
        fix.name = nameOf(row.name);
        fix.fields = kRecordFields;
        fix.line = line;
        lastKey_ = std::move(key);
    }

    // One row per threshold with a radius, or one without radii; a fix at
    // 0°N 0° gives none, like an aid without a position.
    if (row.latTenths != 0 || row.lonTenths != 0) {
        const std::string radiiKey = std::string(dateTime) + std::string(minutes) + "+0";
        RadiiLine radiiLine;
        radiiLine.key = radiiKey;
        radiiLine.latitude = latitude;
        radiiLine.longitude = longitude;
        radiiLine.wind = row.wind;
        radiiLine.type = type;
        radiiLine.rule = RadiiLine::Quadrants::Four;
        radiiLine.lastQuadrantGiven = true;
        bool any = false;
        for (size_t t = 0; t < row.radii.size(); ++t) {
            if (row.radiiThresholdsKt[t] < 1 || !hasRadius(row.radii[t])) continue;
            any = true;
            radiiLine.givesRadii = true;
            radiiLine.thresholdKt = row.radiiThresholdsKt[t];
            for (size_t q = 0; q < 4; ++q) radiiLine.quadrantsNm[q] = std::max(row.radii[t][q], 0);
            if (const auto radii = radii_.add(radiiLine))
                track_.fixes.back().radii.push_back(*radii);
        }
        if (!any) {
            radiiLine.givesRadii = false;
            radii_.add(radiiLine);
        }
    }

    const std::string statisticsType = toUpperAscii(type);
    std::string time(dateTime);
    if (minutes.size() < 2) time.append(2 - minutes.size(), '0');
    time += minutes;
    StatisticsRecord record;
    record.namesStorm = !basin.empty() || !number.empty();
    record.time = time;
    record.group = basinGroupOf(row.latTenths < 0, row.lonTenths < 0,
                                std::abs(static_cast<double>(row.lonTenths)) / 10.0);
    record.type = statisticsType;
    record.wind = row.wind;
    record.pressure = row.pressure;
    statistics_.add(record);
    return true;
}

Track ArchiveTrackBuilder::finish(std::string stormId, std::string name, std::string basin) {
    track_.radii = radii_.finish();
    track_.statistics = statistics_.result();
    track_.stormId = std::move(stormId);
    track_.name = std::move(name);
    track_.basin = std::move(basin);
    return std::move(track_);
}

}  // namespace tcmap
