#include "render/canvas/cairo_canvas.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "render/canvas/cairo_text.h"
#include "render/canvas/stroke_bounds.h"

namespace tcmap {

namespace {

constexpr double kPi = std::numbers::pi;
// Shapes reaching further from the origin than this are refused: Cairo keeps
// coordinates in 24.8 fixed point, and far larger arcs would overflow it or
// take seconds to flatten. No picture is a hundredth of this size.
constexpr double kMaxExtent = 4194304.0;
// Dash periods shorter than this draw solid; they would only produce a flood
// of invisible dashes.
constexpr double kMinDashPeriod = 0.25;
// Callers place pixel centres at whole coordinates: a one-pixel line at x = 120
// fills column 120. Cairo puts pixel corners there, so geometry and text are
// drawn half a pixel further right and down; pictures are not (see drawPicture).
constexpr double kPixelCentreShift = 0.5;

int32_t statusOf(cairo_status_t cairoStatus) {
    switch (cairoStatus) {
        case CAIRO_STATUS_SUCCESS:
            return status::kOk;
        case CAIRO_STATUS_NO_MEMORY:
            return status::kOutOfMemory;
        case CAIRO_STATUS_INVALID_RESTORE:
        case CAIRO_STATUS_INVALID_POP_GROUP:
        case CAIRO_STATUS_NULL_POINTER:
        case CAIRO_STATUS_INVALID_STRING:
        case CAIRO_STATUS_INVALID_PATH_DATA:
        case CAIRO_STATUS_INVALID_MATRIX:
        case CAIRO_STATUS_INVALID_STATUS:
        case CAIRO_STATUS_INVALID_CONTENT:
        case CAIRO_STATUS_INVALID_FORMAT:
        case CAIRO_STATUS_INVALID_VISUAL:
        case CAIRO_STATUS_INVALID_DASH:
        case CAIRO_STATUS_INVALID_INDEX:
        case CAIRO_STATUS_INVALID_STRIDE:
        case CAIRO_STATUS_INVALID_SIZE:
        case CAIRO_STATUS_INVALID_CLUSTERS:
        case CAIRO_STATUS_INVALID_SLANT:
        case CAIRO_STATUS_INVALID_WEIGHT:
        case CAIRO_STATUS_INVALID_MESH_CONSTRUCTION:
            return status::kInvalidParameter;
        default:
            return status::kGenericError;
    }
}

bool finite(double a, double b, double c, double d) {
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

cairo_line_cap_t capOf(int code) {
    switch (code) {
        case 1:
            return CAIRO_LINE_CAP_SQUARE;
        case cap::kRound:
            return CAIRO_LINE_CAP_ROUND;
        default:
            return CAIRO_LINE_CAP_BUTT;  // flat, and shapes Cairo lacks
    }
}

cairo_line_join_t joinOf(int code) {
    switch (code) {
        case 1:
            return CAIRO_LINE_JOIN_BEVEL;
        case join::kRound:
            return CAIRO_LINE_JOIN_ROUND;
        default:
            return CAIRO_LINE_JOIN_MITER;
    }
}

double radians(double degrees) {
    return degrees * kPi / 180.0;
}

// Parametric angle of the point of an ellipse that lies at true angle `theta`
// seen from its centre; continuous in theta, so sweeps keep their turns.
double parametricAngle(double theta, double rx, double ry) {
    const double t = std::atan2(rx * std::sin(theta), ry * std::cos(theta));
    return theta + std::remainder(t - theta, 2 * kPi);
}

// Clips the segment to the box; false when nothing of it is inside. t0 is
// where the clipped segment starts along the original (0..1).
bool clipSegment(double& x1, double& y1, double& x2, double& y2, double minX, double minY,
                 double maxX, double maxY, double& t0) {
    const double dx = x2 - x1, dy = y2 - y1;
    double low = 0, high = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - minX, maxX - x1, y1 - minY, maxY - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0)
            low = std::max(low, r);
        else
            high = std::min(high, r);
        if (low > high) return false;
    }
    const double ox = x1, oy = y1;
    x1 = ox + low * dx;
    y1 = oy + low * dy;
    x2 = ox + high * dx;
    y2 = oy + high * dy;
    t0 = low;
    return true;
}

}  // namespace

struct CairoCanvas::Impl {
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    int width = 0;
    int height = 0;
    std::unique_ptr<CairoText> text;
    std::string language;

    // What the context currently holds, so repeated calls set nothing again.
    Argb source = 0;
    bool sourceKnown = false;
    double lineWidth = -1;
    int lineCap = -1;
    int lineJoin = -1;
    std::vector<double> dashes;
    double dashOffset = 0;

    ~Impl() { close(); }

    void close() {
        if (cr) cairo_destroy(cr);
        if (surface) cairo_surface_destroy(surface);
        cr = nullptr;
        surface = nullptr;
        width = height = 0;
    }

    void createContext() {
        if (cr) cairo_destroy(cr);
        cr = cairo_create(surface);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
        cairo_translate(cr, kPixelCentreShift, kPixelCentreShift);
        sourceKnown = false;
        lineWidth = -1;
        lineCap = lineJoin = -1;
        dashes.clear();
        dashOffset = 0;
    }

    // Status of the call that just drew; a failed context is replaced so the
    // next call starts clean.
    int32_t settle() {
        const cairo_status_t contextStatus = cairo_status(cr);
        if (contextStatus == CAIRO_STATUS_SUCCESS) return status::kOk;
        createContext();
        return statusOf(contextStatus);
    }

    void setColour(Argb colour) {
        if (sourceKnown && colour == source) return;
        cairo_set_source_rgba(cr, ((colour >> 16) & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
                              (colour & 0xFF) / 255.0, (colour >> 24) / 255.0);
        source = colour;
        sourceKnown = true;
    }

    static double strokeWidth(const CanvasPen& pen) {
        // Wider pens draw as kMaxStrokeWidth; no picture is wider than this diagonal.
        return pen.width > 0 ? std::min<double>(pen.width, kMaxStrokeWidth) : 1.0;
    }

    // Room a stroke needs beyond its path (miter joins reach furthest).
    static double strokeMargin(const CanvasPen& pen) { return strokeReach(pen); }

    int32_t applyPen(const CanvasPen& pen, double offset = 0) {
        if (!pen.valid || !std::isfinite(pen.width)) return status::kInvalidParameter;
        const double w = strokeWidth(pen);
        std::vector<double> pattern;
        if (pen.dashed()) {
            double period = 0;
            for (float length : pen.dashPattern) {
                if (!std::isfinite(length) || length < 0) return status::kInvalidParameter;
                pattern.push_back(length * w);
                period += length * w;
            }
            if (period <= 0) return status::kInvalidParameter;
            if (period < kMinDashPeriod) pattern.clear();
        }
        setColour(pen.colour);
        if (w != lineWidth) {
            cairo_set_line_width(cr, w);
            lineWidth = w;
        }
        const int capCode = pen.dashed() ? pen.dashCap : pen.startCap;
        if (capCode != lineCap) {
            cairo_set_line_cap(cr, capOf(capCode));
            lineCap = capCode;
        }
        if (pen.lineJoin != lineJoin) {
            cairo_set_line_join(cr, joinOf(pen.lineJoin));
            lineJoin = pen.lineJoin;
        }
        if (pattern != dashes || (!pattern.empty() && offset != dashOffset)) {
            cairo_set_dash(cr, pattern.data(), static_cast<int>(pattern.size()), offset);
            dashes = std::move(pattern);
            dashOffset = offset;
        }
        return status::kOk;
    }

    static bool beyondRange(double minX, double minY, double maxX, double maxY) {
        return minX < -kMaxExtent || minY < -kMaxExtent || maxX > kMaxExtent || maxY > kMaxExtent;
    }

    bool outside(double minX, double minY, double maxX, double maxY, double margin) const {
        return maxX + margin < 0 || maxY + margin < 0 || minX - margin > width ||
               minY - margin > height;
    }

    // Path of the ellipse arc between two parametric angles.
    void arcPath(double cx, double cy, double rx, double ry, double from, double to) {
        if (rx == 0 || ry == 0) {
            // A flat ellipse is a segment; Cairo cannot scale by zero.
            const int steps = std::max(2, static_cast<int>(std::ceil(std::abs(to - from) / 0.1)));
            for (int i = 0; i <= steps; ++i) {
                const double t = from + (to - from) * i / steps;
                const double px = cx + rx * std::cos(t), py = cy + ry * std::sin(t);
                if (i == 0)
                    cairo_move_to(cr, px, py);
                else
                    cairo_line_to(cr, px, py);
            }
            return;
        }
        auto arc = to >= from ? cairo_arc : cairo_arc_negative;
        if (rx == ry) {
            arc(cr, cx, cy, rx, from, to);
            return;
        }
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, rx, ry);
        arc(cr, 0, 0, 1, from, to);
        cairo_restore(cr);
    }
};

CairoCanvas::CairoCanvas() : impl_(std::make_unique<Impl>()) {}

CairoCanvas::CairoCanvas(Picture& picture) : CairoCanvas() {
    finish(open(picture));
}

CairoCanvas::~CairoCanvas() = default;

int32_t CairoCanvas::open(Picture& picture) {
    impl_->close();
    if (picture.empty()) return status::kInvalidParameter;
    if (cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, picture.width()) != picture.stride())
        return status::kInvalidParameter;
    // A picture sharing its pixels copies them here; that copy may fail.
    uint32_t* pixels = picture.pixels();
    if (pixels == nullptr) return status::kOutOfMemory;
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(pixels), CAIRO_FORMAT_ARGB32, picture.width(),
        picture.height(), picture.stride());
    const int32_t surfaceStatus = statusOf(cairo_surface_status(surface));
    if (surfaceStatus != status::kOk) {
        cairo_surface_destroy(surface);
        return surfaceStatus;
    }
    impl_->surface = surface;
    impl_->width = picture.width();
    impl_->height = picture.height();
    impl_->createContext();
    const int32_t contextStatus = statusOf(cairo_status(impl_->cr));
    if (contextStatus != status::kOk) impl_->close();
    return contextStatus;
}

int32_t CairoCanvas::openSurface(cairo_surface_t* surface, int width, int height) {
    impl_->close();
    if (surface == nullptr || width <= 0 || height <= 0) return status::kInvalidParameter;
    const int32_t surfaceStatus = statusOf(cairo_surface_status(surface));
    if (surfaceStatus != status::kOk) return surfaceStatus;
    impl_->surface = cairo_surface_reference(surface);
    impl_->width = width;
    impl_->height = height;
    impl_->createContext();
    const int32_t contextStatus = statusOf(cairo_status(impl_->cr));
    if (contextStatus != status::kOk) impl_->close();
    return contextStatus;
}

void CairoCanvas::close() {
    if (impl_->cr) cairo_surface_flush(impl_->surface);
    impl_->close();
}

bool CairoCanvas::isOpen() const {
    return impl_->cr != nullptr;
}

void CairoCanvas::setTextLanguage(std::string_view tag) {
    impl_->language = std::string(tag);
    if (impl_->text) impl_->text->setLanguage(tag);
}

int CairoCanvas::lastTextUnknownGlyphs() const {
    return impl_->text ? impl_->text->unknownGlyphs() : 0;
}

int CairoCanvas::width() const {
    return impl_->width;
}
int CairoCanvas::height() const {
    return impl_->height;
}

namespace {

// The rows of `picture` a copy to [y, y + height) reads within a canvas
// `canvasHeight` tall: the visible part, widened by the filter's reach.
std::pair<int, int> rowsRead(const Picture& picture, float y, float height, int canvasHeight) {
    const double top = std::max<double>(std::min(y, y + height), 0);
    const double bottom = std::min<double>(std::max(y, y + height), canvasHeight);
    const double scale = picture.height() / std::abs(double(height));
    const double from = height > 0 ? (top - y) * scale : (y - bottom) * scale;
    const double to = height > 0 ? (bottom - y) * scale : (y - top) * scale;
    const double reach = std::ceil(scale) + 2;
    const auto clamp = [&](double row) {
        return static_cast<int>(std::clamp(row, 0.0, double(picture.height())));
    };
    return {clamp(std::floor(from) - reach), clamp(std::ceil(to) + reach)};
}

}  // namespace

bool CairoCanvas::drawPicture(const Picture& picture, float x, float y, float width, float height) {
    Impl& d = *impl_;
    if (!d.cr || picture.empty() || !finite(x, y, width, height))
        return finish(status::kInvalidParameter);
    if (width == 0 || height == 0) return finish(status::kOk);
    if (d.outside(std::min(x, x + width), std::min(y, y + height), std::max(x, x + width),
                  std::max(y, y + height), 1))
        return finish(status::kOk);
    // Only the rows the copy reads are made ready (a cached map checks them);
    // rows that changed while they were read are read again, once put right.
    const auto [firstRow, endRow] = rowsRead(picture, y, height, d.height);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const uint32_t* pixels = picture.pixelsForRows(firstRow, endRow);
        if (pixels == nullptr) return finish(status::kOutOfMemory);
        const int32_t drawn = drawPixels(pixels, picture, x, y, width, height);
        if (drawn != status::kOk || picture.rowsUnchanged(firstRow, endRow)) return finish(drawn);
    }
    return finish(status::kGenericError);
}

int32_t CairoCanvas::drawPixels(const uint32_t* pixels, const Picture& picture, float x, float y,
                                float width, float height) {
    Impl& d = *impl_;
    // The picture's pixels are only read: Cairo takes a non-const pointer.
    cairo_surface_t* source = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(pixels)), CAIRO_FORMAT_ARGB32,
        picture.width(), picture.height(), picture.stride());
    const int32_t sourceStatus = statusOf(cairo_surface_status(source));
    if (sourceStatus != status::kOk) {
        cairo_surface_destroy(source);
        return sourceStatus;
    }
    cairo_save(d.cr);
    // A picture's rectangle is measured in pixel edges: drawn unscaled at a
    // whole position it copies its pixels exactly, never resampled.
    cairo_identity_matrix(d.cr);
    cairo_translate(d.cr, x, y);
    cairo_scale(d.cr, double(width) / picture.width(), double(height) / picture.height());
    cairo_set_source_surface(d.cr, source, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(d.cr), CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(cairo_get_source(d.cr), CAIRO_EXTEND_PAD);
    cairo_rectangle(d.cr, 0, 0, picture.width(), picture.height());
    cairo_fill(d.cr);
    cairo_restore(d.cr);
    cairo_surface_destroy(source);
    return d.settle();
}

bool CairoCanvas::drawLine(const CanvasPen& pen, float x1, float y1, float x2, float y2) {
    Impl& d = *impl_;
    if (!d.cr || !finite(x1, y1, x2, y2)) return finish(status::kInvalidParameter);
    double ax = x1, ay = y1, bx = x2, by = y2, t0 = 0;
    const double margin = Impl::strokeMargin(pen);
    // Only the part near the picture is stroked: keeps far coordinates away
    // from Cairo's fixed-point range and dashes from running off-screen.
    if (!clipSegment(ax, ay, bx, by, -margin, -margin, d.width + margin, d.height + margin, t0))
        return finish(pen.valid ? status::kOk : status::kInvalidParameter);
    const double offset = t0 * std::hypot(double(x2) - x1, double(y2) - y1);
    const int32_t penStatus = d.applyPen(pen, offset);
    if (penStatus != status::kOk) return finish(penStatus);
    cairo_new_path(d.cr);
    cairo_move_to(d.cr, ax, ay);
    cairo_line_to(d.cr, bx, by);
    cairo_stroke(d.cr);
    return finish(d.settle());
}

bool CairoCanvas::drawArc(const CanvasPen& pen, float x, float y, float width, float height,
                          float startAngle, float sweepAngle) {
    Impl& d = *impl_;
    if (!d.cr || !finite(x, y, width, height) || !std::isfinite(startAngle) ||
        !std::isfinite(sweepAngle))
        return finish(status::kInvalidParameter);
    const double margin = Impl::strokeMargin(pen);
    const double left = std::min(x, x + width), top = std::min(y, y + height);
    const double rx = std::abs(double(width)) / 2, ry = std::abs(double(height)) / 2;
    if (d.outside(left, top, left + 2 * rx, top + 2 * ry, margin) || sweepAngle == 0)
        return finish(pen.valid ? status::kOk : status::kInvalidParameter);
    if (Impl::beyondRange(left, top, left + 2 * rx, top + 2 * ry))
        return finish(status::kInvalidParameter);
    const int32_t penStatus = d.applyPen(pen);
    if (penStatus != status::kOk) return finish(penStatus);
    const double start = radians(std::fmod(double(startAngle), 360.0));
    const double sweep = radians(std::clamp(double(sweepAngle), -360.0, 360.0));
    double from = start, to = start + sweep;
    if (rx > 0 && ry > 0) {
        from = parametricAngle(start, rx, ry);
        to = parametricAngle(start + sweep, rx, ry);
    }
    cairo_new_path(d.cr);
    d.arcPath(left + rx, top + ry, rx, ry, from, to);
    cairo_stroke(d.cr);
    return finish(d.settle());
}

bool CairoCanvas::drawEllipse(const CanvasPen& pen, float x, float y, float width, float height) {
    Impl& d = *impl_;
    if (!d.cr || !finite(x, y, width, height)) return finish(status::kInvalidParameter);
    const double margin = Impl::strokeMargin(pen);
    const double left = std::min(x, x + width), top = std::min(y, y + height);
    const double rx = std::abs(double(width)) / 2, ry = std::abs(double(height)) / 2;
    if (d.outside(left, top, left + 2 * rx, top + 2 * ry, margin))
        return finish(pen.valid ? status::kOk : status::kInvalidParameter);
    if (Impl::beyondRange(left, top, left + 2 * rx, top + 2 * ry))
        return finish(status::kInvalidParameter);
    const int32_t penStatus = d.applyPen(pen);
    if (penStatus != status::kOk) return finish(penStatus);
    cairo_new_path(d.cr);
    d.arcPath(left + rx, top + ry, rx, ry, 0, 2 * kPi);
    cairo_close_path(d.cr);
    cairo_stroke(d.cr);
    return finish(d.settle());
}

bool CairoCanvas::fillEllipse(const CanvasBrush& brush, float x, float y, float width,
                              float height) {
    Impl& d = *impl_;
    if (!d.cr || !brush.valid || !finite(x, y, width, height))
        return finish(status::kInvalidParameter);
    const double left = std::min(x, x + width), top = std::min(y, y + height);
    const double rx = std::abs(double(width)) / 2, ry = std::abs(double(height)) / 2;
    if (rx == 0 || ry == 0 || d.outside(left, top, left + 2 * rx, top + 2 * ry, 1))
        return finish(status::kOk);
    if (Impl::beyondRange(left, top, left + 2 * rx, top + 2 * ry))
        return finish(status::kInvalidParameter);
    d.setColour(brush.colour);
    cairo_new_path(d.cr);
    d.arcPath(left + rx, top + ry, rx, ry, 0, 2 * kPi);
    cairo_fill(d.cr);
    return finish(d.settle());
}

bool CairoCanvas::fillRectangle(const CanvasBrush& brush, float x, float y, float width,
                                float height) {
    Impl& d = *impl_;
    if (!d.cr || !brush.valid || !finite(x, y, width, height))
        return finish(status::kInvalidParameter);
    if (width == 0 || height == 0 ||
        d.outside(std::min(x, x + width), std::min(y, y + height), std::max(x, x + width),
                  std::max(y, y + height), 1))
        return finish(status::kOk);
    if (Impl::beyondRange(std::min(x, x + width), std::min(y, y + height), std::max(x, x + width),
                          std::max(y, y + height)))
        return finish(status::kInvalidParameter);
    d.setColour(brush.colour);
    cairo_new_path(d.cr);
    cairo_rectangle(d.cr, x, y, width, height);
    cairo_fill(d.cr);
    return finish(d.settle());
}

bool CairoCanvas::fillPolygon(const CanvasBrush& brush, std::span<const PointF> points) {
    Impl& d = *impl_;
    if (!d.cr || !brush.valid || points.empty()) return finish(status::kInvalidParameter);
    double minX = points[0].x, maxX = minX, minY = points[0].y, maxY = minY;
    for (const PointF& p : points) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return finish(status::kInvalidParameter);
        minX = std::min<double>(minX, p.x);
        maxX = std::max<double>(maxX, p.x);
        minY = std::min<double>(minY, p.y);
        maxY = std::max<double>(maxY, p.y);
    }
    if (points.size() < 3 || d.outside(minX, minY, maxX, maxY, 1)) return finish(status::kOk);
    if (Impl::beyondRange(minX, minY, maxX, maxY)) return finish(status::kInvalidParameter);
    d.setColour(brush.colour);
    cairo_new_path(d.cr);
    cairo_move_to(d.cr, points[0].x, points[0].y);
    for (size_t i = 1; i < points.size(); ++i) cairo_line_to(d.cr, points[i].x, points[i].y);
    cairo_close_path(d.cr);
    cairo_fill(d.cr);
    return finish(d.settle());
}

bool CairoCanvas::drawText(std::string_view text, const CanvasFont& font, const CanvasBrush& brush,
                           RectF layoutRect, const TextLayout* layout) {
    Impl& d = *impl_;
    if (!d.cr || !brush.valid) return finish(status::kInvalidParameter);
    if (!d.text) {
        d.text = std::make_unique<CairoText>();
        if (!d.language.empty()) d.text->setLanguage(d.language);
    }
    d.setColour(brush.colour);
    const int32_t textStatus =
        d.text->draw(d.cr, text, font, layoutRect, layout, d.width, d.height);
    const int32_t contextStatus = d.settle();
    return finish(textStatus != status::kOk ? textStatus : contextStatus);
}

}  // namespace tcmap
