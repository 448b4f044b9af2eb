#include "track/storm_statistics.h"

#include "base/text_rules.h"
#include "track/atcf_reader.h"

namespace tcmap {

namespace {

char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool endsWithLetter(std::string_view field, char letter) {
    return !field.empty() && upperAscii(field.back()) == letter;
}

bool isNonTropicalType(std::string_view type) {
    return type == "MD" || type == "LO" || type == "DB" || type == "EX" || type == "WV" ||
           type == "PT" || type == "ET";
}

bool isSubtropicalType(std::string_view type) {
    return type == "SS" || type == "SD";
}

// Whether a fix counts towards the statistics under its basin's rule.
bool countsAsTropical(BasinGroup group, std::string_view type, int32_t wind) {
    if (wind < 24 || isNonTropicalType(type)) return false;
    switch (group) {
        case BasinGroup::NorthwestPacific:
            return !isSubtropicalType(type);
        case BasinGroup::AtlanticEastPacific:
            return true;
        case BasinGroup::IndianSouthern:
            return wind >= 34 && !isSubtropicalType(type);
    }
    return false;
}

}  // namespace

BasinGroup basinGroupOf(bool southern, bool western, double longitude) {
    if (!southern && !western) {
        return longitude - 100 < -kEpsilon ? BasinGroup::IndianSouthern
                                           : BasinGroup::NorthwestPacific;
    }
    if (!southern) {
        return longitude - 140 > kEpsilon ? BasinGroup::NorthwestPacific
                                          : BasinGroup::AtlanticEastPacific;
    }
    if (!western) return BasinGroup::IndianSouthern;
    return longitude - 60 > kEpsilon ? BasinGroup::IndianSouthern : BasinGroup::AtlanticEastPacific;
}

BasinGroup basinGroup(std::string_view latField, std::string_view lonField) {
    return basinGroupOf(endsWithLetter(latField, 'S'), endsWithLetter(lonField, 'W'),
                        readInteger(lonField) / 10.0);
}

void StatisticsPass::add(const StatisticsRecord& record) {
    namesStorm_ = record.namesStorm;
    if (record.time == previousTime_) return;
    previousTime_.assign(record.time);
    if (!countsAsTropical(record.group, record.type, record.wind)) return;
    const int32_t wind = record.wind;
    if (wind >= 34 && !isSubtropicalType(record.type) && isSynopticTime(record.time)) {
        const double share = wind / 100.0;
        ace_ += share * share;
    }
    if (wind > peakWind_) peakWind_ = wind;
    if (record.pressure) {
        const int32_t pressure = *record.pressure;
        if (pressure >= 1 && (pressure < lowestPressure_ || lowestPressure_ == 0)) {
            lowestPressure_ = pressure;
        }
    }
}

std::optional<StormStatistics> StatisticsPass::result() const {
    if (!namesStorm_) return std::nullopt;
    return StormStatistics{peakWind_, lowestPressure_, ace_};
}

void addToRun(StormStatistics& run, const StormStatistics& storm) {
    run.ace += storm.ace;
    if (storm.peakWind > run.peakWind) run.peakWind = storm.peakWind;
    if (storm.lowestPressure > 0 &&
        (storm.lowestPressure < run.lowestPressure || run.lowestPressure == 0)) {
        run.lowestPressure = storm.lowestPressure;
    }
}

void accumulateStatistics(std::string_view fileBytes, StormStatistics& run) {
    const Track track = readAtcfText(fileBytes, TrackFileKind::BestTrackFile);
    if (track.statistics) addToRun(run, *track.statistics);
}

}  // namespace tcmap
