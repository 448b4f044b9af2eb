#include "gui/draw_panel.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "app/main_commands.h"
#include "app/main_view.h"

namespace tcmap {

namespace {

constexpr const char* kLogFontFamily = "Microsoft Yahei UI";
constexpr double kDefaultFontPoints = 10.0;
// Zoom steps come in quick bursts from a wheel; the smooth copy is made once
// the burst is over.
constexpr int kScaleDelayMs = 120;

QColor toQColor(uint32_t colour) {
    return QColor(int(colour & 0xFFu), int((colour >> 8) & 0xFFu), int((colour >> 16) & 0xFFu));
}

}  // namespace

DrawPanel::DrawPanel(QWidget* parent) : QWidget(parent), background_(kDesignedBackground) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    font_.setFamily(kLogFontFamily);
    setFontStyle(kDefaultFontPoints, false, false);
    scaleTimer_.setSingleShot(true);
    connect(&scaleTimer_, &QTimer::timeout, this, &DrawPanel::makeScaledMap);
}

void DrawPanel::setBackgroundColour(uint32_t colour) {
    background_ = colour & 0xFFFFFFu;
    update();
}

void DrawPanel::clear() {
    log_.clear();
    scrolled_ = 0;
    textPosition_ = QPoint(0, 0);
    lines_.clear();
    picture_ = QImage();
    scaled_ = QImage();
    scaledFor_ = 0.0;
    scaleTimer_.stop();
    fit_ = true;
    scale_ = 1.0;
    origin_ = QPointF(0, 0);
    dragging_ = false;
    updateCursor();
    update();
}

// ---- the log ------------------------------------------------------------

void DrawPanel::setTextPosition(int x, int y) {
    textPosition_ = QPoint(x, y);
}

void DrawPanel::setTextColour(uint32_t colour) {
    textColour_ = colour & 0xFFFFFFu;
}

void DrawPanel::setFontStyle(double pointSize, bool bold, bool italic) {
    font_.setBold(bold);
    font_.setItalic(italic);
    setFontSize(pointSize);
}

void DrawPanel::setFontSize(double pointSize) {
    // Points to pixels at the panel's resolution, once, so line heights are
    // the same for measuring and painting.
    const double dpi = logicalDpiY() > 0 ? logicalDpiY() : 96.0;
    font_.setPixelSize(std::max(1, int(std::lround(pointSize * dpi / 72.0))));
}

void DrawPanel::writeLine(const QString& text) {
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList pieces = normalised.split(QLatin1Char('\n'));
    if (pieces.size() > 1 && pieces.back().isEmpty()) pieces.removeLast();

    const int height = QFontMetrics(font_).height();
    for (const QString& line : pieces) {
        lines_.append(line);
        if (lines_.size() > kLinesKept) lines_.removeFirst();
        const int bottom = textPosition_.y() + height;
        if (bottom > this->height() && this->height() > 0) scrollLog(bottom - this->height());
        log_.push_back({QPoint(textPosition_.x(), textPosition_.y() + scrolled_), line,
                        toQColor(textColour_), font_, QImage(), height});
        textPosition_.ry() += height + kLineGap;
    }
    update();
}

void DrawPanel::scrollLog(int pixels) {
    scrolled_ += pixels;
    textPosition_.ry() -= pixels;
    std::erase_if(log_,
                  [this](const LogItem& item) { return item.at.y() + item.height <= scrolled_; });
}

// ---- the picture --------------------------------------------------------

void DrawPanel::setPicture(const QImage& picture, int layout) {
    picture_ = picture;
    layout_ = layout;
    scaled_ = QImage();
    scaledFor_ = 0.0;
    if (showsMap()) {
        zoomToFit();
    } else {
        addPictureToLog();
    }
    updateCursor();
    update();
}

void DrawPanel::setPictureLayout(int layout) {
    if (layout == layout_) return;
    const bool wasMap = showsMap();
    layout_ = layout;
    if (showsMap()) {
        zoomToFit();
    } else if (wasMap) {
        addPictureToLog();
    }
    updateCursor();
    update();
}

bool DrawPanel::showsMap() const {
    return layout_ == kMapPictureLayout && !picture_.isNull();
}

// An unscaled picture sits at the panel's top-left corner and scrolls with
// the lines written below it.
void DrawPanel::addPictureToLog() {
    if (picture_.isNull()) return;
    // A picture drawn for a scaled screen takes its logical height in the log.
    const int height = int(std::ceil(picture_.deviceIndependentSize().height()));
    log_.push_back({QPoint(0, scrolled_), QString(), QColor(), QFont(), picture_, height});
}

// ---- zoom and pan -------------------------------------------------------

// A map larger than the panel is shrunk to fit it; a smaller one is shown
// 1:1 in the middle rather than blown up.
double DrawPanel::fitScale() const {
    if (picture_.isNull() || width() <= 0 || height() <= 0) return 1.0;
    // Never larger than one map pixel per screen pixel: on a 2x screen that
    // is half a logical pixel.
    return std::min(
        {actualSize(), double(width()) / picture_.width(), double(height()) / picture_.height()});
}

void DrawPanel::zoomToFit() {
    fit_ = true;
    scale_ = fitScale();
    clampOrigin();
    scheduleScaledMap();
    updateCursor();
    update();
}

void DrawPanel::zoomActualSize() {
    if (!showsMap()) return;
    setScale(actualSize(), QPointF(width() / 2.0, height() / 2.0));
}

void DrawPanel::zoomBy(double factor, QPointF anchor) {
    if (!showsMap() || !(factor > 0.0) || !std::isfinite(factor)) return;
    setScale(scale_ * factor, anchor);
}

void DrawPanel::setScale(double scale, QPointF anchor) {
    const double fit = fitScale();
    scale = std::clamp(scale, fit, kMaxZoom);
    // Zooming out to the fitted size or beyond snaps back to fitting, so the
    // map follows later resizes again.
    if (scale <= fit * (1.0 + 1e-9)) {
        zoomToFit();
        return;
    }
    const QPointF onPicture = (anchor - origin_) / scale_;
    fit_ = false;
    scale_ = scale;
    origin_ = anchor - onPicture * scale_;
    clampOrigin();
    scheduleScaledMap();
    updateCursor();
    update();
}

void DrawPanel::clampOrigin() {
    if (picture_.isNull()) return;
    const double shownWidth = picture_.width() * scale_;
    const double shownHeight = picture_.height() * scale_;
    auto clampAxis = [](double origin, double shown, double room) {
        if (shown <= room) return (room - shown) / 2.0;
        return std::clamp(origin, room - shown, 0.0);
    };
    origin_.setX(clampAxis(origin_.x(), shownWidth, width()));
    origin_.setY(clampAxis(origin_.y(), shownHeight, height()));
}

double DrawPanel::actualSize() const {
    return 1.0 / devicePixelRatioF();
}

void DrawPanel::scheduleScaledMap() {
    if (!showsMap() || scale_ >= actualSize()) {
        scaled_ = QImage();
        scaledFor_ = 0.0;
        scaleTimer_.stop();
        return;
    }
    if (!scaled_.isNull() && scaledFor_ == scale_) return;
    // The first copy of a new picture is wanted at once; during a burst of
    // wheel steps only the last one counts.
    scaleTimer_.start(scaled_.isNull() && fit_ ? 0 : kScaleDelayMs);
}

void DrawPanel::makeScaledMap() {
    if (!showsMap() || scale_ >= actualSize()) return;
    // Made in screen pixels, so a fitted map is as sharp as the screen.
    const double ratio = devicePixelRatioF();
    const int w = std::max(1, int(std::lround(picture_.width() * scale_ * ratio)));
    const int h = std::max(1, int(std::lround(picture_.height() * scale_ * ratio)));
    scaled_ = picture_.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaled_.setDevicePixelRatio(ratio);
    scaledFor_ = scale_;
    update();
}

void DrawPanel::updateCursor() {
    const bool movable = showsMap() && (picture_.width() * scale_ > width() + 0.5 ||
                                        picture_.height() * scale_ > height() + 0.5);
    if (!movable) {
        unsetCursor();
    } else {
        setCursor(dragging_ ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
    }
}

// ---- events -------------------------------------------------------------

void DrawPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(background_));
    if (!showsMap()) {
        painter.setRenderHint(QPainter::TextAntialiasing);
        for (const LogItem& item : log_) {
            const QPoint at(item.at.x(), item.at.y() - scrolled_);
            if (at.y() >= height() || at.y() + item.height <= 0) continue;
            if (!item.picture.isNull()) {
                painter.drawImage(at, item.picture);
                continue;
            }
            painter.setFont(item.font);
            painter.setPen(item.colour);
            painter.drawText(QPoint(at.x(), at.y() + painter.fontMetrics().ascent()), item.text);
        }
        return;
    }

    const QRectF shown(origin_, QSizeF(picture_.width() * scale_, picture_.height() * scale_));
    if (scale_ < actualSize() && !scaled_.isNull() && scaledFor_ == scale_) {
        painter.drawImage(QPointF(std::round(origin_.x()), std::round(origin_.y())), scaled_);
    } else {
        // Only the visible part of the picture is drawn: at high zoom the
        // cost follows the panel's size, not the picture's.
        const QRectF visible = QRectF(rect()).intersected(shown);
        if (!visible.isEmpty()) {
            const QRectF onPicture((visible.topLeft() - origin_) / scale_, visible.size() / scale_);
            const QRect source = onPicture.toAlignedRect().intersected(picture_.rect());
            const QRectF target(origin_ + QPointF(source.topLeft()) * scale_,
                                QSizeF(source.size()) * scale_);
            painter.setRenderHint(QPainter::SmoothPixmapTransform, scale_ < actualSize());
            painter.drawImage(target, picture_, source);
        }
    }

    if (!fit_) {
        // 100 % is one map pixel per screen pixel.
        const QString label =
            QString::number(std::lround(scale_ / actualSize() * 100)) + QStringLiteral(" %");
        QFont labelFont = font();
        labelFont.setPixelSize(12);
        painter.setFont(labelFont);
        const QRect box = painter.fontMetrics().boundingRect(label).adjusted(-6, -3, 6, 3);
        const QRect placed(width() - box.width() - 8, height() - box.height() - 8, box.width(),
                           box.height());
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 150));
        painter.drawRoundedRect(placed, 4, 4);
        painter.setPen(QColor(230, 230, 230));
        painter.drawText(placed, Qt::AlignCenter, label);
    }
}

void DrawPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (showsMap()) {
        if (fit_) {
            zoomToFit();
        } else {
            clampOrigin();
            updateCursor();
        }
    }
    emit resized();
}

void DrawPanel::wheelEvent(QWheelEvent* event) {
    if (!showsMap()) {
        event->ignore();
        return;
    }
    const double steps = event->angleDelta().y() / 120.0;
    if (steps != 0.0) zoomBy(std::pow(kZoomStep, steps), event->position());
    event->accept();
}

void DrawPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        emit rightClicked(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton && showsMap()) {
        dragging_ = true;
        dragStart_ = event->position();
        originAtDragStart_ = origin_;
        updateCursor();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void DrawPanel::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    origin_ = originAtDragStart_ + (event->position() - dragStart_);
    clampOrigin();
    update();
}

void DrawPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (dragging_ && event->button() == Qt::LeftButton) {
        dragging_ = false;
        updateCursor();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void DrawPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !showsMap()) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    if (fit_) {
        const double actual = actualSize();
        setScale(fitScale() < actual ? actual : actual * kZoomStep, event->position());
    } else {
        zoomToFit();
    }
}

}  // namespace tcmap
