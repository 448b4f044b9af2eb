#include "render/layers/fix_marker.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "base/text_rules.h"
#include "render/layers/draw_status.h"
#include "render/layers/scale_colours.h"
#include "track/track_model.h"

namespace tcmap {

namespace {

// Tags of the three copies (at X, X - W, X + W) of each shape.
constexpr std::array<std::string_view, 3> kTriangleTags = {"2.1.1/Point", "2.1.2/Point",
                                                           "2.1.3/Point"};
constexpr std::array<std::string_view, 3> kSquareTags = {"2.2.1/Point", "2.2.2/Point",
                                                         "2.2.3/Point"};
constexpr std::array<std::string_view, 3> kCircleTags = {"2.3.1/Point", "2.3.2/Point",
                                                         "2.3.3/Point"};

// Markers of fixes off the synoptic hours are two thirds as large.
constexpr double kOffHourShrink = 1.5;

void drawShape(LayerContext& ctx, int32_t cls, double x, double y, double s) {
    static const double sqrt3 = std::pow(3.0, 0.5);
    switch (static_cast<SystemClass>(cls)) {
        case SystemClass::NonTropical: {
            // Apex up, centroid on the fix.
            const std::array<PointF, 3> corners = {
                PointF{toSingle(x - s / 2), toSingle(y + s * sqrt3 / 6)},
                PointF{toSingle(x), toSingle(y - s * sqrt3 / 3)},
                PointF{toSingle(x + s / 2), toSingle(y + s * sqrt3 / 6)},
            };
            ctx.canvas.fillPolygon(ctx.brush, corners);
            return;
        }
        case SystemClass::Subtropical: {
            const double side = s * sqrt3 / 2;
            ctx.canvas.fillRectangle(ctx.brush, toSingle(x - s * sqrt3 / 4),
                                     toSingle(y - s * sqrt3 / 4), toSingle(side), toSingle(side));
            return;
        }
        default:
            ctx.canvas.fillEllipse(ctx.brush, toSingle(x - s / 2), toSingle(y - s / 2), toSingle(s),
                                   toSingle(s));
            return;
    }
}

const std::array<std::string_view, 3>& tagsOf(int32_t cls) {
    switch (static_cast<SystemClass>(cls)) {
        case SystemClass::NonTropical:
            return kTriangleTags;
        case SystemClass::Subtropical:
            return kSquareTags;
        default:
            return kCircleTags;
    }
}

}  // namespace

void drawFixMarker(LayerContext& ctx, int64_t index, double pointSize) {
    const FixTable& fixes = ctx.fixes;
    // Lists the marker reads; a short one (a table built wrongly) ends the
    // range of drawable fixes rather than being read past its end.
    const size_t count =
        std::min({fixes.x.size(), fixes.y.size(), fixes.wind.size(), fixes.cls.size()});
    if (index < 0 || static_cast<uint64_t>(index) >= count) return;
    const auto j = static_cast<size_t>(index);

    ctx.brush.setSolid(toArgb(fixColour(ctx.settings, false, fixes.wind[j], {})));
    // A table without the synoptic list (TCV style) counts every fix as synoptic.
    const bool synoptic = j >= fixes.synoptic.size() || fixes.synoptic[j] != 0;
    const double s = pointSize / (synoptic ? 1.0 : kOffHourShrink);
    const double x = ctx.frame.toOutputX(fixes.x[j]);
    const double y = ctx.frame.toOutputY(fixes.y[j]);
    const int32_t cls = fixes.cls[j];
    const auto& tags = tagsOf(cls);

    const std::array<double, 3> shifts = ctx.frame.projection().copies();
    for (size_t copy = 0; copy < shifts.size(); ++copy) {
        drawShape(ctx, cls, x + shifts[copy], y, s);
        checkDrawStatus(tags[copy], ctx.canvas, ctx.log);
    }
}

}  // namespace tcmap
