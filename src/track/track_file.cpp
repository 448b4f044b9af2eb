#include "track/track_file.h"

#include <algorithm>

#include "base/file_io.h"
#include "base/text_rules.h"
#include "track/best_track.h"
#include "track/forecast.h"
#include "track/record_fields.h"
#include "track/storm_statistics.h"
#include "track/wind_radii.h"

namespace tcmap {

TrackFileKind trackFileKind(std::string_view path) {
    const size_t separator = path.find_last_of("/\\");
    if (separator == std::string_view::npos) return TrackFileKind::OtherFile;
    const std::string_view name = path.substr(separator + 1);
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return TrackFileKind::OtherFile;
    const std::string extension = toLowerAscii(name.substr(dot + 1));
    if (extension == "dat" || extension == "txt") return TrackFileKind::BestTrackFile;
    if (extension == "fst") return TrackFileKind::ForecastFile;
    return TrackFileKind::OtherFile;
}

namespace {

std::vector<std::string> trackLines(const std::string& trackText) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(std::count(trackText.begin(), trackText.end(), '\n')));
    PieceCursor cursor(trackText, "\r\n");
    std::string_view line;
    while (cursor.next(line)) lines.emplace_back(line);
    return lines;
}

}  // namespace

std::vector<std::string> loadTrackLines(const std::string& path, TrackFileKind kind,
                                        StormStatistics& run) {
    // One read serves both the statistics pass and the reader.
    const std::string bytes = readFileOrEmpty(path);
    const std::string_view text = textBeforeNul(bytes);
    std::string trackText;
    if (kind == TrackFileKind::ForecastFile) {
        trackText = readForecast(text);
    } else {
        accumulateStatistics(bytes, run);
        trackText = readBestTrack(text);
    }
    return trackLines(trackText);
}

std::vector<std::string> archiveStormLines(std::string_view records, StormStatistics& run) {
    accumulateStatistics(records, run);
    return trackLines(readBestTrack(records));
}

std::string archiveStormRadii(std::string_view records, int32_t radiiSetting, bool tcvRule) {
    if (radiiSetting < kAllFixes || radiiSetting > kTropicalFixes) return {};
    return readWindRadii(records, radiiSetting, tcvRule);
}

std::string loadRadiiText(const std::string& path, TrackFileKind kind, int32_t radiiSetting,
                          bool tcvRule) {
    if (radiiSetting < kAllFixes || radiiSetting > kTropicalFixes) return {};
    const int32_t selection =
        kind == TrackFileKind::ForecastFile && radiiSetting == kLastFixWithRadii ? kAllFixes
                                                                                 : radiiSetting;
    const std::string bytes = readFileOrEmpty(path);
    return readWindRadii(textBeforeNul(bytes), selection, tcvRule);
}

}  // namespace tcmap
