#include "gui/banner_picture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <array>

namespace tcmap {

namespace {

void drawCycloneSymbol(QPainter& painter, QPointF centre) {
    QPen pen(QColor(235, 245, 255), 7.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, 11.0, 11.0);
    // Two arms turning counter-clockwise, as on a northern-hemisphere chart.
    QPainterPath arms;
    arms.moveTo(centre + QPointF(11, 0));
    arms.quadTo(centre + QPointF(15, -30), centre + QPointF(-17, -31));
    arms.moveTo(centre + QPointF(-11, 0));
    arms.quadTo(centre + QPointF(-15, 30), centre + QPointF(17, 31));
    painter.drawPath(arms);
}

void drawSampleTrack(QPainter& painter) {
    // A recurving track, weak to strong and back, like the markers of a map.
    struct Fix {
        double x, y;
        QColor colour;
    };
    const std::array<Fix, 9> fixes{{
        {352, 92, QColor(94, 186, 255)},
        {376, 86, QColor(0, 250, 244)},
        {398, 77, QColor(255, 255, 204)},
        {416, 65, QColor(255, 231, 117)},
        {430, 52, QColor(255, 193, 64)},
        {440, 39, QColor(255, 143, 32)},
        {446, 27, QColor(255, 96, 96)},
        {456, 17, QColor(255, 193, 64)},
        {468, 11, QColor(0, 250, 244)},
    }};
    QPainterPath line;
    line.moveTo(fixes[0].x, fixes[0].y);
    for (size_t i = 1; i < fixes.size(); ++i) line.lineTo(fixes[i].x, fixes[i].y);
    painter.setPen(QPen(QColor(255, 255, 255, 200), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(line);
    painter.setPen(QPen(QColor(20, 30, 40), 1.0));
    for (const Fix& fix : fixes) {
        painter.setBrush(fix.colour);
        painter.drawEllipse(QPointF(fix.x, fix.y), 4.5, 4.5);
    }
}

}  // namespace

QImage makeBannerPicture(qreal devicePixelRatio) {
    const qreal ratio = devicePixelRatio >= 1.0 && devicePixelRatio <= 8.0 ? devicePixelRatio : 1.0;
    QImage banner(QSize(kBannerWidth, kBannerHeight) * ratio, QImage::Format_ARGB32_Premultiplied);
    banner.setDevicePixelRatio(ratio);  // the painter below works in logical pixels
    QPainter painter(&banner);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, kBannerWidth, kBannerHeight);
    sky.setColorAt(0.0, QColor(18, 52, 96));
    sky.setColorAt(0.6, QColor(14, 34, 62));
    sky.setColorAt(1.0, QColor(15, 23, 31));
    painter.fillRect(QRect(0, 0, kBannerWidth, kBannerHeight), sky);
    // A thin rule along the bottom edge sets the banner off from the log.
    painter.fillRect(QRect(0, kBannerHeight - 3, kBannerWidth, 3), QColor(0, 136, 255));

    drawCycloneSymbol(painter, QPointF(52, 50));

    QFont title("Microsoft Yahei UI");
    title.setPixelSize(40);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(QColor(235, 245, 255));
    painter.drawText(QPointF(100, 54), QStringLiteral("tcmap"));

    QFont subtitle("Microsoft Yahei UI");
    subtitle.setPixelSize(15);
    painter.setFont(subtitle);
    painter.setPen(QColor(127, 191, 255));
    painter.drawText(QPointF(102, 80), QStringLiteral("Tropical cyclone track maps"));

    drawSampleTrack(painter);
    painter.end();
    return banner;
}

}  // namespace tcmap
