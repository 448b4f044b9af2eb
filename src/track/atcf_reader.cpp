#include "track/atcf_reader.h"

#include <string>

#include "base/compatibility.h"
#include "base/text_rules.h"
#include "track/impossible_fix.h"
#include "track/radii_grouping.h"
#include "track/record_fields.h"
#include "track/storm_statistics.h"

namespace tcmap {

namespace {

using namespace atcf;

// Fields 0 to 27 (the name) are all any rule reads.
constexpr size_t kFieldsRead = kName + 1;
// Fields a line needs to count for the radii and for the statistics.
constexpr size_t kRadiiFields = kFirstRadius + 4;
constexpr size_t kStatisticsFields = kWind + 1;
// Fields a forecast record needs to give a line at all.
constexpr size_t kForecastFields = kLongitude + 1;

int32_t fieldCount(const RecordFields& f) {
    return static_cast<int32_t>(f.size());
}

class AtcfTrackBuilder {
  public:
    explicit AtcfTrackBuilder(TrackFileKind kind) : forecast_(kind == TrackFileKind::ForecastFile) {
        track_.kind = kind;
        track_.agency = "ATCF";
    }

    void add(std::string_view line, int64_t lineNumber) {
        const RecordFields f(line, kFieldsRead);
        // A record with impossible values gives nothing: no fix, no radii, no
        // statistics.
        if (const std::string reason = impossibleValues(f); !reason.empty()) {
            track_.skipped.add(lineNumber, reason);
            return;
        }
        if (forecast_) {
            addForecastRecord(f, lineNumber);
        } else {
            addBestTrackRecord(f, lineNumber);
        }
        if (f.size() >= kRadiiFields && !hasNoPosition(f)) addRadiiLine(f);
        if (!forecast_ && f.size() >= kStatisticsFields) addStatistics(f);
    }

    Track finish() {
        track_.radii = radii_.finish();
        if (!forecast_) track_.statistics = statistics_.result();
        if (!track_.fixes.empty()) {
            const Fix& first = track_.fixes.front();
            track_.stormId = first.stormId();
            track_.basin = first.basin;
        }
        for (const Fix& fix : track_.fixes) {
            if (!fix.name.empty()) track_.name = fix.name;
        }
        return std::move(track_);
    }

    void skip(int64_t lineNumber, const std::string& reason) {
        track_.skipped.add(lineNumber, reason);
    }

  private:
    static std::string impossibleValues(const RecordFields& f) {
        if (!f.has(kLongitude) || hasNoPosition(f)) return {};
        for (const size_t field : {kLatitude, kLongitude}) {
            const std::string text = toLowerAscii(f.trimmed(field));
            if (text.find("nan") != std::string::npos || text.find("inf") != std::string::npos)
                return (field == kLatitude ? "latitude " : "longitude ") + text;
        }
        const int32_t wind = f.has(kWind) ? sixDigitInteger(f.trimmed(kWind)) : 0;
        const int32_t pressure = f.has(kPressure) ? sixDigitInteger(f.trimmed(kPressure)) : 0;
        return impossibleFixReason(tenthsValue(f.trimmed(kLatitude), 'S'),
                                   tenthsValue(f.trimmed(kLongitude), 'W'), wind, pressure);
    }

    // Only the first record of a fix time is a fix: the others carry further
    // radii. The time is compared with the last record that became a fix.
    void addBestTrackRecord(const RecordFields& f, int64_t lineNumber) {
        if (f.size() < 4) return;
        key_.assign(f.trimmed(kDateTime));
        key_ += f.trimmed(kMinutes);
        if (key_ == lastKey_) return;
        lastKey_.swap(key_);

        Fix& fix = newFix(f, lineNumber);
        if (f.has(kSubregion)) fix.subregion.assign(f.trimmed(kSubregion));
        const std::string_view minutes = f.trimmed(kMinutes);
        fix.time.assign(f.trimmed(kDateTime));
        fix.time += minutes.empty() ? std::string_view("00") : minutes;
        if (f.has(kLatitude)) fix.latitude = tenthsValue(f.trimmed(kLatitude), 'S');
        if (f.has(kLongitude)) fix.longitude = tenthsValue(f.trimmed(kLongitude), 'W');
        setIntensity(fix, f);
        if (f.has(kType)) fix.type.assign(f.trimmed(kType));
        if (f.has(kName)) {
            fix.name.assign(f.trimmed(kName));
            const std::string_view gust = f.trimmed(kGust);
            if (!gust.empty()) fix.gust = readInteger(gust);
        }
    }

    // Consecutive records of one forecast hour (its 34, 50 and 64 kt rows)
    // make one fix. Aids are not told apart.
    void addForecastRecord(const RecordFields& f, int64_t lineNumber) {
        if (f.size() < kForecastFields || hasNoPosition(f)) return;
        const std::string_view hour = f.trimmed(kForecastHour);
        const bool sameHour = hour == lastKey_;
        lastKey_.assign(hour);
        if (sameHour) return;

        Fix& fix = newFix(f, lineNumber);
        fix.time.assign(f.trimmed(kDateTime));
        fix.forecastHour = readInteger(withoutHourPrefix(hour));
        fix.latitude = tenthsValue(f.trimmed(kLatitude), 'S');
        fix.longitude = tenthsValue(f.trimmed(kLongitude), 'W');
        setIntensity(fix, f);
        if (f.has(kType)) {
            const std::string_view type = f.trimmed(kType);
            fix.type.assign(type.empty() ? std::string_view("XX") : type);
        }
    }

    Fix& newFix(const RecordFields& f, int64_t lineNumber) {
        Fix& fix = track_.fixes.emplace_back();
        fix.basin.assign(f.trimmed(kBasin));
        fix.number.assign(f.trimmed(kNumber));
        fix.aid.assign(f.trimmed(kTechnique));
        fix.fields = fieldCount(f);
        fix.line = lineNumber;
        return fix;
    }

    static void setIntensity(Fix& fix, const RecordFields& f) {
        if (f.has(kWind)) fix.wind = sixDigitInteger(f.trimmed(kWind));
        if (f.has(kPressure)) fix.pressure = sixDigitInteger(f.trimmed(kPressure));
    }

    void addRadiiLine(const RecordFields& f) {
        radiiKey_.assign(f.trimmed(kDateTime));
        radiiKey_ += f.trimmed(kMinutes);
        radiiKey_ += '+';
        radiiKey_ += f.trimmed(kForecastHour);
        RadiiLine line;
        line.key = radiiKey_;
        const int32_t threshold = readInteger(f.trimmed(kThreshold));
        const std::string_view code = f.trimmed(kRadiusCode);
        line.givesRadii = threshold >= 1 && !code.empty();
        if (line.givesRadii) {
            line.latitude = tenthsValue(f.trimmed(kLatitude), 'S');
            line.longitude = tenthsValue(f.trimmed(kLongitude), 'W');
            line.wind = readInteger(f.trimmed(kWind));
            line.type = f.trimmed(kType);
            line.thresholdKt = threshold;
            if (code == "NEQ") {
                line.rule = RadiiLine::Quadrants::Four;
                for (size_t i = 0; i < 4; ++i) {
                    line.quadrantsNm[i] = readInteger(f.trimmed(kFirstRadius + i));
                }
                line.lastQuadrantGiven = !f.trimmed(kFirstRadius + 3).empty();
            } else if (code == "AAA") {
                line.rule = RadiiLine::Quadrants::One;
                line.quadrantsNm[0] = readInteger(f.trimmed(kFirstRadius));
                line.lastQuadrantGiven = !f.trimmed(kFirstRadius).empty();
            }
        }
        const std::optional<WindRadii> radii = radii_.add(line);
        if (radii && !track_.fixes.empty()) track_.fixes.back().radii.push_back(*radii);
    }

    void addStatistics(const RecordFields& f) {
        const std::string_view minutes = f.trimmed(kMinutes);
        statisticsTime_.assign(f.trimmed(kDateTime));
        if (minutes.size() < 2) statisticsTime_.append(2 - minutes.size(), '0');
        statisticsTime_ += minutes;
        statisticsType_ = toUpperAscii(f.trimmed(kType));
        StatisticsRecord record;
        record.namesStorm = !f.trimmed(kBasin).empty() || !f.trimmed(kNumber).empty();
        record.time = statisticsTime_;
        record.group = basinGroup(f.trimmed(kLatitude), f.trimmed(kLongitude));
        record.type = statisticsType_;
        record.wind = readInteger(f.trimmed(kWind));
        if (f.has(kPressure)) record.pressure = readInteger(f.trimmed(kPressure));
        statistics_.add(record);
    }

    bool forecast_;
    Track track_;
    std::string key_;
    std::string lastKey_;  // fix key of the last fix, or the last forecast hour
    std::string radiiKey_;
    RadiiGrouping radii_;
    StatisticsPass statistics_;
    std::string statisticsTime_;
    std::string statisticsType_;
};

}  // namespace

Track readAtcf(LineSource& lines, TrackFileKind kind) {
    AtcfTrackBuilder builder(kind);
    std::string_view line;
    while (lines.next(line)) {
        if (lines.lineHasNul()) {
            builder.skip(lines.lineNumber(), "a NUL byte");
        } else {
            builder.add(line, lines.lineNumber());
        }
    }
    return builder.finish();
}

Track readAtcfFile(const std::string& path, TrackFileKind kind) {
    FileLines lines(path);
    Track track = readAtcf(lines, kind);
    track.source = path;
    return track;
}

Track readAtcfText(std::string_view bytes, TrackFileKind kind) {
    TextLines lines(bytes);
    return readAtcf(lines, kind);
}

}  // namespace tcmap
