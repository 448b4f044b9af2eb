#include "track/forecast.h"

#include "base/text_rules.h"
#include "track/field_text.h"
#include "track/record_fields.h"

namespace tcmap {

namespace {

// Field positions of an a-deck record.
using namespace atcf;

void appendLine(const RecordFields& fields, std::string& out) {
    out += fields.trimmed(kBasin);
    (out += fields.trimmed(kNumber)) += ' ';
    (out += fields.trimmed(kDateTime)) += ' ';
    ((out += "P+") += fields.trimmed(kForecastHour)) += ' ';
    (out += coordinateText(fields.trimmed(kLatitude), 'S')) += ' ';
    (out += coordinateText(fields.trimmed(kLongitude), 'W')) += ' ';
    if (fields.has(kWind)) (out += numberText(fields.trimmed(kWind))) += ' ';
    if (fields.has(kPressure)) (out += numberText(fields.trimmed(kPressure))) += ' ';
    if (fields.has(kType)) {
        const std::string_view type = fields.trimmed(kType);
        out += type.empty() ? std::string_view("XX") : type;
    }
    out += "\r\n";
}

}  // namespace

std::string readForecast(std::string_view fileText) {
    std::string out;
    // Consecutive records of one forecast hour (its 34, 50 and 64 kt rows)
    // give one line, built from the first of them.
    std::string lastHour;
    forEachRecordLine(fileText, [&](std::string_view line) {
        const RecordFields fields(line, kType + 1);
        if (fields.size() < 8 || hasNoPosition(fields)) return;
        const std::string_view hour = fields.trimmed(kForecastHour);
        if (hour != lastHour) appendLine(fields, out);
        lastHour.assign(hour);
    });
    return out;
}

}  // namespace tcmap
