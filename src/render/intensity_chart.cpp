#include "render/intensity_chart.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "base/text_rules.h"
#include "i18n/safe_format.h"
#include "render/canvas/cairo_canvas.h"
#include "render/canvas/drawing_tape.h"
#include "render/canvas/picture.h"
#include "render/layers/annotation_text.h"
#include "render/layers/colour_scales.h"
#include "render/layers/storm_names_layer.h"

namespace tcmap {

namespace {

constexpr Argb kBackground = 0xFF0F171F;
constexpr Argb kAxisText = 0xFFE0E0E0;
constexpr Argb kGridLine = 0x60FFFFFF;

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
int64_t daysFromCivil(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// "09-24" of the day that holds `hours`.
std::string dayText(double hours) {
    int64_t days = static_cast<int64_t>(std::floor(hours / 24));
    // Civil date of a day count (the inverse of daysFromCivil).
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    const int64_t day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const int64_t month = mp < 10 ? mp + 3 : mp - 9;
    char text[16];
    std::snprintf(text, sizeof text, "%02d-%02d", static_cast<int>(month), static_cast<int>(day));
    return text;
}

bool allDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// One colour per storm; the first is white, as the map's labels are.
constexpr std::array<Argb, 8> kSeriesColours = {0xFFFFFFFF, 0xFFFFD54F, 0xFF4FC3F7, 0xFFF06292,
                                                0xFFAED581, 0xFFFF8A65, 0xFFBA68C8, 0xFF90A4AE};

// The wind bands of the colour scale: their lower edges.
constexpr std::array<int32_t, 7> kBandFloors = {0, 34, 64, 83, 96, 113, 137};

class ChartPainter {
  public:
    ChartPainter(Canvas& canvas, const ChartFrame& frame) : canvas_(canvas), frame_(frame) {}

    void text(std::string_view text, double em, double x, double y, Argb colour,
              double anchor = 0) {
        CanvasFont font;
        font.create(kAnnotationFont, toSingle(em), 0, CanvasUnit::World);
        CanvasBrush brush;
        brush.setSolid(colour);
        const double left = x - anchor * estimatedTextWidth(text, em);
        canvas_.drawText(text, font, brush, RectF{toSingle(left), toSingle(y), 0, 0}, nullptr);
    }

    void line(double x1, double y1, double x2, double y2, Argb colour, double width,
              bool dashed = false) {
        CanvasPen pen;
        pen.create(colour, toSingle(width), CanvasUnit::World);
        pen.setCaps(cap::kRound, cap::kRound, cap::kRound);
        pen.setLineJoin(join::kRound);
        if (dashed) pen.setDashPattern({2.0f, 2.0f});
        canvas_.drawLine(pen, toSingle(x1), toSingle(y1), toSingle(x2), toSingle(y2));
    }

    void rectangle(double x, double y, double w, double h, Argb colour) {
        CanvasBrush brush;
        brush.setSolid(colour);
        canvas_.fillRectangle(brush, toSingle(x), toSingle(y), toSingle(w), toSingle(h));
    }

    void dot(double x, double y, double radius, Argb colour) {
        CanvasBrush brush;
        brush.setSolid(colour);
        canvas_.fillEllipse(brush, toSingle(x - radius), toSingle(y - radius), toSingle(2 * radius),
                            toSingle(2 * radius));
    }

  private:
    Canvas& canvas_;
    const ChartFrame& frame_;
};

void drawChart(Canvas& canvas, const ChartRequest& request, std::span<const ChartSeries> series,
               const ChartFrame& frame) {
    ChartPainter paint(canvas, frame);
    const ChartAxes& axes = frame.axes;
    const double em = std::min(request.width, request.height) / 45.0;
    const auto colourOf = [&request](int32_t wind) {
        return request.tcv ? tcvColour(std::max(wind, 1), "")
                           : wendrelColour(std::max(wind, 1), request.newColour);
    };

    // Category bands, the colour of the band's floor.
    for (size_t i = 0; i < kBandFloors.size(); ++i) {
        const int32_t floor = kBandFloors[i];
        if (floor >= axes.windHigh) break;
        const int32_t ceiling = i + 1 < kBandFloors.size()
                                    ? std::min(kBandFloors[i + 1], axes.windHigh)
                                    : axes.windHigh;
        const double top = frame.windY(ceiling);
        paint.rectangle(frame.left, top, frame.right - frame.left, frame.windY(floor) - top,
                        toArgb(colourOf(floor), 0x40));
    }

    // Wind grid every 20 kt (left), pressure numbers every 10 or 20 hPa (right).
    for (int32_t kt = 0; kt <= axes.windHigh; kt += 20) {
        const double y = frame.windY(kt);
        paint.line(frame.left, y, frame.right, y, kGridLine, 1);
        paint.text(std::to_string(kt), 0.8 * em, frame.left - 0.4 * em, y - 0.6 * em, kAxisText, 1);
    }
    const int32_t pressureStep = axes.pressureHigh - axes.pressureLow > 120 ? 20 : 10;
    for (int32_t hPa = axes.pressureLow; hPa <= axes.pressureHigh; hPa += pressureStep) {
        const double y = frame.pressureY(hPa);
        paint.line(frame.right, y, frame.right + 0.3 * em, y, kAxisText, 1);
        paint.text(std::to_string(hPa), 0.8 * em, frame.right + 0.5 * em, y - 0.6 * em, kAxisText);
    }

    // A tick and the date at each day's 00 UTC, thinned to fit.
    const double days = (axes.lastHour - axes.firstHour) / 24;
    const int dayStep = std::max(1, static_cast<int>(std::ceil(days / 16)));
    for (double hour = std::ceil(axes.firstHour / 24) * 24; hour <= axes.lastHour;
         hour += 24.0 * dayStep) {
        const double x = frame.x(hour);
        paint.line(x, frame.top, x, frame.bottom, kGridLine, 1);
        paint.text(dayText(hour), 0.8 * em, x, frame.bottom + 0.3 * em, kAxisText, 0.5);
    }
    paint.line(frame.left, frame.bottom, frame.right, frame.bottom, kAxisText, 1.5);
    paint.line(frame.left, frame.top, frame.left, frame.bottom, kAxisText, 1.5);
    paint.line(frame.right, frame.top, frame.right, frame.bottom, kAxisText, 1.5);

    const LanguagePack& lang = request.language;
    paint.text(lang.text(TextId::ChartWind), 0.9 * em, frame.left, frame.top - 1.4 * em, kAxisText);
    paint.text(lang.text(TextId::ChartPressure), 0.9 * em, frame.right, frame.top - 1.4 * em,
               kAxisText, 1);
    paint.text(lang.text(TextId::ChartTime), 0.9 * em, (frame.left + frame.right) / 2,
               frame.bottom + 1.6 * em, kAxisText, 0.5);

    // Each storm: pressure dashed beneath, wind solid with dots in the colour
    // of its intensity, and its name in the legend line at the top.
    double legendX = frame.left;
    for (size_t s = 0; s < series.size(); ++s) {
        const Argb colour = kSeriesColours[s % kSeriesColours.size()];
        const std::vector<ChartPoint>& points = series[s].points;
        const ChartPoint* previous = nullptr;
        for (const ChartPoint& point : points) {
            if (point.pressure <= 0) continue;
            if (previous != nullptr) {
                paint.line(frame.x(previous->hours), frame.pressureY(previous->pressure),
                           frame.x(point.hours), frame.pressureY(point.pressure),
                           (colour & 0x00FFFFFF) | 0xB0000000, 2, true);
            }
            previous = &point;
        }
        for (size_t i = 1; i < points.size(); ++i) {
            paint.line(frame.x(points[i - 1].hours), frame.windY(points[i - 1].wind),
                       frame.x(points[i].hours), frame.windY(points[i].wind), colour, 3);
        }
        for (const ChartPoint& point : points) {
            paint.dot(frame.x(point.hours), frame.windY(point.wind), 0.25 * em,
                      toArgb(colourOf(point.wind), 255));
        }
        paint.line(legendX, 0.9 * em, legendX + 1.5 * em, 0.9 * em, colour, 3);
        paint.text(series[s].label, 0.9 * em, legendX + 2 * em, 0.3 * em, colour);
        legendX += 2 * em + estimatedTextWidth(series[s].label, 0.9 * em) + em;
    }
}

}  // namespace

std::optional<double> hoursOfTime(std::string_view time) {
    if (time.size() < 10 || !allDigits(time.substr(0, 10))) return std::nullopt;
    const auto number = [&time](size_t at, size_t length) {
        return static_cast<int64_t>(readInteger(time.substr(at, length)));
    };
    const int64_t month = number(4, 2);
    const int64_t day = number(6, 2);
    const int64_t hour = number(8, 2);
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23) return std::nullopt;
    double hours = static_cast<double>(daysFromCivil(number(0, 4), month, day) * 24 + hour);
    if (time.size() >= 12 && allDigits(time.substr(10, 2))) hours += number(10, 2) / 60.0;
    return hours;
}

std::vector<ChartSeries> chartSeries(std::span<const std::shared_ptr<const Track>> tracks) {
    std::vector<ChartSeries> all;
    for (const std::shared_ptr<const Track>& track : tracks) {
        if (!track || track->kind != TrackFileKind::BestTrackFile) continue;
        ChartSeries series;
        MapStorm storm;
        storm.name = track->name;
        storm.stormId = track->fixes.empty()
                            ? track->stormId
                            : stormIdWithYear(track->stormId, track->fixes.front().time);
        series.label = stormNameText(storm);
        if (!storm.name.empty() && !storm.stormId.empty()) {
            series.label += " (" + storm.stormId + ")";
        }
        for (const Fix& fix : track->fixes) {
            const std::optional<double> hours = hoursOfTime(fix.time);
            if (!hours || !fix.hasWind()) continue;
            if (!series.points.empty() && series.points.back().hours >= *hours) continue;
            series.points.push_back({*hours, fix.wind, fix.hasPressure() ? fix.pressure : 0});
        }
        if (!series.points.empty()) all.push_back(std::move(series));
    }
    return all;
}

ChartAxes chartAxes(std::span<const ChartSeries> series) {
    ChartAxes axes;
    bool first = true;
    int32_t peak = 0;
    int32_t low = 0;
    int32_t high = 0;
    for (const ChartSeries& s : series) {
        for (const ChartPoint& p : s.points) {
            axes.firstHour = first ? p.hours : std::min(axes.firstHour, p.hours);
            axes.lastHour = first ? p.hours : std::max(axes.lastHour, p.hours);
            first = false;
            peak = std::max(peak, p.wind);
            if (p.pressure > 0) {
                low = low == 0 ? p.pressure : std::min(low, p.pressure);
                high = std::max(high, p.pressure);
            }
        }
    }
    axes.windHigh = std::max(60, (peak + 10 + 19) / 20 * 20);
    if (low > 0) {
        axes.pressureLow = (low - 5) / 10 * 10;
        axes.pressureHigh = std::max((high + 5 + 9) / 10 * 10, axes.pressureLow + 40);
    }
    if (axes.lastHour <= axes.firstHour) axes.lastHour = axes.firstHour + 6;
    return axes;
}

double ChartFrame::x(double hours) const {
    return left + (hours - axes.firstHour) / (axes.lastHour - axes.firstHour) * (right - left);
}

double ChartFrame::windY(double kt) const {
    return bottom - kt / axes.windHigh * (bottom - top);
}

double ChartFrame::pressureY(double hPa) const {
    return bottom -
           (hPa - axes.pressureLow) / (axes.pressureHigh - axes.pressureLow) * (bottom - top);
}

ChartFrame chartFrame(const ChartAxes& axes, int32_t width, int32_t height) {
    const double em = std::min(width, height) / 45.0;
    return {4 * em, 3.5 * em, width - 4.5 * em, height - 3.5 * em, axes};
}

DrawResult drawIntensityChart(const ChartRequest& request) {
    DrawResult result;
    const std::vector<ChartSeries> series = chartSeries(request.tracks);
    if (series.empty()) {
        result.messages.push_back({MessageKind::Warning, "no best track with times to chart", 0});
        return result;
    }
    Picture output;
    if (output.create(request.width, request.height, kBackground, kPngFormatId) != status::kOk) {
        result.outcome = DrawOutcome::PictureFailed;
        result.messages.push_back({MessageKind::Warning, "the chart picture could not be made", 0});
        return result;
    }
    std::shared_ptr<Canvas> canvas;
    if (request.openCanvas) {
        canvas = request.openCanvas(output);
    } else {
        auto cairo = std::make_shared<CairoCanvas>(output);
        cairo->setTextLanguage(request.textLanguage);
        canvas = cairo;
    }
    std::shared_ptr<DrawingTape> tape;
    if (request.keepTape) {
        tape = std::make_shared<DrawingTape>(request.width, request.height, request.textLanguage);
        Picture background;
        if (background.copyFrom(output)) {
            tape->setBackground(std::move(background), false);
            auto tapeCanvas = std::make_shared<TapeCanvas>(canvas, tape);
            tapeCanvas->startRecording();
            canvas = tapeCanvas;
        } else {
            tape.reset();
        }
    }
    const ChartFrame frame = chartFrame(chartAxes(series), request.width, request.height);
    drawChart(*canvas, request, series, frame);
    canvas.reset();
    result.outcome = DrawOutcome::Drawn;
    result.picture = std::move(output);
    result.tape = std::move(tape);
    return result;
}

}  // namespace tcmap
