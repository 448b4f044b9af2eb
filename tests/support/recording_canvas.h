// A Canvas that draws nothing and records every call with its resolved
// arguments, so layer tests can check exact coordinates, colours and call
// order. It can be told to fail chosen calls with a chosen status.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "render/canvas/canvas.h"

namespace tcmap {

enum class CanvasOp {
    DrawPicture,
    DrawLine,
    DrawArc,
    DrawEllipse,
    FillEllipse,
    FillRectangle,
    FillPolygon,
    DrawText,
};

// "drawPicture", "drawLine", ... as the operations are named.
std::string_view opName(CanvasOp op);

struct RecordedPen {
    Argb colour = 0;
    float width = 0;
    CanvasUnit unit = CanvasUnit::World;
    int startCap = 0;
    int endCap = 0;
    int dashCap = 0;
    int lineJoin = 0;
    std::vector<float> dashPattern;

    bool operator==(const RecordedPen&) const = default;
};

struct RecordedFont {
    std::string family;
    float emSize = 0;
    int style = 0;
    CanvasUnit unit = CanvasUnit::World;

    bool operator==(const RecordedFont&) const = default;
};

enum class LayoutKind { None, GenericDefault, Created };

struct RecordedLayout {
    LayoutKind kind = LayoutKind::None;  // None: a null layout was passed
    int flags = 0;
    int lineAlignment = 0;

    bool operator==(const RecordedLayout&) const = default;
};

struct RecordedCall {
    size_t index = 0;  // position among all calls since the last clear
    CanvasOp op = CanvasOp::DrawLine;
    // Coordinates as given: drawLine x1 y1 x2 y2; drawArc x y w h start sweep;
    // drawPicture, drawEllipse, fillEllipse, fillRectangle x y w h; drawText
    // the layout rectangle x y w h; fillPolygon none (see points).
    std::vector<float> coords;
    std::vector<PointF> points;        // fillPolygon
    std::optional<RecordedPen> pen;    // drawLine, drawArc, drawEllipse
    std::optional<Argb> brush;         // fills and drawText
    std::optional<RecordedFont> font;  // drawText
    RecordedLayout layout;             // drawText
    std::string text;                  // drawText
    int pictureWidth = 0;              // drawPicture
    int pictureHeight = 0;
    int32_t status = 0;  // what the call returned in the last status

    std::string_view name() const { return opName(op); }
};

// One line per call, stable enough for golden lists and readable in test
// failures, e.g. "drawLine 1 2 3 4 pen=FFFFFFFF/2/world caps=2,2,2 join=2".
std::string describe(const RecordedCall& call);
void PrintTo(const RecordedCall& call, std::ostream* out);

class RecordingCanvas : public Canvas {
  public:
    RecordingCanvas(int width = 360, int height = 180) : width_(width), height_(height) {}

    int width() const override { return width_; }
    int height() const override { return height_; }
    void setSize(int width, int height) {
        width_ = width;
        height_ = height;
    }

    bool drawPicture(const Picture& picture, float x, float y, float width, float height) override;
    bool drawLine(const CanvasPen& pen, float x1, float y1, float x2, float y2) override;
    bool drawArc(const CanvasPen& pen, float x, float y, float width, float height,
                 float startAngle, float sweepAngle) override;
    bool drawEllipse(const CanvasPen& pen, float x, float y, float width, float height) override;
    bool fillEllipse(const CanvasBrush& brush, float x, float y, float width,
                     float height) override;
    bool fillRectangle(const CanvasBrush& brush, float x, float y, float width,
                       float height) override;
    bool fillPolygon(const CanvasBrush& brush, std::span<const PointF> points) override;
    bool drawText(std::string_view text, const CanvasFont& font, const CanvasBrush& brush,
                  RectF layoutRect, const TextLayout* layout) override;

    // Make the call with this index (0-based, counted since the last clear)
    // return `status`.
    void failCall(size_t index, int32_t status);
    // Make the n-th call (0-based) of one operation return `status`.
    void failCallOf(CanvasOp op, size_t occurrence, int32_t status);
    // Make every call of one operation return `status`.
    void failAllOf(CanvasOp op, int32_t status);
    void clearFailures();

    const std::vector<RecordedCall>& calls() const { return calls_; }
    std::vector<RecordedCall> callsOf(CanvasOp op) const;
    size_t count(CanvasOp op) const;
    size_t size() const { return calls_.size(); }
    // The most recent call; the test fails (and an empty record is returned)
    // when there is none.
    const RecordedCall& last() const;
    // Forget the recorded calls and restart counting; failure rules stay.
    void clear();

  private:
    struct FailRule {
        enum Kind { Index, Occurrence, All } kind;
        CanvasOp op;
        size_t number;
        int32_t status;
    };

    RecordedCall& begin(CanvasOp op);
    bool end(RecordedCall& call);

    int width_;
    int height_;
    std::vector<RecordedCall> calls_;
    std::array<size_t, 8> opCounts_{};
    std::vector<FailRule> failRules_;
};

}  // namespace tcmap
