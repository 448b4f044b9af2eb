#include "track/track_text.h"

#include "base/compatibility.h"
#include "track/wind_radii.h"

namespace tcmap {

namespace {

std::string bestTrackLine(const Fix& fix) {
    std::string line = fix.stormId() + ' ';
    if (fix.hasSubregion()) line += fix.subregion;
    line += ' ';
    line += fix.time;
    line += ' ';
    if (fix.hasLatitude()) (line += degreesText(fix.latitude)) += ' ';
    if (fix.hasLongitude()) (line += degreesText(fix.longitude)) += ' ';
    if (fix.hasWind()) (line += sixDigitTextOf(fix.wind)) += ' ';
    if (fix.hasPressure()) (line += sixDigitTextOf(fix.pressure)) += ' ';
    if (fix.hasType()) (line += fix.type) += ' ';
    if (fix.hasName()) {
        (line += fix.name) += ' ';
        if (fix.gust) line += std::to_string(*fix.gust);
        line += ' ';
    }
    return line;
}

std::string forecastLine(const Fix& fix) {
    std::string line = fix.stormId() + ' ' + fix.time + " P+" + std::to_string(fix.forecastHour);
    line += ' ';
    (line += degreesText(fix.latitude)) += ' ';
    (line += degreesText(fix.longitude)) += ' ';
    if (fix.hasWind()) (line += sixDigitTextOf(fix.wind)) += ' ';
    if (fix.hasPressure()) (line += sixDigitTextOf(fix.pressure)) += ' ';
    if (fix.hasType()) line += fix.type;
    return line;
}

std::string radiiLine(const RadiiRecord& record) {
    std::string line =
        record.key + ' ' + degreesText(record.latitude) + ' ' + degreesText(record.longitude) + ' ';
    for (size_t i = 0; i < record.rows.size(); ++i) {
        const RadiiRow& row = record.rows[i];
        if (i > 0) line += ' ';
        if (row.thresholdKt == 0) continue;  // a line without radii
        line += std::to_string(row.thresholdKt);
        line += ' ';
        for (size_t q = 0; q < 4; ++q) {
            if (q > 0) line += ',';
            line += std::to_string(row.quadrantsNm[q]);
        }
    }
    return line;
}

}  // namespace

std::vector<std::string> trackTextLines(const Track& track) {
    std::vector<std::string> lines;
    lines.reserve(track.fixes.size());
    const bool forecast = track.kind == TrackFileKind::ForecastFile;
    for (const Fix& fix : track.fixes) {
        lines.push_back(forecast ? forecastLine(fix) : bestTrackLine(fix));
    }
    return lines;
}

std::string radiiText(const Track& track, int32_t radiiSetting, bool tcvRule) {
    std::string text;
    for (const RadiiRecord* record : selectRadii(track, radiiSetting, tcvRule)) {
        (text += radiiLine(*record)) += "\r\n";
    }
    return text;
}

}  // namespace tcmap
