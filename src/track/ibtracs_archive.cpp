#include "track/ibtracs_archive.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <optional>

#include "base/text_rules.h"
#include "track/archive_fields.h"

namespace tcmap {

namespace {

enum Column : size_t {
    kSid,
    kSeason,
    kNumber,
    kBasin,
    kName,
    kIsoTime,
    kNature,
    kLat,
    kLon,
    kWmoWind,
    kWmoPres,
    kTrackType,
    kUsaAtcfId,
    kUsaLat,
    kUsaLon,
    kUsaStatus,
    kUsaWind,
    kUsaPres,
    kFirstRadius,  // USA_R34_NE ... USA_R64_NW, twelve columns
    kColumnCount = kFirstRadius + 12,
};

constexpr std::array<std::string_view, kFirstRadius> kColumnNames{
    "SID",         "SEASON",  "NUMBER",  "BASIN",      "NAME",     "ISO_TIME",
    "NATURE",      "LAT",     "LON",     "WMO_WIND",   "WMO_PRES", "TRACK_TYPE",
    "USA_ATCF_ID", "USA_LAT", "USA_LON", "USA_STATUS", "USA_WIND", "USA_PRES"};
constexpr std::array<std::string_view, 3> kThresholdNames{"34", "50", "64"};
constexpr std::array<std::string_view, 4> kQuadrantNames{"NE", "SE", "SW", "NW"};

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

// "2015-10-20 06:00:00" -> "2015102006" and "00".
bool readIsoTime(std::string_view text, std::string& dateTime, std::string& minutes) {
    text = trimView(text);
    if (text.size() < 16) return false;
    const std::string_view y = text.substr(0, 4), mo = text.substr(5, 2), d = text.substr(8, 2),
                           h = text.substr(11, 2), mi = text.substr(14, 2);
    if (!allDigits(y) || !allDigits(mo) || !allDigits(d) || !allDigits(h) || !allDigits(mi)) {
        return false;
    }
    dateTime.clear();
    dateTime.append(y).append(mo).append(d).append(h);
    minutes.assign(mi);
    return true;
}

double longitudeInRange(double lon) {
    while (lon > 180) lon -= 360;
    while (lon < -180) lon += 360;
    return lon;
}

int32_t roundedInteger(std::optional<double> value) {
    return value && std::abs(*value) < 1e6 ? static_cast<int32_t>(std::lround(*value)) : 0;
}

}  // namespace

std::string atcfBasinOfIbtracs(std::string_view basin) {
    const std::string upper = toUpperAscii(trimView(basin));
    if (upper == "NA") return "AL";
    if (upper == "NI") return "IO";
    if (upper == "SI" || upper == "SP") return "SH";
    if (upper == "SA") return "SL";
    return upper;
}

std::string_view typeFromNature(std::string_view nature, int32_t wind) {
    const std::string upper = toUpperAscii(trimView(nature));
    if (upper == "TS") return wind < 34 ? "TD" : wind < 64 ? "TS" : "HU";
    if (upper == "ET") return "EX";
    if (upper == "SS") return wind < 34 ? "SD" : "SS";
    if (upper == "DS") return "DB";
    return "XX";
}

IbtracsArchive::IbtracsArchive(const std::string& path, const ArchiveSelection& selection,
                               bool agencyTracks)
    : ArchiveReader(path, selection), columns_(kColumnCount, -1) {
    std::string_view header;
    if (!nextLine(header)) return;
    const CsvColumns columns(header);
    if (agencyTracks) {
        for (const std::string_view agency : ibtracsAgencies()) {
            IbtracsAgencyColumns found(columns, agency);
            if (found.present()) agencies_.push_back(found);
        }
    }
    for (size_t i = 0; i < kColumnNames.size(); ++i) columns_[i] = columns.find(kColumnNames[i]);
    for (size_t t = 0; t < 3; ++t) {
        for (size_t q = 0; q < 4; ++q) {
            const std::string name =
                "USA_R" + std::string(kThresholdNames[t]) + "_" + std::string(kQuadrantNames[q]);
            columns_[kFirstRadius + t * 4 + q] = columns.find(name);
        }
    }
}

// The fields of the current row, blank when the row is shorter than the
// header says or the header has no such column.
bool IbtracsArchive::readRow(ArchiveFix& fix, std::string& usaId) const {
    const auto field = [this](size_t column) -> std::string_view {
        const int at = columns_[column];
        return at >= 0 && static_cast<size_t>(at) < fields_.size() ? trimView(fields_[at])
                                                                   : std::string_view();
    };
    if (!readIsoTime(field(kIsoTime), fix.dateTime, fix.minutes)) return false;
    std::optional<double> lat = strictNumber(field(kUsaLat));
    std::optional<double> lon = strictNumber(field(kUsaLon));
    if (!lat || !lon) {
        lat = strictNumber(field(kLat));
        lon = strictNumber(field(kLon));
    }
    if (!lat || !lon || std::abs(*lat) > 90 || std::abs(*lon) > 720) return false;
    fix.latTenths = static_cast<int32_t>(std::lround(*lat * 10));
    fix.lonTenths = static_cast<int32_t>(std::lround(longitudeInRange(*lon) * 10));

    std::optional<double> wind = strictNumber(field(kUsaWind));
    if (!wind) wind = strictNumber(field(kWmoWind));
    std::optional<double> pressure = strictNumber(field(kUsaPres));
    if (!pressure) pressure = strictNumber(field(kWmoPres));
    fix.wind = roundedInteger(wind);
    fix.pressure = roundedInteger(pressure);

    const std::string_view status = field(kUsaStatus);
    fix.type.assign(status.empty() ? typeFromNature(field(kNature), fix.wind) : status);

    usaId.assign(field(kUsaAtcfId));
    if (usaId.size() >= 4) {
        fix.basin = toUpperAscii(std::string_view(usaId).substr(0, 2));
        fix.number = usaId.substr(2, 2);
    } else {
        fix.basin = atcfBasinOfIbtracs(field(kBasin));
        const std::string_view number = field(kNumber);
        fix.number = number.size() >= 2 ? std::string(number.substr(number.size() - 2))
                                        : "0" + std::string(number.empty() ? "0" : number);
    }
    fix.name.assign(field(kName));
    for (size_t i = 0; i < 12; ++i) {
        fix.radii[i / 4][i % 4] =
            std::max(0, roundedInteger(strictNumber(field(kFirstRadius + i))));
    }
    return true;
}

bool IbtracsArchive::next(ArchiveStorm& storm) {
    if (columns_[kSid] < 0 || columns_[kIsoTime] < 0) return false;
    storm = ArchiveStorm{};
    std::string sid;
    std::string usaId;
    ArchiveFix fix;
    ArchiveTrackBuilder builder(path_, "IBTrACS");
    // Built as an agency's first row of the storm comes.
    std::vector<std::optional<ArchiveTrackBuilder>> agencyBuilders(agencies_.size());
    ArchiveFix agencyFix;
    bool haveStorm = false;
    std::string_view line;
    while (nextLine(line)) {
        splitCsv(line, fields_);
        const int sidAt = columns_[kSid];
        const std::string_view rowSid =
            static_cast<size_t>(sidAt) < fields_.size() ? trimView(fields_[sidAt]) : "";
        if (!started_) {
            started_ = true;
            if (rowSid.empty()) continue;  // the units row under the header
        }
        if (trimView(line).empty()) continue;
        if (rowSid.empty()) {
            problems_.skipRow(lines_.lineNumber());
            continue;
        }
        const int trackAt = columns_[kTrackType];
        if (trackAt >= 0 && static_cast<size_t>(trackAt) < fields_.size() &&
            toLowerAscii(trimView(fields_[trackAt])).starts_with("spur")) {
            continue;  // a spur track beside the main one
        }
        if (haveStorm && rowSid != sid) {
            unread();
            break;
        }
        if (!readRow(fix, usaId)) {
            problems_.skipRow(lines_.lineNumber());
            continue;
        }
        if (!haveStorm) {
            haveStorm = true;
            sid.assign(rowSid);
            storm.key.ids = {sid};
            const int seasonAt = columns_[kSeason];
            const auto season = seasonAt >= 0 && static_cast<size_t>(seasonAt) < fields_.size()
                                    ? strictInteger(fields_[seasonAt])
                                    : std::nullopt;
            storm.key.year =
                season ? *season : readInteger(std::string_view(fix.dateTime).substr(0, 4));
            storm.key.basin = fix.basin;
            storm.key.name = fix.name;
        }
        if (!usaId.empty() &&
            std::find(storm.key.ids.begin(), storm.key.ids.end(), usaId) == storm.key.ids.end()) {
            storm.key.ids.push_back(usaId);
        }
        if (!builder.add(fix, lines_.lineNumber())) problems_.skipRow(lines_.lineNumber());
        const int natureAt = columns_[kNature];
        const std::string_view nature =
            natureAt >= 0 && static_cast<size_t>(natureAt) < fields_.size() ? fields_[natureAt]
                                                                            : std::string_view();
        for (size_t a = 0; a < agencies_.size(); ++a) {
            agencyFix = fix;
            if (!agencies_[a].read(fields_, nature, agencyFix)) continue;
            if (!agencyBuilders[a]) {
                agencyBuilders[a].emplace(path_, std::string(agencies_[a].agency()));
            }
            agencyBuilders[a]->add(agencyFix, lines_.lineNumber());
        }
    }
    if (!haveStorm) return false;
    // The ids of a storm are known only once all its rows are read.
    storm.selected = selection_.matches(storm.key);
    if (storm.selected) {
        storm.track = builder.finish(sid, storm.key.name, storm.key.basin);
        for (std::optional<ArchiveTrackBuilder>& agency : agencyBuilders) {
            if (agency)
                storm.agencyTracks.push_back(agency->finish(sid, storm.key.name, storm.key.basin));
        }
    }
    return true;
}

}  // namespace tcmap
