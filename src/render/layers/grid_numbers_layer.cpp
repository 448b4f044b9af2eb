#include "render/layers/grid_numbers_layer.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/text_rules.h"
#include "render/layers/draw_status.h"
#include "render/layers/legend_layer.h"
#include "render/layers/title_block.h"

namespace tcmap {

namespace {

constexpr std::string_view kDegree = "\xC2\xB0";  // "°"

// Numbers are a little smaller than the legend: a sixtieth of the shorter side.
double gridNumberEm(const OutputGeometry& frame) {
    return std::min(frame.outputWidth, frame.outputHeight) / 60.0;
}

std::string wholeDegrees(double value) {
    return std::to_string(std::lround(std::fabs(value))) + std::string(kDegree);
}

}  // namespace

std::string longitudeText(double longitude) {
    double east = std::fmod(longitude, 360.0);
    if (east < 0) east += 360.0;
    const long rounded = std::lround(east) % 360;
    if (rounded == 0 || rounded == 180) return wholeDegrees(static_cast<double>(rounded));
    return rounded < 180 ? wholeDegrees(static_cast<double>(rounded)) + "E"
                         : wholeDegrees(360.0 - static_cast<double>(rounded)) + "W";
}

std::string latitudeText(double latitude) {
    const long rounded = std::lround(latitude);
    if (rounded == 0) return wholeDegrees(0);
    return wholeDegrees(static_cast<double>(rounded)) + (rounded > 0 ? "N" : "S");
}

int gridNumberStep(double pixelsPerDegree, double minimumPixels) {
    constexpr std::array<int, 10> kSteps = {1, 2, 5, 10, 15, 20, 30, 45, 60, 90};
    for (const int step : kSteps) {
        if (step * pixelsPerDegree >= minimumPixels) return step;
    }
    return kSteps.back();
}

std::vector<EdgeNumber> gridNumbers(const OutputGeometry& frame, double em) {
    std::vector<EdgeNumber> numbers;
    if (frame.mapWidth <= 0 || frame.outputWidth <= 0 || frame.outputHeight <= 0 || em <= 0) {
        return numbers;
    }
    // The grid's own scale (W / 360 on both axes), so numbers sit on its lines.
    const double perDegree = frame.mapWidth / 360.0;
    const double width = frame.outputWidth;
    const double height = frame.outputHeight;
    const double pad = em / 3;
    const double lineHeight = 1.25 * em;
    // The widest texts: "180°" and "120°W" (five code-page bytes with the
    // degree sign counted as two), "80°S".
    const double lonRoom = estimatedTextWidth("120\xC2\xB0W", em);
    const double latRoom = estimatedTextWidth("80\xC2\xB0S", em);

    // Longitudes along the bottom edge, centred on their lines, clear of the
    // latitude column.
    const int lonStep = gridNumberStep(perDegree, 1.6 * lonRoom);
    const double firstLon = (0 - frame.marginX + frame.minX) / perDegree;
    const double lastLon = (width - frame.marginX + frame.minX) / perDegree;
    const double lonY = height - pad - lineHeight;
    for (long k = std::lround(std::ceil(firstLon / lonStep)); k * lonStep <= lastLon; ++k) {
        const double lon = static_cast<double>(k * lonStep);
        const double x = lon * perDegree - frame.minX + frame.marginX;
        std::string text = longitudeText(lon);
        TextBox box = textBoxAt(text, em, x - estimatedTextWidth(text, em) / 2, lonY);
        if (!box.inside(width, height) || box.x < pad + latRoom + pad) continue;
        numbers.push_back({std::move(text), box});
    }

    // Latitudes down the left edge, centred on their lines, above the
    // longitude row.
    const int latStep = gridNumberStep(perDegree, 2 * lineHeight);
    const double topLat = 90 - (0 - frame.marginY + frame.minY) / perDegree;
    const double bottomLat = 90 - (height - frame.marginY + frame.minY) / perDegree;
    for (long k = std::lround(std::ceil(std::max(bottomLat, -90.0) / latStep));
         k * latStep <= std::min(topLat, 90.0); ++k) {
        const double lat = static_cast<double>(k * latStep);
        const double y = (90 - lat) * perDegree - frame.minY + frame.marginY;
        std::string text = latitudeText(lat);
        TextBox box = textBoxAt(text, em, pad, y - lineHeight / 2);
        if (!box.inside(width, height) || box.bottom() > lonY) continue;
        numbers.push_back({std::move(text), box});
    }
    return numbers;
}

void drawGridNumbersLayer(const LayerInput& input, Canvas& canvas, LayerLog& log) {
    if (!input.settings.annotations.gridNumbers) return;
    const double em = gridNumberEm(input.frame);
    CanvasFont font;
    font.create(kAnnotationFont, toSingle(em), 0, CanvasUnit::World);
    // The legend and the title keep their corners: numbers under them would
    // only make both unreadable.
    std::vector<TextBox> taken;
    if (const auto legend = legendArea(input)) taken.push_back(*legend);
    if (const auto title = jobTitle(input); title && !title->lines.empty()) {
        taken.push_back(title->area);
    }
    for (const EdgeNumber& number : gridNumbers(input.frame, em)) {
        if (std::any_of(taken.begin(), taken.end(),
                        [&number](const TextBox& box) { return box.intersects(number.box); })) {
            continue;
        }
        drawShadowedText(canvas, number.text, font, 0xF0FFFFFF, number.box.x, number.box.y);
    }
    checkDrawStatus("3.4.0/GridNumbers", canvas, log);
}

}  // namespace tcmap
