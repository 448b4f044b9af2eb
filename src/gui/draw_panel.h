// The main window's drawing panel: a background colour, a log of coloured
// lines written one below the other (the idle picture's banner scrolls with
// them), and the finished map, fitted to the panel or zoomed and panned by
// the user. UI thread only.
#pragma once

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <vector>

namespace tcmap {

class DrawPanel : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kLineGap = 2;        // pixels between log lines
    static constexpr int kLinesKept = 1000;   // lines remembered for lines()
    static constexpr double kMaxZoom = 16.0;  // 1600 %
    static constexpr double kZoomStep = 1.25;

    explicit DrawPanel(QWidget* parent = nullptr);

    // Program colour 0x00BBGGRR.
    void setBackgroundColour(uint32_t colour);
    uint32_t backgroundColour() const { return background_; }

    // Removes the picture and every log line; the background shows.
    void clear();

    // --- the log ---
    void setTextPosition(int x, int y);
    QPoint textPosition() const { return textPosition_; }
    void setTextColour(uint32_t colour);
    uint32_t textColour() const { return textColour_; }
    // Point size, bold and italic of the log font ("Microsoft Yahei UI").
    void setFontStyle(double pointSize, bool bold, bool italic);
    void setFontSize(double pointSize);
    const QFont& logFont() const { return font_; }
    // Writes the text at the text position and moves it down by the line's
    // height plus kLineGap; a text with line breaks becomes several lines.
    // When a line would pass the bottom, the log scrolls up first.
    void writeLine(const QString& text);
    // The texts written since the last clear (the last kLinesKept of them).
    QStringList lines() const { return lines_; }

    // --- the picture ---
    // Shows `picture`: in the map layout fitted to the panel (zoomable), in
    // any other layout unscaled at the panel's top-left corner, scrolling
    // with the log.
    void setPicture(const QImage& picture, int layout);
    void setPictureLayout(int layout);
    int pictureLayout() const { return layout_; }
    bool hasPicture() const { return !picture_.isNull(); }
    // True when the finished map fills the panel (map layout with a picture).
    bool showsMap() const;
    const QImage& picture() const { return picture_; }

    // --- zoom and pan of the map ---
    void zoomToFit();
    void zoomActualSize();
    // Multiplies the zoom by `factor`, keeping the picture point under
    // `anchor` (panel coordinates) where it is.
    void zoomBy(double factor, QPointF anchor);
    double zoom() const { return scale_; }
    bool fitted() const { return fit_; }
    // Top-left corner of the shown map in panel coordinates.
    QPointF mapOrigin() const { return origin_; }
    // The scaled copy used for painting below 1:1; null while none is made.
    const QImage& scaledMap() const { return scaled_; }

  signals:
    void resized();
    void rightClicked(QPoint globalPosition);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void scrollLog(int pixels);
    void addPictureToLog();
    double fitScale() const;
    // The zoom of one map pixel per device pixel.
    double actualSize() const;
    void setScale(double scale, QPointF anchor);
    void clampOrigin();
    void scheduleScaledMap();
    void makeScaledMap();
    void updateCursor();

    // What the log shows, placed in log coordinates: a line or an unscaled
    // picture. Scrolling moves the view down the log, so a line costs the
    // same however long the log has grown; items scrolled past are dropped.
    struct LogItem {
        QPoint at;
        QString text;
        QColor colour;
        QFont font;
        QImage picture;
        int height = 0;
    };

    uint32_t background_;
    std::vector<LogItem> log_;
    int scrolled_ = 0;  // log coordinate of the panel's top edge
    QPoint textPosition_{0, 0};
    uint32_t textColour_ = 0;
    QFont font_;
    QStringList lines_;

    QImage picture_;
    int layout_ = 0;

    bool fit_ = true;
    double scale_ = 1.0;
    QPointF origin_{0, 0};
    QImage scaled_;  // picture_ scaled smoothly to scale_ (only below 1:1)
    double scaledFor_ = 0.0;
    QTimer scaleTimer_;
    bool dragging_ = false;
    QPointF dragStart_;
    QPointF originAtDragStart_;
};

}  // namespace tcmap
