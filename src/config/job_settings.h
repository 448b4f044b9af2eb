// The drawing settings a job reads from Settings.ini when it starts, for the
// active render style.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "config/agency_settings.h"
#include "config/annotation_settings.h"

namespace tcmap {

// How the Wendrel-style fix markers are drawn (Priority): with their lines,
// on top of all lines, or on top sorted by intensity. A stored value the
// settings window never writes draws no markers at all, as it always has.
enum class MarkerOrder { WithTracks, OnTop, ByIntensity, None };
// Which fixes get wind radii (DrawRad).
enum class RadiiChoice { None = 0, AllFixes = 1, LastFix = 2, TropicalPart = 3 };
// Where the colour-scale legend goes (DrawLegends).
enum class LegendCorner {
    None = 0,
    UpperLeft = 1,
    LowerLeft = 2,
    UpperRight = 3,
    LowerRight = 4,
    Automatic = 5
};
// How the frame of a Normal job follows several files (MultipleFile): it
// covers all of them, starts again at each file, or shrinks to the last fix.
enum class FrameReset { None, EachFile, LastFixOnly };

// The stored integers as the job has always read them.
MarkerOrder markerOrderOf(int32_t priority);
RadiiChoice radiiChoiceOf(int32_t drawRad);
LegendCorner legendCornerOf(int32_t drawLegends);
FrameReset frameResetOf(int32_t multipleFile);

struct JobSettings {
    double trackWidth = 0.05;                           // Track / Track1
    double pointSize = 0.4;                             // Point
    int32_t marginX = 360;                              // WidthSpace / WidthSpace1
    int32_t marginY = 270;                              // HeightSpace / HeightSpace1
    int32_t minWidth = 1920;                            // Width / Width1
    int32_t minHeight = 1080;                           // Height / Height1
    MarkerOrder markerOrder = MarkerOrder::WithTracks;  // Priority
    bool skipInvest = true;                             // SkipInvest / SkipInvest1 == "1"
    bool newColour = true;                              // NewColor == "1"
    LegendCorner legendCorner = LegendCorner::None;     // DrawLegends / DrawLegends1
    FrameReset frameReset = FrameReset::None;           // MultipleFile / MultipleFile1
    bool allPoints = false;                             // AllPoints / AllPoints1 >= 1
    bool showText = true;                               // ShowText1 >= 1
    bool showGrid = false;                              // ShowGrid / ShowGrid1 >= 1
    RadiiChoice radii = RadiiChoice::None;              // DrawRad / DrawRad1
    std::string timeFormat;             // [TextFormat] Time, backslash-n already CR LF
    std::string forecastFormat;         // [TextFormat] Forecast, backslash-n already CR LF
    std::string archiveYears;           // [Archive] Years / Years1
    std::string archiveBasins;          // [Archive] Basins / Basins1
    std::string archiveStorms;          // [Archive] Storms / Storms1
    std::string forecastCycle = "all";  // [Forecast] Cycle: all, latest, YYYYMMDDHH
    std::string forecastAids = "all";   // [Forecast] Aids: names and groups
    bool earlyAids = true;              // [Forecast] EarlyAids
    bool cone = false;                  // [Forecast] Cone
    std::string coneAid;                // [Forecast] ConeAid; empty: the basin's official aid
    bool swath = false;                 // [Forecast] Swath
    bool vectorLand = false;            // [Borvane4] VectorLand
    AnnotationSettings annotations;     // [Annotations], both styles
    AgencySettings agencies;            // [Agencies], both styles
};

JobSettings readJobSettings(const std::string& settingsPath, bool tcvStyle);
// The same with the command line's values in place of the file's.
JobSettings readJobSettings(const SettingsSource& source, bool tcvStyle);

// Every backslash followed by n or N becomes CR LF.
std::string expandLineBreaks(std::string_view format);

}  // namespace tcmap
