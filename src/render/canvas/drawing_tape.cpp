#include "render/canvas/drawing_tape.h"

#include <algorithm>
#include <utility>

namespace tcmap {

namespace {

// How many operations a replay draws between two questions to `keepGoing`.
constexpr size_t kReplayCheckEvery = 1024;

bool samePen(const CanvasPen& a, const CanvasPen& b) {
    return a.colour == b.colour && a.width == b.width && a.unit == b.unit &&
           a.startCap == b.startCap && a.endCap == b.endCap && a.dashCap == b.dashCap &&
           a.lineJoin == b.lineJoin && a.dashPattern == b.dashPattern && a.valid == b.valid;
}

bool sameFont(const CanvasFont& a, const CanvasFont& b) {
    return a.family == b.family && a.emSize == b.emSize && a.style == b.style && a.unit == b.unit &&
           a.valid == b.valid;
}

bool sameLayout(const TextLayout& a, const TextLayout& b) {
    return a.flags == b.flags && a.language == b.language && a.lineAlignment == b.lineAlignment &&
           a.isGenericDefault == b.isGenericDefault && a.valid == b.valid;
}

}  // namespace

DrawingTape::DrawingTape(int width, int height, std::string textLanguage)
    : width_(width), height_(height), textLanguage_(std::move(textLanguage)) {
    layouts_.emplace_back();
}

void DrawingTape::setBackground(Picture background, bool fromJpeg, std::vector<uint8_t> jpegFile) {
    background_ = std::move(background);
    backgroundFromJpeg_ = fromJpeg;
    jpegFile_ = std::move(jpegFile);
}

// Jobs switch pens, fonts and layouts far less often than they draw, so only
// a change of value adds an entry.
uint32_t DrawingTape::penIndex(const CanvasPen& pen) {
    if (pens_.empty() || !samePen(pens_.back(), pen)) pens_.push_back(pen);
    return static_cast<uint32_t>(pens_.size() - 1);
}

uint32_t DrawingTape::fontIndex(const CanvasFont& font) {
    if (fonts_.empty() || !sameFont(fonts_.back(), font)) fonts_.push_back(font);
    return static_cast<uint32_t>(fonts_.size() - 1);
}

uint16_t DrawingTape::layoutIndex(const TextLayout* layout) {
    if (layout == nullptr) return 0;
    for (size_t i = 1; i < layouts_.size(); ++i) {
        if (sameLayout(layouts_[i], *layout)) return static_cast<uint16_t>(i);
    }
    // A job uses a handful of layouts; more than fit are drawn with the last.
    if (layouts_.size() < 0xFFFF) layouts_.push_back(*layout);
    return static_cast<uint16_t>(layouts_.size() - 1);
}

// Labels repeat the same few texts thousands of times: each is kept once.
uint32_t DrawingTape::textIndex(std::string_view text) {
    std::string key(text);
    auto found = textIds_.find(key);
    if (found != textIds_.end()) return found->second;
    const auto id = static_cast<uint32_t>(texts_.size());
    texts_.push_back(key);
    textIds_.emplace(std::move(key), id);
    return id;
}

DrawingTape::Step DrawingTape::step(Op op, std::initializer_list<float> values) {
    Step s{};
    s.op = op;
    std::copy(values.begin(), values.end(), s.v);
    return s;
}

void DrawingTape::recordPicture(const Picture& picture, float x, float y, float width,
                                float height) {
    auto copy = std::make_unique<Picture>();
    copy->copyFrom(picture);
    Step s = step(Op::Picture, {x, y, width, height});
    s.ref = static_cast<uint32_t>(pictures_.size());
    pictures_.push_back(std::move(copy));
    steps_.push_back(s);
}

void DrawingTape::recordLine(const CanvasPen& pen, float x1, float y1, float x2, float y2) {
    Step s = step(Op::Line, {x1, y1, x2, y2});
    s.style = penIndex(pen);
    steps_.push_back(s);
}

void DrawingTape::recordArc(const CanvasPen& pen, float x, float y, float width, float height,
                            float startAngle, float sweepAngle) {
    Step s = step(Op::Arc, {x, y, width, height, startAngle, sweepAngle});
    s.style = penIndex(pen);
    steps_.push_back(s);
}

void DrawingTape::recordEllipse(const CanvasPen& pen, float x, float y, float width, float height) {
    Step s = step(Op::Ellipse, {x, y, width, height});
    s.style = penIndex(pen);
    steps_.push_back(s);
}

void DrawingTape::recordFillEllipse(const CanvasBrush& brush, float x, float y, float width,
                                    float height) {
    Step s = step(Op::FillEllipse, {x, y, width, height});
    s.style = brush.colour;
    s.brushValid = brush.valid;
    steps_.push_back(s);
}

void DrawingTape::recordFillRectangle(const CanvasBrush& brush, float x, float y, float width,
                                      float height) {
    Step s = step(Op::FillRectangle, {x, y, width, height});
    s.style = brush.colour;
    s.brushValid = brush.valid;
    steps_.push_back(s);
}

void DrawingTape::recordPolygon(const CanvasBrush& brush, std::span<const PointF> points) {
    Step s = step(Op::Polygon, {});
    s.style = brush.colour;
    s.brushValid = brush.valid;
    s.ref = static_cast<uint32_t>(pointRuns_.size());
    pointRuns_.emplace_back(static_cast<uint32_t>(points_.size()),
                            static_cast<uint32_t>(points.size()));
    points_.insert(points_.end(), points.begin(), points.end());
    steps_.push_back(s);
}

void DrawingTape::recordText(std::string_view text, const CanvasFont& font,
                             const CanvasBrush& brush, RectF layoutRect, const TextLayout* layout) {
    Step s = step(Op::Text, {layoutRect.x, layoutRect.y, layoutRect.width, layoutRect.height});
    s.style = brush.colour;
    s.brushValid = brush.valid;
    s.ref = textIndex(text);
    s.font = fontIndex(font);
    s.layout = layoutIndex(layout);
    steps_.push_back(s);
}

bool DrawingTape::replay(Canvas& canvas, const std::function<bool()>& keepGoing) const {
    CanvasBrush brush;
    for (size_t i = 0; i < steps_.size(); ++i) {
        if (keepGoing && i % kReplayCheckEvery == 0 && !keepGoing()) return false;
        const Step& s = steps_[i];
        const float* v = s.v;
        brush.colour = s.style;
        brush.valid = s.brushValid;
        switch (s.op) {
            case Op::Picture:
                canvas.drawPicture(*pictures_[s.ref], v[0], v[1], v[2], v[3]);
                break;
            case Op::Line:
                canvas.drawLine(pens_[s.style], v[0], v[1], v[2], v[3]);
                break;
            case Op::Arc:
                canvas.drawArc(pens_[s.style], v[0], v[1], v[2], v[3], v[4], v[5]);
                break;
            case Op::Ellipse:
                canvas.drawEllipse(pens_[s.style], v[0], v[1], v[2], v[3]);
                break;
            case Op::FillEllipse:
                canvas.fillEllipse(brush, v[0], v[1], v[2], v[3]);
                break;
            case Op::FillRectangle:
                canvas.fillRectangle(brush, v[0], v[1], v[2], v[3]);
                break;
            case Op::Polygon: {
                const auto [first, count] = pointRuns_[s.ref];
                canvas.fillPolygon(brush, std::span<const PointF>(points_.data() + first, count));
                break;
            }
            case Op::Text:
                canvas.drawText(texts_[s.ref], fonts_[s.font], brush, RectF{v[0], v[1], v[2], v[3]},
                                s.layout == 0 ? nullptr : &layouts_[s.layout]);
                break;
        }
    }
    return true;
}

TapeCanvas::TapeCanvas(std::shared_ptr<Canvas> inner, std::shared_ptr<DrawingTape> tape)
    : inner_(std::move(inner)), tape_(std::move(tape)) {
    settle();
}

bool TapeCanvas::drawPicture(const Picture& picture, float x, float y, float width, float height) {
    inner_->drawPicture(picture, x, y, width, height);
    if (recording_) tape_->recordPicture(picture, x, y, width, height);
    return settle();
}

bool TapeCanvas::drawLine(const CanvasPen& pen, float x1, float y1, float x2, float y2) {
    inner_->drawLine(pen, x1, y1, x2, y2);
    if (recording_) tape_->recordLine(pen, x1, y1, x2, y2);
    return settle();
}

bool TapeCanvas::drawArc(const CanvasPen& pen, float x, float y, float width, float height,
                         float startAngle, float sweepAngle) {
    inner_->drawArc(pen, x, y, width, height, startAngle, sweepAngle);
    if (recording_) tape_->recordArc(pen, x, y, width, height, startAngle, sweepAngle);
    return settle();
}

bool TapeCanvas::drawEllipse(const CanvasPen& pen, float x, float y, float width, float height) {
    inner_->drawEllipse(pen, x, y, width, height);
    if (recording_) tape_->recordEllipse(pen, x, y, width, height);
    return settle();
}

bool TapeCanvas::fillEllipse(const CanvasBrush& brush, float x, float y, float width,
                             float height) {
    inner_->fillEllipse(brush, x, y, width, height);
    if (recording_) tape_->recordFillEllipse(brush, x, y, width, height);
    return settle();
}

bool TapeCanvas::fillRectangle(const CanvasBrush& brush, float x, float y, float width,
                               float height) {
    inner_->fillRectangle(brush, x, y, width, height);
    if (recording_) tape_->recordFillRectangle(brush, x, y, width, height);
    return settle();
}

bool TapeCanvas::fillPolygon(const CanvasBrush& brush, std::span<const PointF> points) {
    inner_->fillPolygon(brush, points);
    if (recording_) tape_->recordPolygon(brush, points);
    return settle();
}

bool TapeCanvas::drawText(std::string_view text, const CanvasFont& font, const CanvasBrush& brush,
                          RectF layoutRect, const TextLayout* layout) {
    inner_->drawText(text, font, brush, layoutRect, layout);
    if (recording_) tape_->recordText(text, font, brush, layoutRect, layout);
    return settle();
}

}  // namespace tcmap
