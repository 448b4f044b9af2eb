// The world map of the region window: shows the region chosen and lets the
// user draw a new one with the mouse (press, drag, release). The map is the
// program's 0°–180°–0° picture: 0°E at the left edge, 180° in the middle.
#pragma once

#include <QImage>
#include <QPointF>
#include <QWidget>
#include <optional>

#include "app/region_box.h"

namespace tcmap {

class RegionMapView : public QWidget {
    Q_OBJECT

  public:
    explicit RegionMapView(QWidget* parent = nullptr);

    // A null image leaves the graticule alone on the dark sea colour.
    void setMap(const QImage& map);
    void setRegion(const RegionBox& box);
    const RegionBox& region() const { return region_; }

    // Where a point of the widget lies: latitude and longitude east of
    // Greenwich in [0, 360]; nothing outside the map.
    std::optional<QPointF> latLonAt(QPointF point) const;
    // The widget point of a latitude and an east longitude in [0, 360].
    QPointF pointAt(double latitude, double eastLongitude) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    // A rectangle drawn with the mouse, in whole tenths of a degree.
    void regionDrawn(const tcmap::RegionBox& box);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QRectF mapRect() const;
    QPointF clampToMap(QPointF point) const;

    QImage map_;
    RegionBox region_;
    std::optional<QPointF> dragStart_;
    QPointF dragEnd_;
};

}  // namespace tcmap
