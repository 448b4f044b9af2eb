#include "render/layers/grid_layer.h"

#include <algorithm>
#include <array>

#include "base/compatibility.h"
#include "base/file_io.h"
#include "base/text_rules.h"
#include "render/canvas/canvas.h"
#include "render/canvas/stroke_bounds.h"
#include "render/layers/draw_status.h"

namespace tcmap {

namespace {

// A grid file beyond this size is treated as unreadable rather than loaded
// whole: a real grid is a few kilobytes.
constexpr int64_t kMaxGridFileBytes = 16 * 1024 * 1024;

// Style values are taken modulo 256; a negative value wraps into 0..255
// instead of giving a negative channel.
int32_t byteOf(std::string_view text) {
    const int32_t value = readInteger(text) % 256;
    return value < 0 ? value + 256 : value;
}

// Where a grid point lands on the output picture: the grid's own scale of
// the projection, moved by the frame.
struct GridGeometry {
    const Projection& map;
    int32_t minX, marginX, minY, marginY;

    // A longitude text starting with "-" counts west.
    float outputX(std::string_view longitude) const {
        const double x = map.gridX(readNumber(longitude), isWesternByText(longitude));
        return toSingle(x - minX + marginX);
    }
    float outputY(std::string_view latitude) const {
        return toSingle(map.gridY(readNumber(latitude)) - minY + marginY);
    }
};

// The pen of one grid line from its style values.
void setGridPen(CanvasPen& pen, const std::array<std::string_view, 6>& style) {
    const uint32_t colour = rgb(byteOf(style[0]), byteOf(style[1]), byteOf(style[2]));
    pen.create(toArgb(colour, static_cast<uint32_t>(byteOf(style[3]))),
               toSingle(readNumber(style[4])), CanvasUnit::World);
    pen.setCaps(cap::kRound, cap::kRound, cap::kRound);
    const double dash = readNumber(style[5]);
    if (dash > kEpsilon) {
        const float length = toSingle(dash);
        pen.setDashPattern({length, length});
    } else {
        pen.setDashStyle(0);
    }
}

}  // namespace

void drawGridLayer(const LayerInput& input, Canvas& canvas, LayerLog& log) {
    if (!input.settings.showGrid) return;
    const OutputGeometry& frame = input.frame;
    drawGrid(canvas, log, input.gridDataPath, frame.projection(), frame.minX, frame.marginX,
             frame.minY, frame.marginY);
}

void drawGrid(Canvas& canvas, LayerLog& log, const std::string& gridDataPath, const Projection& map,
              int32_t minX, int32_t marginX, int32_t minY, int32_t marginY) {
    const int64_t size = fileSize(gridDataPath);
    if (size <= 0 || size > kMaxGridFileBytes) return;
    const std::string text = readFileOrEmpty(gridDataPath);

    const GridGeometry geometry{map, minX, marginX, minY, marginY};
    CanvasPen pen;
    // Lines end in LF or CR LF.
    PieceCursor lines(text, "\n");
    std::string_view line;
    while (lines.next(line)) {
        if (line.ends_with('\r')) line.remove_suffix(1);

        // name | red/green/blue/alpha/width/dash | lat1/lon1/lat2/lon2
        std::array<std::string_view, 3> fields;
        if (splitTextInto(line, "|", fields) < fields.size()) continue;
        std::array<std::string_view, 6> style;
        if (splitTextInto(fields[1], "/", style) < style.size()) continue;
        std::array<std::string_view, 4> segment;
        if (splitTextInto(fields[2], "/", segment) < segment.size()) continue;

        setGridPen(pen, style);
        const float x1 = geometry.outputX(segment[1]);
        const float y1 = geometry.outputY(segment[0]);
        const float x2 = geometry.outputX(segment[3]);
        const float y2 = geometry.outputY(segment[2]);

        // The line, then its copies one map width to the right and to the left;
        // a copy that cannot reach the picture is left out (most of a large
        // grid lies outside a regional picture).
        for (const double shift : map.gridCopies()) {
            const float ax = toSingle(x1 + shift);
            const float bx = toSingle(x2 + shift);
            if (strokeOutside(canvas, pen, std::min(ax, bx), std::min(y1, y2), std::max(ax, bx),
                              std::max(y1, y2))) {
                continue;
            }
            canvas.drawLine(pen, ax, y1, bx, y2);
        }
        checkDrawStatus("3.3.0/Label", canvas, log);
    }
    pen.release();
}

}  // namespace tcmap
