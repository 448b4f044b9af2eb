#include "support/recording_canvas.h"

#include <gtest/gtest.h>

#include <array>
#include <charconv>

#include "render/canvas/picture.h"

namespace tcmap {

namespace {

RecordedPen recordPen(const CanvasPen& pen) {
    return RecordedPen{pen.colour, pen.width,   pen.unit,     pen.startCap,
                       pen.endCap, pen.dashCap, pen.lineJoin, pen.dashPattern};
}

RecordedLayout recordLayout(const TextLayout* layout) {
    if (layout == nullptr) return {};
    return RecordedLayout{
        layout->isGenericDefault ? LayoutKind::GenericDefault : LayoutKind::Created, layout->flags,
        layout->lineAlignment};
}

void appendNumber(std::string& out, float value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    out.append(buffer.data(), result.ptr);
}

void appendNumber(std::string& out, int64_t value) {
    out += std::to_string(value);
}

void appendHex(std::string& out, uint32_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (int shift = 28; shift >= 0; shift -= 4) out += kDigits[(value >> shift) & 0xF];
}

std::string_view unitName(CanvasUnit unit) {
    return unit == CanvasUnit::Pixel ? "pixel" : "world";
}

}  // namespace

std::string_view opName(CanvasOp op) {
    switch (op) {
        case CanvasOp::DrawPicture:
            return "drawPicture";
        case CanvasOp::DrawLine:
            return "drawLine";
        case CanvasOp::DrawArc:
            return "drawArc";
        case CanvasOp::DrawEllipse:
            return "drawEllipse";
        case CanvasOp::FillEllipse:
            return "fillEllipse";
        case CanvasOp::FillRectangle:
            return "fillRectangle";
        case CanvasOp::FillPolygon:
            return "fillPolygon";
        case CanvasOp::DrawText:
            return "drawText";
    }
    return "unknown";
}

std::string describe(const RecordedCall& call) {
    std::string out(call.name());
    for (const float value : call.coords) {
        out += ' ';
        appendNumber(out, value);
    }
    if (!call.points.empty()) {
        out += " points=";
        for (size_t i = 0; i < call.points.size(); ++i) {
            if (i > 0) out += ';';
            appendNumber(out, call.points[i].x);
            out += ',';
            appendNumber(out, call.points[i].y);
        }
    }
    if (call.op == CanvasOp::DrawPicture) {
        out += " picture=";
        appendNumber(out, int64_t{call.pictureWidth});
        out += 'x';
        appendNumber(out, int64_t{call.pictureHeight});
    }
    if (call.pen) {
        const RecordedPen& pen = *call.pen;
        out += " pen=";
        appendHex(out, pen.colour);
        out += '/';
        appendNumber(out, pen.width);
        out += '/';
        out += unitName(pen.unit);
        out += " caps=" + std::to_string(pen.startCap) + ',' + std::to_string(pen.endCap) + ',' +
               std::to_string(pen.dashCap) + " join=" + std::to_string(pen.lineJoin);
        if (!pen.dashPattern.empty()) {
            out += " dash=";
            for (size_t i = 0; i < pen.dashPattern.size(); ++i) {
                if (i > 0) out += ',';
                appendNumber(out, pen.dashPattern[i]);
            }
        }
    }
    if (call.brush) {
        out += " brush=";
        appendHex(out, *call.brush);
    }
    if (call.font) {
        out += " font=\"" + call.font->family + "\"/";
        appendNumber(out, call.font->emSize);
        out += '/' + std::to_string(call.font->style) + '/';
        out += unitName(call.font->unit);
    }
    if (call.op == CanvasOp::DrawText) {
        switch (call.layout.kind) {
            case LayoutKind::None:
                out += " layout=none";
                break;
            case LayoutKind::GenericDefault:
                out += " layout=default";
                break;
            case LayoutKind::Created:
                out += " layout=" + std::to_string(call.layout.flags) + '/' +
                       std::to_string(call.layout.lineAlignment);
                break;
        }
        out += " text=\"" + call.text + '"';
    }
    if (call.status != 0) out += " status=" + std::to_string(call.status);
    return out;
}

void PrintTo(const RecordedCall& call, std::ostream* out) {
    *out << '#' << call.index << ' ' << describe(call);
}

RecordedCall& RecordingCanvas::begin(CanvasOp op) {
    RecordedCall& call = calls_.emplace_back();
    call.index = calls_.size() - 1;
    call.op = op;
    return call;
}

bool RecordingCanvas::end(RecordedCall& call) {
    size_t& occurrence = opCounts_[static_cast<size_t>(call.op)];
    int32_t status = status::kOk;
    for (const FailRule& rule : failRules_) {
        const bool hit = (rule.kind == FailRule::Index && rule.number == call.index) ||
                         (rule.kind == FailRule::Occurrence && rule.op == call.op &&
                          rule.number == occurrence) ||
                         (rule.kind == FailRule::All && rule.op == call.op);
        if (hit) status = rule.status;  // the rule given last wins
    }
    ++occurrence;
    call.status = status;
    return finish(status);
}

bool RecordingCanvas::drawPicture(const Picture& picture, float x, float y, float width,
                                  float height) {
    RecordedCall& call = begin(CanvasOp::DrawPicture);
    call.coords = {x, y, width, height};
    call.pictureWidth = picture.width();
    call.pictureHeight = picture.height();
    return end(call);
}

bool RecordingCanvas::drawLine(const CanvasPen& pen, float x1, float y1, float x2, float y2) {
    RecordedCall& call = begin(CanvasOp::DrawLine);
    call.coords = {x1, y1, x2, y2};
    call.pen = recordPen(pen);
    return end(call);
}

bool RecordingCanvas::drawArc(const CanvasPen& pen, float x, float y, float width, float height,
                              float startAngle, float sweepAngle) {
    RecordedCall& call = begin(CanvasOp::DrawArc);
    call.coords = {x, y, width, height, startAngle, sweepAngle};
    call.pen = recordPen(pen);
    return end(call);
}

bool RecordingCanvas::drawEllipse(const CanvasPen& pen, float x, float y, float width,
                                  float height) {
    RecordedCall& call = begin(CanvasOp::DrawEllipse);
    call.coords = {x, y, width, height};
    call.pen = recordPen(pen);
    return end(call);
}

bool RecordingCanvas::fillEllipse(const CanvasBrush& brush, float x, float y, float width,
                                  float height) {
    RecordedCall& call = begin(CanvasOp::FillEllipse);
    call.coords = {x, y, width, height};
    call.brush = brush.colour;
    return end(call);
}

bool RecordingCanvas::fillRectangle(const CanvasBrush& brush, float x, float y, float width,
                                    float height) {
    RecordedCall& call = begin(CanvasOp::FillRectangle);
    call.coords = {x, y, width, height};
    call.brush = brush.colour;
    return end(call);
}

bool RecordingCanvas::fillPolygon(const CanvasBrush& brush, std::span<const PointF> points) {
    RecordedCall& call = begin(CanvasOp::FillPolygon);
    call.points.assign(points.begin(), points.end());
    call.brush = brush.colour;
    return end(call);
}

bool RecordingCanvas::drawText(std::string_view text, const CanvasFont& font,
                               const CanvasBrush& brush, RectF layoutRect,
                               const TextLayout* layout) {
    RecordedCall& call = begin(CanvasOp::DrawText);
    call.coords = {layoutRect.x, layoutRect.y, layoutRect.width, layoutRect.height};
    call.text = std::string(text);
    call.font = RecordedFont{font.family, font.emSize, font.style, font.unit};
    call.brush = brush.colour;
    call.layout = recordLayout(layout);
    return end(call);
}

void RecordingCanvas::failCall(size_t index, int32_t status) {
    failRules_.push_back({FailRule::Index, CanvasOp::DrawLine, index, status});
}

void RecordingCanvas::failCallOf(CanvasOp op, size_t occurrence, int32_t status) {
    failRules_.push_back({FailRule::Occurrence, op, occurrence, status});
}

void RecordingCanvas::failAllOf(CanvasOp op, int32_t status) {
    failRules_.push_back({FailRule::All, op, 0, status});
}

void RecordingCanvas::clearFailures() {
    failRules_.clear();
}

std::vector<RecordedCall> RecordingCanvas::callsOf(CanvasOp op) const {
    std::vector<RecordedCall> result;
    for (const RecordedCall& call : calls_) {
        if (call.op == op) result.push_back(call);
    }
    return result;
}

size_t RecordingCanvas::count(CanvasOp op) const {
    return opCounts_[static_cast<size_t>(op)];
}

const RecordedCall& RecordingCanvas::last() const {
    static const RecordedCall kNone{};
    if (calls_.empty()) {
        ADD_FAILURE() << "RecordingCanvas::last() with no recorded call";
        return kNone;
    }
    return calls_.back();
}

void RecordingCanvas::clear() {
    calls_.clear();
    opCounts_.fill(0);
}

}  // namespace tcmap
