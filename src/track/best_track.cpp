#include "track/best_track.h"

#include "base/text_rules.h"
#include "track/field_text.h"
#include "track/record_fields.h"

namespace tcmap {

namespace {

using namespace atcf;

void appendLine(const RecordFields& fields, std::string& out) {
    out += fields.trimmed(kBasin);
    out += fields.trimmed(kNumber);
    out += ' ';
    if (fields.has(kSubregion)) out += fields.trimmed(kSubregion);
    out += ' ';
    out += fields.trimmed(kDateTime);
    const std::string_view minutes = fields.trimmed(kMinutes);
    out += minutes.empty() ? std::string_view("00") : minutes;
    out += ' ';
    if (fields.has(kLatitude)) (out += coordinateText(fields.trimmed(kLatitude), 'S')) += ' ';
    if (fields.has(kLongitude)) (out += coordinateText(fields.trimmed(kLongitude), 'W')) += ' ';
    if (fields.has(kWind)) (out += numberText(fields.trimmed(kWind))) += ' ';
    if (fields.has(kPressure)) (out += numberText(fields.trimmed(kPressure))) += ' ';
    if (fields.has(kType)) (out += fields.trimmed(kType)) += ' ';
    if (fields.has(kName)) {
        (out += fields.trimmed(kName)) += ' ';
        (out += fields.trimmed(kGust)) += ' ';
    }
    out += "\r\n";
}

}  // namespace

std::string readBestTrack(std::string_view fileText) {
    std::string out;
    // The fix key (date-time and minutes) of the last line written. Only the
    // first record of a fix time is written; the others carry further radii.
    std::string lastKey;
    std::string key;
    forEachRecordLine(fileText, [&](std::string_view line) {
        const RecordFields fields(line, kName + 1);
        if (fields.size() < 4) return;
        key.assign(fields.trimmed(kDateTime));
        key += fields.trimmed(kMinutes);
        if (key == lastKey) return;
        appendLine(fields, out);
        lastKey.swap(key);
    });
    return out;
}

}  // namespace tcmap
