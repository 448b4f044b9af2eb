#include "config/job_settings.h"

#include <algorithm>

#include "base/line_break_escapes.h"
#include "base/text_rules.h"
#include "config/settings_keys.h"
#include "config/settings_source.h"

namespace tcmap {

namespace {

// Track width and point size beyond this (degrees or pixels) already cover
// any picture; larger values would only make the 2D library trace giant
// circles for minutes.
constexpr double kMaxDrawingSize = 1e6;

double drawingSize(double value) {
    return std::clamp(value, -kMaxDrawingSize, kMaxDrawingSize);
}

// One settings file, read key by key; the style picks the key of a pair.
class SettingsReader {
  public:
    SettingsReader(const SettingsSource& source, bool tcv) : source_(source), tcv_(tcv) {}

    std::string text(const SettingKey& wendrel, const SettingKey& tcv) const {
        return source_.read(tcv_ ? tcv : wendrel);
    }
    std::string text(const SettingKey& both) const { return source_.read(both); }

    double number(const SettingKey& wendrel, const SettingKey& tcv) const {
        return readNumber(text(wendrel, tcv));
    }
    int32_t integer(const SettingKey& wendrel, const SettingKey& tcv) const {
        return readInteger(text(wendrel, tcv));
    }
    // Check boxes stored as "1" / "0".
    bool exactlyOne(const SettingKey& wendrel, const SettingKey& tcv) const {
        return text(wendrel, tcv) == "1";
    }
    bool atLeastOne(const SettingKey& wendrel, const SettingKey& tcv) const {
        return integer(wendrel, tcv) >= 1;
    }

  private:
    const SettingsSource& source_;
    bool tcv_;
};

}  // namespace

MarkerOrder markerOrderOf(int32_t priority) {
    switch (priority) {
        case 0:
            return MarkerOrder::WithTracks;
        case 1:
            return MarkerOrder::OnTop;
        case 2:
            return MarkerOrder::ByIntensity;
        default:
            return MarkerOrder::None;
    }
}

RadiiChoice radiiChoiceOf(int32_t drawRad) {
    return drawRad >= 1 && drawRad <= 3 ? static_cast<RadiiChoice>(drawRad) : RadiiChoice::None;
}

LegendCorner legendCornerOf(int32_t drawLegends) {
    if (drawLegends <= 0) return LegendCorner::None;
    return drawLegends >= 5 ? LegendCorner::Automatic : static_cast<LegendCorner>(drawLegends);
}

FrameReset frameResetOf(int32_t multipleFile) {
    if (multipleFile == 1) return FrameReset::EachFile;
    return multipleFile == 2 ? FrameReset::LastFixOnly : FrameReset::None;
}

JobSettings readJobSettings(const std::string& settingsPath, bool tcvStyle) {
    return readJobSettings(SettingsSource{settingsPath, {}}, tcvStyle);
}

JobSettings readJobSettings(const SettingsSource& source, bool tcvStyle) {
    namespace k = settings;
    const SettingsReader read(source, tcvStyle);
    JobSettings s;
    s.trackWidth = drawingSize(read.number(k::kTrack, k::kTrack1));
    s.pointSize = drawingSize(readNumber(read.text(k::kPoint)));
    s.marginX = read.integer(k::kWidthSpace, k::kWidthSpace1);
    s.marginY = read.integer(k::kHeightSpace, k::kHeightSpace1);
    s.minWidth = read.integer(k::kWidth, k::kWidth1);
    s.minHeight = read.integer(k::kHeight, k::kHeight1);
    s.markerOrder = markerOrderOf(readInteger(read.text(k::kPriority)));
    s.skipInvest = read.exactlyOne(k::kSkipInvest, k::kSkipInvest1);
    s.newColour = read.text(k::kNewColor) == "1";
    s.legendCorner = legendCornerOf(read.integer(k::kDrawLegends, k::kDrawLegends1));
    s.frameReset = frameResetOf(read.integer(k::kMultipleFile, k::kMultipleFile1));
    s.allPoints = read.atLeastOne(k::kAllPoints, k::kAllPoints1);
    s.showText = readInteger(read.text(k::kShowText1)) >= 1;
    s.showGrid = read.atLeastOne(k::kShowGrid, k::kShowGrid1);
    s.radii = radiiChoiceOf(read.integer(k::kDrawRad, k::kDrawRad1));
    s.timeFormat = expandLineBreaks(read.text(k::kTimeFormat));
    s.forecastFormat = expandLineBreaks(read.text(k::kForecastFormat));
    s.archiveYears = read.text(k::kYears, k::kYears1);
    s.archiveBasins = read.text(k::kBasins, k::kBasins1);
    s.archiveStorms = read.text(k::kStorms, k::kStorms1);
    s.forecastCycle = read.text(k::kForecastCycle);
    s.forecastAids = read.text(k::kForecastAids);
    s.earlyAids = read.text(k::kEarlyAids) == "1";
    s.cone = read.text(k::kCone) == "1";
    s.coneAid = read.text(k::kConeAid);
    s.swath = read.text(k::kSwath) == "1";
    s.vectorLand = read.text(k::kVectorLand) == "1";
    s.annotations = readAnnotationSettings(source);
    s.agencies = readAgencySettings(source);
    return s;
}

std::string expandLineBreaks(std::string_view format) {
    return expandLineBreakEscapes(format);
}

}  // namespace tcmap
