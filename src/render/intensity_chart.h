// The intensity chart: each best track's wind (kt, left axis) and pressure
// (hPa, right axis) against time, over the category bands of the map's colour
// scale, drawn with the map's canvas and fonts as a picture of its own.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "i18n/language_pack.h"
#include "render/canvas/canvas.h"
#include "render/draw.h"
#include "track/track.h"

namespace tcmap {

// Hours since 1970-01-01 00 UTC of a time that starts "YYYYMMDDHH" (minutes,
// when given, count too); nothing for a shorter or malformed time.
std::optional<double> hoursOfTime(std::string_view time);

struct ChartPoint {
    double hours = 0;
    int32_t wind = 0;      // kt; 0: none given
    int32_t pressure = 0;  // hPa; 0: none given
};

struct ChartSeries {
    std::string label;  // "Ian (AL092022)"
    std::vector<ChartPoint> points;
};

// The series of the best tracks among `tracks`: one point per fix time with
// a valid time (a fix repeated for further radii adds nothing).
std::vector<ChartSeries> chartSeries(std::span<const std::shared_ptr<const Track>> tracks);

// The ranges of the axes: the time of the first and last point, the wind
// from 0 to the peak rounded up to 20 kt with room above it, and the pressure
// from the low rounded down to 10 hPa to the high rounded up.
struct ChartAxes {
    double firstHour = 0, lastHour = 0;
    int32_t windHigh = 160;
    int32_t pressureLow = 900, pressureHigh = 1020;
};

ChartAxes chartAxes(std::span<const ChartSeries> series);

// Where values land in a picture of `width` x `height`.
struct ChartFrame {
    double left = 0, top = 0, right = 0, bottom = 0;  // the plot area
    ChartAxes axes;

    double x(double hours) const;
    double windY(double kt) const;
    double pressureY(double hPa) const;
};

ChartFrame chartFrame(const ChartAxes& axes, int32_t width, int32_t height);

struct ChartRequest {
    std::vector<std::shared_ptr<const Track>> tracks;
    LanguagePack language{"", "en", "UTF-8", false};
    std::string textLanguage;
    bool tcv = false;       // the TCV colour scale for the bands, else the Wendrel one
    bool newColour = true;  // the Wendrel scale of 2023
    bool keepTape = false;  // record the drawing, for an SVG or PDF file
    int32_t width = 1600;
    int32_t height = 900;
    // As DrawRequest::openCanvas: tests draw on a recording canvas.
    std::function<std::shared_ptr<Canvas>(Picture& output)> openCanvas;
};

// The chart as a drawn map is handed over: picture, tape and messages. No
// best track with a usable time gives the outcome NoFix.
DrawResult drawIntensityChart(const ChartRequest& request);

}  // namespace tcmap
