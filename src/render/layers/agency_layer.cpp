#include "render/layers/agency_layer.h"

#include <algorithm>
#include <string>

#include "base/compatibility.h"
#include "base/text_rules.h"
#include "render/layers/draw_status.h"
#include "render/layers/spaghetti_layer.h"

namespace tcmap {

namespace {

constexpr Argb kMarkColour = 0xFFFF4040;
constexpr Argb kTextColour = 0xFFFFFFFF;

float textSize(const Canvas& canvas) {
    return std::max(11.0f, std::min(canvas.width(), canvas.height()) / 90.0f);
}

// A line between the two agencies' positions with a ring at each end and the
// distance beside it, on every copy of the map across the seam.
void drawMarks(const LayerInput& input, Canvas& canvas, LayerLog& log) {
    const AgencyScene& scene = *input.agencies;
    const FixTable& fixes = input.fixes;
    const float size = textSize(canvas);
    CanvasPen pen;
    pen.create(kMarkColour, std::max(2.0f, size / 6), CanvasUnit::Pixel);
    CanvasFont font;
    font.create("Consolas", size, 0, CanvasUnit::World);
    CanvasBrush brush;
    brush.setSolid(kTextColour);
    const float ring = size * 0.8f;
    for (const DifferenceMark& mark : scene.marks) {
        if (mark.firstRow >= fixes.size() || mark.secondRow >= fixes.size()) continue;
        const double ax = input.frame.toOutputX(fixes.x[mark.firstRow]);
        const double ay = input.frame.toOutputY(fixes.y[mark.firstRow]);
        double bx = input.frame.toOutputX(fixes.x[mark.secondRow]);
        const double by = input.frame.toOutputY(fixes.y[mark.secondRow]);
        // The two positions on the same side of the seam.
        const double width = input.frame.projection().width();
        if (bx - ax > width / 2) bx -= width;
        if (ax - bx > width / 2) bx += width;
        for (const double shift : input.frame.projection().copies()) {
            canvas.drawLine(pen, toSingle(ax + shift), toSingle(ay), toSingle(bx + shift),
                            toSingle(by));
            canvas.drawEllipse(pen, toSingle(ax + shift - ring / 2), toSingle(ay - ring / 2), ring,
                               ring);
            canvas.drawEllipse(pen, toSingle(bx + shift - ring / 2), toSingle(by - ring / 2), ring,
                               ring);
            canvas.drawText(mark.text, font, brush,
                            RectF{toSingle(std::max(ax, bx) + shift + ring),
                                  toSingle((ay + by) / 2 - size / 2), 0, 0},
                            nullptr);
        }
    }
    checkDrawStatus("agencies/differences", canvas, log);
}

// One row per agency: a sample of its line and its name, in the corner the
// forecast aids' legend would take.
void drawLegend(const LayerInput& input, Canvas& canvas, LayerLog& log) {
    const AgencyScene& scene = *input.agencies;
    const float size = textSize(canvas);
    const float row = size * 1.6f;
    const float swatch = size * 3.0f;
    const float pad = size;
    size_t longest = 0;
    for (const AgencyStyle& style : scene.styles) longest = std::max(longest, style.agency.size());
    const float boxWidth = swatch + size * (1.2f + 0.62f * static_cast<float>(longest));
    const float boxHeight = row * static_cast<float>(scene.styles.size()) + size * 0.6f;
    const RectF box = drawSideLegendBox(input, canvas, boxWidth, boxHeight, pad);
    const float left = box.x;
    const float top = box.y;
    CanvasFont font;
    font.create("Consolas", size, 0, CanvasUnit::World);
    CanvasBrush text;
    text.setSolid(kTextColour);
    for (size_t i = 0; i < scene.styles.size(); ++i) {
        const AgencyStyle& style = scene.styles[i];
        const float y = top + size * 0.3f + row * static_cast<float>(i) + row / 2;
        CanvasPen pen;
        // The TCV style colours its lines by intensity: the sample is white.
        pen.create(input.tcv ? kTextColour : toArgb(style.colour), std::max(2.0f, size / 5),
                   CanvasUnit::Pixel);
        pen.setDashPattern(style.dashes);
        canvas.drawLine(pen, left + size * 0.4f, y, left + swatch - size * 0.2f, y);
        canvas.drawText(style.agency, font, text,
                        RectF{left + swatch + size * 0.2f, y - size * 0.75f, 0, 0}, nullptr);
    }
    checkDrawStatus("agencies/legend", canvas, log);
}

}  // namespace

void drawAgencyLayer(const LayerInput& input, Canvas& canvas, LayerLog& log) {
    if (input.agencies == nullptr || input.agencies->rowStyle.empty()) return;
    if (!input.agencies->marks.empty()) drawMarks(input, canvas, log);
    drawLegend(input, canvas, log);
}

}  // namespace tcmap
