#include "track/storm_statistics.h"

#include <string>

#include "base/text_rules.h"
#include "track/record_fields.h"

namespace tcmap {

namespace {

using namespace atcf;

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

// The fix time: date-time, then the minutes padded to two digits.
void buildFixTime(const RecordFields& fields, std::string& time) {
    const std::string_view minutes = fields.trimmed(kMinutes);
    time.assign(fields.trimmed(kDateTime));
    if (minutes.size() < 2) time.append(2 - minutes.size(), '0');
    time += minutes;
}

}  // namespace

BasinGroup basinGroup(std::string_view latField, std::string_view lonField) {
    const bool southern = endsWithLetter(latField, 'S');
    const bool western = endsWithLetter(lonField, 'W');
    const double longitude = readInteger(lonField) / 10.0;
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

void accumulateStatistics(std::string_view fileBytes, StormStatistics& run) {
    double fileAce = 0.0;
    int32_t filePeakWind = 0;
    int32_t fileLowestPressure = 0;
    // Whether the last usable record had a basin or a number: only then is
    // the file added to the run.
    bool hasStormId = false;
    std::string previousTime;
    std::string time;
    std::string type;

    forEachRecordLine(textBeforeNul(fileBytes), [&](std::string_view line) {
        const RecordFields fields(line, kType + 1);
        if (fields.size() < 9) return;
        hasStormId = !fields.trimmed(kBasin).empty() || !fields.trimmed(kNumber).empty();
        buildFixTime(fields, time);
        if (time != previousTime) {
            const BasinGroup group =
                basinGroup(fields.trimmed(kLatitude), fields.trimmed(kLongitude));
            type.assign(fields.trimmed(kType));
            for (char& c : type) c = upperAscii(c);
            const int32_t wind = readInteger(fields.trimmed(kWind));
            if (countsAsTropical(group, type, wind)) {
                if (wind >= 34 && !isSubtropicalType(type) && isSynopticTime(time)) {
                    const double share = wind / 100.0;
                    fileAce += share * share;
                }
                if (wind > filePeakWind) filePeakWind = wind;
                if (fields.has(kPressure)) {
                    const int32_t pressure = readInteger(fields.trimmed(kPressure));
                    if (pressure >= 1 &&
                        (pressure < fileLowestPressure || fileLowestPressure == 0)) {
                        fileLowestPressure = pressure;
                    }
                }
            }
        }
        previousTime.swap(time);
    });

    if (!hasStormId) return;
    run.ace += fileAce;
    if (filePeakWind > run.peakWind) run.peakWind = filePeakWind;
    if (fileLowestPressure > 0 &&
        (fileLowestPressure < run.lowestPressure || run.lowestPressure == 0)) {
        run.lowestPressure = fileLowestPressure;
    }
}

}  // namespace tcmap
