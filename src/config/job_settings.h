// The drawing settings a job reads from Settings.ini when it starts, for the
// active render style.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tcmap {

struct JobSettings {
    double trackWidth = 0.05;    // Track / Track1
    double pointSize = 0.4;      // Point
    int32_t marginX = 360;       // WidthSpace / WidthSpace1
    int32_t marginY = 270;       // HeightSpace / HeightSpace1
    int32_t minWidth = 1920;     // Width / Width1
    int32_t minHeight = 1080;    // Height / Height1
    int32_t priority = 0;        // Priority: 0 together, 1 markers on top, 2 by intensity
    bool skipInvest = true;      // SkipInvest / SkipInvest1 == "1"
    bool newColour = true;       // NewColor == "1"
    int32_t legendPosition = 0;  // DrawLegends / DrawLegends1
    int32_t multipleFile = 0;    // MultipleFile / MultipleFile1
    bool allPoints = false;      // AllPoints / AllPoints1 >= 1
    bool showText = true;        // ShowText1 >= 1
    bool showGrid = false;       // ShowGrid / ShowGrid1 >= 1
    int32_t drawRad = 0;         // DrawRad / DrawRad1
    std::string timeFormat;      // [TextFormat] Time, backslash-n already CR LF
    std::string forecastFormat;  // [TextFormat] Forecast, backslash-n already CR LF
    std::string archiveYears;    // [Archive] Years / Years1
    std::string archiveBasins;   // [Archive] Basins / Basins1
    std::string archiveStorms;   // [Archive] Storms / Storms1
};

JobSettings readJobSettings(const std::string& settingsPath, bool tcvStyle);

// Every backslash followed by n or N becomes CR LF.
std::string expandLineBreaks(std::string_view format);

}  // namespace tcmap
