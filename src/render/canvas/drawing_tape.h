// What a draw job drew, kept so the same map can be drawn again on another
// surface (a vector file) after the job: the map as the frame shows it, taken
// once as a picture, and every Canvas operation drawn over it, in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "render/canvas/canvas.h"
#include "render/canvas/picture.h"

namespace tcmap {

class DrawingTape {
  public:
    DrawingTape(int width, int height, std::string textLanguage);
    DrawingTape(const DrawingTape&) = delete;
    DrawingTape& operator=(const DrawingTape&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    const std::string& textLanguage() const { return textLanguage_; }

    // The picture under every recorded operation. `jpegFile` holds the map
    // file's own bytes when the background is that whole JPEG map; `fromJpeg`
    // says the map was a JPEG, so a vector file should embed it as one.
    void setBackground(Picture background, bool fromJpeg, std::vector<uint8_t> jpegFile = {});
    const Picture& background() const { return background_; }
    bool backgroundFromJpeg() const { return backgroundFromJpeg_; }
    const std::vector<uint8_t>& backgroundJpegFile() const { return jpegFile_; }

    void recordPicture(const Picture& picture, float x, float y, float width, float height);
    void recordLine(const CanvasPen& pen, float x1, float y1, float x2, float y2);
    void recordArc(const CanvasPen& pen, float x, float y, float width, float height,
                   float startAngle, float sweepAngle);
    void recordEllipse(const CanvasPen& pen, float x, float y, float width, float height);
    void recordFillEllipse(const CanvasBrush& brush, float x, float y, float width, float height);
    void recordFillRectangle(const CanvasBrush& brush, float x, float y, float width, float height);
    void recordPolygon(const CanvasBrush& brush, std::span<const PointF> points);
    void recordText(std::string_view text, const CanvasFont& font, const CanvasBrush& brush,
                    RectF layoutRect, const TextLayout* layout);

    size_t operationCount() const { return steps_.size(); }

    // Draws the recorded operations (not the background) on `canvas` in the
    // order they were recorded. `keepGoing`, when given, is asked now and then
    // and stops the replay when it says no; returns false when stopped.
    bool replay(Canvas& canvas, const std::function<bool()>& keepGoing = {}) const;

  private:
    enum class Op : uint8_t {
        Picture,
        Line,
        Arc,
        Ellipse,
        FillEllipse,
        FillRectangle,
        Polygon,
        Text
    };
    // One operation; `style` is a pen index or a brush colour, `ref` a text,
    // point-run or picture index, `font` and `layout` indexes (layout 0: none).
    struct Step {
        Op op;
        bool brushValid;
        uint16_t layout;
        uint32_t style;
        uint32_t ref;
        uint32_t font;
        float v[6];
    };

    uint32_t penIndex(const CanvasPen& pen);
    uint32_t fontIndex(const CanvasFont& font);
    uint16_t layoutIndex(const TextLayout* layout);
    uint32_t textIndex(std::string_view text);
    static Step step(Op op, std::initializer_list<float> values);

    int width_;
    int height_;
    std::string textLanguage_;
    Picture background_;
    bool backgroundFromJpeg_ = false;
    std::vector<uint8_t> jpegFile_;

    std::vector<Step> steps_;
    std::vector<CanvasPen> pens_;
    std::vector<CanvasFont> fonts_;
    std::vector<TextLayout> layouts_;  // [0] unused: "no layout"
    std::vector<std::string> texts_;
    std::unordered_map<std::string, uint32_t> textIds_;
    std::vector<PointF> points_;
    std::vector<std::pair<uint32_t, uint32_t>> pointRuns_;  // first point, count
    std::vector<std::unique_ptr<Picture>> pictures_;
};

// A Canvas that draws on another one and, once recording starts, also puts
// every operation on a tape. Status and results are those of the inner canvas.
class TapeCanvas final : public Canvas {
  public:
    TapeCanvas(std::shared_ptr<Canvas> inner, std::shared_ptr<DrawingTape> tape);

    void startRecording() { recording_ = true; }

    int width() const override { return inner_->width(); }
    int height() const override { return inner_->height(); }

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

  private:
    bool settle() { return finish(inner_->lastStatus()); }

    std::shared_ptr<Canvas> inner_;
    std::shared_ptr<DrawingTape> tape_;
    bool recording_ = false;
};

}  // namespace tcmap
