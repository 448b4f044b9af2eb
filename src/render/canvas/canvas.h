// The drawing layer between the draw job and the 2D library. Layers compute
// positions and colours; the Canvas draws. Pens, brushes, fonts and layouts are
// plain values the Canvas applies when it draws; every drawing operation
// returns success and leaves its status in the job-wide last status.
#pragma once

#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/compatibility.h"

namespace tcmap {

class Picture;

using Argb = uint32_t;  // 0xAARRGGBB as the Canvas takes it

// Program colours are 0x00BBGGRR; rgb() and toArgb() (base/compatibility.h)
// make and convert them.

// Status codes of drawing operations; 0 is success. 1..21 follow the failure
// kinds of the original graphics library; anything else is "unknown".
namespace status {
constexpr int32_t kOk = 0;
constexpr int32_t kGenericError = 1;
constexpr int32_t kInvalidParameter = 2;
constexpr int32_t kOutOfMemory = 3;
constexpr int32_t kSystemError = 7;  // a system call failed, e.g. a file not written
constexpr int32_t kWrongState = 8;
constexpr int32_t kFileNotFound = 10;
constexpr int32_t kUnknownImageFormat = 13;
}  // namespace status

enum class CanvasUnit { World = 0, Pixel = 2 };

namespace cap {
constexpr int kFlat = 0;
constexpr int kRound = 2;
}  // namespace cap

namespace join {
constexpr int kMiter = 0;
constexpr int kRound = 2;
}  // namespace join

struct CanvasPen {
    Argb colour = 0xFF000000;
    float width = 1.0f;  // a width of 0 draws a one-pixel hairline
    CanvasUnit unit = CanvasUnit::World;
    int startCap = cap::kFlat;
    int endCap = cap::kFlat;
    int dashCap = cap::kFlat;
    int lineJoin = join::kMiter;
    std::vector<float> dashPattern;  // empty: solid; else lengths in pen widths
    bool valid = false;

    void create(Argb penColour, float penWidth, CanvasUnit penUnit) {
        *this = CanvasPen{};
        colour = penColour;
        width = penWidth;
        unit = penUnit;
        valid = true;
    }
    void setColour(Argb value) { colour = value; }
    void setWidth(float value) { width = value; }
    void setCaps(int start, int end, int dash) {
        startCap = start;
        endCap = end;
        dashCap = dash;
    }
    void setLineJoin(int value) { lineJoin = value; }
    // Style 0 is solid: it drops any dash pattern.
    void setDashStyle(int style) {
        if (style == 0) dashPattern.clear();
    }
    void setDashPattern(std::vector<float> pattern) { dashPattern = std::move(pattern); }
    void release() { valid = false; }
    bool dashed() const { return !dashPattern.empty(); }
};

struct CanvasBrush {
    Argb colour = 0xFF000000;
    bool valid = false;

    void setSolid(Argb value) {
        colour = value;
        valid = true;
    }
    void release() { valid = false; }
};

struct CanvasFont {
    std::string family;
    float emSize = 10.0f;
    int style = 0;  // 0 regular
    CanvasUnit unit = CanvasUnit::World;
    bool valid = false;

    void create(std::string_view fontFamily, float size, int fontStyle, CanvasUnit fontUnit) {
        family = std::string(fontFamily);
        emSize = size;
        style = fontStyle;
        unit = fontUnit;
        valid = true;
    }
    void release() { valid = false; }
};

struct TextLayout {
    static constexpr int kRightToLeft = 1;
    static constexpr int kAlignNear = 0;
    static constexpr int kAlignCentre = 1;

    int flags = 0;
    int language = 0;
    int lineAlignment = kAlignNear;
    bool isGenericDefault = false;
    bool valid = false;

    void create(int layoutFlags, int layoutLanguage) {
        *this = TextLayout{};
        flags = layoutFlags;
        language = layoutLanguage;
        valid = true;
    }
    void genericDefault() {
        *this = TextLayout{};
        isGenericDefault = true;
        valid = true;
    }
    void setLineAlignment(int alignment) { lineAlignment = alignment; }
    void release() { valid = false; }
    bool rightToLeft() const { return (flags & kRightToLeft) != 0; }
};

struct PointF {
    float x = 0;
    float y = 0;
};

// Layout rectangle; width and height 0 mean unbounded text from (x, y).
struct RectF {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
};

class Canvas {
  public:
    virtual ~Canvas() = default;

    // Size of the picture the canvas draws on.
    virtual int width() const = 0;
    virtual int height() const = 0;

    virtual bool drawPicture(const Picture& picture, float x, float y, float width,
                             float height) = 0;
    virtual bool drawLine(const CanvasPen& pen, float x1, float y1, float x2, float y2) = 0;
    // Angles in degrees, clockwise from the positive x axis.
    virtual bool drawArc(const CanvasPen& pen, float x, float y, float width, float height,
                         float startAngle, float sweepAngle) = 0;
    virtual bool drawEllipse(const CanvasPen& pen, float x, float y, float width, float height) = 0;
    virtual bool fillEllipse(const CanvasBrush& brush, float x, float y, float width,
                             float height) = 0;
    virtual bool fillRectangle(const CanvasBrush& brush, float x, float y, float width,
                               float height) = 0;
    // Fill mode alternate (even-odd).
    virtual bool fillPolygon(const CanvasBrush& brush, std::span<const PointF> points) = 0;
    // `layout` null means the library's default layout. Text is UTF-8; CR LF
    // starts a new line.
    virtual bool drawText(std::string_view text, const CanvasFont& font, const CanvasBrush& brush,
                          RectF layoutRect, const TextLayout* layout) = 0;

    // Status of the most recent operation (0 success). Read, never reset, by
    // the drawing-status check.
    int32_t lastStatus() const { return lastStatus_.load(std::memory_order_relaxed); }

  protected:
    bool finish(int32_t status) {
        lastStatus_.store(status, std::memory_order_relaxed);
        return status == status::kOk;
    }

  private:
    std::atomic<int32_t> lastStatus_{0};
};

// Draws one copy of the map picture at (x, y) scaled to width x height, unless
// the copy lies wholly right or left of the canvas, which counts as success.
bool drawMapCopy(Canvas& canvas, const Picture& map, double x, double y, double width,
                 double height);

}  // namespace tcmap
