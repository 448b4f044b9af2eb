#include "gui/region_map_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace tcmap {

namespace {

constexpr QColor kSea(15, 23, 31);
constexpr QColor kGraticule(70, 90, 110);
constexpr QColor kRegion(255, 200, 0);
constexpr QColor kBand(0, 200, 255);
constexpr int kGraticuleStep = 30;  // degrees
// Below this the press was a click, not a rectangle.
constexpr double kSmallestDrawn = 0.5;  // degrees

double tenths(double degrees) {
    return std::round(degrees * 10) / 10;
}

}  // namespace

RegionMapView::RegionMapView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(false);
    setCursor(Qt::CrossCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize RegionMapView::sizeHint() const {
    return {480, 240};
}

QSize RegionMapView::minimumSizeHint() const {
    return {240, 120};
}

void RegionMapView::setMap(const QImage& map) {
    map_ = map;
    update();
}

void RegionMapView::setRegion(const RegionBox& box) {
    region_ = box;
    update();
}

QRectF RegionMapView::mapRect() const {
    // The map keeps its 2:1 shape, centred in the widget.
    const double width = std::min<double>(this->width(), this->height() * 2.0);
    const double height = width / 2;
    return {(this->width() - width) / 2, (this->height() - height) / 2, width, height};
}

QPointF RegionMapView::clampToMap(QPointF point) const {
    const QRectF map = mapRect();
    return {std::clamp(point.x(), map.left(), map.right()),
            std::clamp(point.y(), map.top(), map.bottom())};
}

std::optional<QPointF> RegionMapView::latLonAt(QPointF point) const {
    const QRectF map = mapRect();
    if (map.isEmpty() || !map.contains(point)) return std::nullopt;
    const double latitude = 90 - (point.y() - map.top()) * 180 / map.height();
    const double east = (point.x() - map.left()) * 360 / map.width();
    return QPointF(latitude, east);
}

QPointF RegionMapView::pointAt(double latitude, double eastLongitude) const {
    const QRectF map = mapRect();
    return {map.left() + eastLongitude * map.width() / 360,
            map.top() + (90 - latitude) * map.height() / 180};
}

void RegionMapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF map = mapRect();
    painter.fillRect(map, kSea);
    if (!map_.isNull()) painter.drawImage(map, map_);
    painter.setPen(QPen(kGraticule, 0));
    for (int lon = 0; lon <= 360; lon += kGraticuleStep) {
        painter.drawLine(pointAt(90, lon), pointAt(-90, lon));
    }
    for (int lat = -90; lat <= 90; lat += kGraticuleStep) {
        painter.drawLine(pointAt(lat, 0), pointAt(lat, 360));
    }

    // The region, and its second piece when it runs past the right edge.
    painter.setPen(QPen(kRegion, 2));
    const double west = westEdgeEast(region_.west);
    for (const double shift : {0.0, -360.0}) {
        const double left = west + shift;
        if (left + region_.lonExtent <= 0) continue;
        painter.drawRect(
            QRectF(pointAt(region_.north, left),
                   pointAt(region_.north - region_.latExtent, left + region_.lonExtent))
                .intersected(map));
    }
    if (dragStart_) {
        painter.setPen(QPen(kBand, 1, Qt::DashLine));
        painter.drawRect(QRectF(*dragStart_, dragEnd_).normalized());
    }
}

void RegionMapView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !latLonAt(event->position())) return;
    dragStart_ = event->position();
    dragEnd_ = event->position();
    update();
}

void RegionMapView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragStart_) return;
    dragEnd_ = clampToMap(event->position());
    update();
}

void RegionMapView::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragStart_ || event->button() != Qt::LeftButton) return;
    dragEnd_ = clampToMap(event->position());
    const QRectF band = QRectF(*dragStart_, dragEnd_).normalized();
    dragStart_.reset();
    update();
    const std::optional<QPointF> topLeft = latLonAt(clampToMap(band.topLeft()));
    const std::optional<QPointF> bottomRight = latLonAt(clampToMap(band.bottomRight()));
    if (!topLeft || !bottomRight) return;
    RegionBox box;
    box.north = tenths(topLeft->x());
    const double west = tenths(topLeft->y());
    box.west = west > 180 ? tenths(west - 360) : west;
    box.latExtent = tenths(topLeft->x() - bottomRight->x());
    box.lonExtent = tenths(bottomRight->y() - topLeft->y());
    if (box.latExtent < kSmallestDrawn || box.lonExtent < kSmallestDrawn) return;
    region_ = box;
    emit regionDrawn(box);
}

}  // namespace tcmap
