// The drawing panel: log lines and their scrolling, and zooming and panning
// the finished map.
#include "gui/draw_panel.h"

#include <QFontMetrics>
#include <QTest>
#include <QWheelEvent>
#include <cmath>

#include "app/main_view.h"
#include "gui/banner_picture.h"
#include "render/canvas/canvas.h"

using namespace tcmap;

namespace {

bool hasColour(const QImage& image, QRect area, QColor colour) {
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) == colour) return true;
        }
    }
    return false;
}

QImage mapPicture(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(30, 70, 140));
    return image;
}

void wheel(DrawPanel& panel, QPointF at, int notches) {
    QWheelEvent event(at, panel.mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&panel, &event);
}

}  // namespace

class DrawPanelTest : public QObject {
    Q_OBJECT

  private slots:
    void linesMoveDownByTheirHeightAndTwoPixels();
    void aLineThatWouldPassTheBottomScrollsTheLogUp();
    void theMapIsFittedAndZoomsAroundTheCursor();
    void panningStopsAtTheMapEdges();
    void theScaledMapIsMadeOncePerZoomLevel();
    void mapIsSharpAtTheDevicePixelRatio();
    void theBannerHasOnePixelPerScreenPixel();
};

void DrawPanelTest::linesMoveDownByTheirHeightAndTwoPixels() {
    DrawPanel panel;
    panel.resize(400, 300);
    panel.setTextPosition(5, 10);
    panel.setFontSize(10);
    const int height = QFontMetrics(panel.logFont()).height();
    panel.setTextColour(rgb(255, 255, 0));
    panel.writeLine(QStringLiteral("one"));
    QCOMPARE(panel.textPosition(), QPoint(5, 10 + height + 2));
    // CR LF and LF both break lines; a break at the end starts no line.
    panel.writeLine(QStringLiteral("two\r\nthree\nfour\r\n"));
    QCOMPARE(panel.textPosition().y(), 10 + 4 * (height + 2));
    QCOMPARE(panel.lines(), QStringList({"one", "two", "three", "four"}));

    // Lines keep the colour they were written in.
    const QImage shown = panel.grab().toImage();
    QVERIFY(hasColour(shown, QRect(5, 10, 60, height), QColor(255, 255, 0)));

    panel.clear();
    QVERIFY(panel.lines().isEmpty());
    QCOMPARE(panel.textPosition(), QPoint(0, 0));
    QVERIFY(!hasColour(panel.grab().toImage(), panel.rect(), QColor(255, 255, 0)));
}

void DrawPanelTest::aLineThatWouldPassTheBottomScrollsTheLogUp() {
    DrawPanel panel;
    panel.resize(300, 120);
    panel.setFontSize(10);
    const int height = QFontMetrics(panel.logFont()).height();
    panel.setTextColour(rgb(255, 0, 0));
    panel.writeLine(QStringLiteral("first line, in red"));
    panel.setTextColour(rgb(0, 255, 0));
    for (int i = 0; i < 30; ++i) panel.writeLine(QStringLiteral("later line %1").arg(i));

    // The last line sits at the bottom; the first has scrolled away.
    QVERIFY(panel.textPosition().y() <= 120 + 2);
    QVERIFY(panel.textPosition().y() >= 120 - height);
    const QImage shown = panel.grab().toImage();
    QVERIFY(!hasColour(shown, shown.rect(), QColor(255, 0, 0)));
    QVERIFY(hasColour(shown, QRect(0, 120 - height - 2, 150, height + 2), QColor(0, 255, 0)));
    QCOMPARE(panel.lines().size(), 31);
}

void DrawPanelTest::theMapIsFittedAndZoomsAroundTheCursor() {
    DrawPanel panel;
    panel.resize(400, 300);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    panel.setPicture(mapPicture(800, 400), kMapPictureLayout);
    QVERIFY(panel.showsMap());
    QVERIFY(panel.fitted());
    QCOMPARE(panel.zoom(), 0.5);
    QCOMPARE(panel.mapOrigin(), QPointF(0, 50));

    // The picture point under the cursor stays under it.
    const QPointF cursor(150, 120);
    const QPointF before = (cursor - panel.mapOrigin()) / panel.zoom();
    wheel(panel, cursor, 3);
    QVERIFY(!panel.fitted());
    QCOMPARE(panel.zoom(), 0.5 * std::pow(DrawPanel::kZoomStep, 3));
    const QPointF after = (cursor - panel.mapOrigin()) / panel.zoom();
    QVERIFY(qAbs(after.x() - before.x()) < 1e-9 && qAbs(after.y() - before.y()) < 1e-9);

    // Zooming out past the fitted size snaps back to fitting, which then
    // follows resizes.
    wheel(panel, cursor, -5);
    QVERIFY(panel.fitted());
    panel.resize(200, 300);
    QCOMPARE(panel.zoom(), 0.25);
    QCOMPARE(panel.mapOrigin(), QPointF(0, 100));

    panel.zoomBy(1000.0, QPointF(0, 0));
    QCOMPARE(panel.zoom(), DrawPanel::kMaxZoom);

    // A map smaller than the panel is shown 1:1 in the middle.
    panel.setPicture(mapPicture(100, 50), kMapPictureLayout);
    QCOMPARE(panel.zoom(), 1.0);
    QCOMPARE(panel.mapOrigin(), QPointF(50, 125));

    // Any other layout shows the picture unscaled at the top-left corner,
    // without zoom.
    panel.clear();
    panel.setPicture(mapPicture(100, 50), 0);
    QVERIFY(!panel.showsMap());
    wheel(panel, cursor, 3);
    QCOMPARE(panel.zoom(), 1.0);
    QCOMPARE(panel.grab().toImage().pixelColor(99, 49), QColor(30, 70, 140));
}

void DrawPanelTest::panningStopsAtTheMapEdges() {
    DrawPanel panel;
    panel.resize(400, 300);
    panel.setPicture(mapPicture(800, 400), kMapPictureLayout);
    panel.zoomActualSize();
    QCOMPARE(panel.zoom(), 1.0);
    QCOMPARE(panel.mapOrigin(), QPointF(-200, -50));

    QTest::mousePress(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseMove(&panel, QPoint(150, 110));
    QCOMPARE(panel.mapOrigin(), QPointF(-150, -40));
    // Far beyond an edge: the map's corner stops at the panel's corner.
    QTest::mouseMove(&panel, QPoint(399, 299));
    QCOMPARE(panel.mapOrigin(), QPointF(0, 0));
    QTest::mouseRelease(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(399, 299));
    QTest::mousePress(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(350, 250));
    QTest::mouseMove(&panel, QPoint(-100, -100));
    QCOMPARE(panel.mapOrigin(), QPointF(-400, -100));
    QTest::mouseRelease(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(-100, -100));

    // Double-click goes back to fitting.
    QTest::mouseDClick(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QVERIFY(panel.fitted());
}

void DrawPanelTest::theScaledMapIsMadeOncePerZoomLevel() {
    DrawPanel panel;
    panel.resize(400, 300);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    panel.setPicture(mapPicture(1600, 800), kMapPictureLayout);
    QTRY_VERIFY(!panel.scaledMap().isNull());
    QCOMPARE(panel.scaledMap().size(), QSize(400, 200));
    const qint64 first = panel.scaledMap().cacheKey();
    for (int i = 0; i < 3; ++i) panel.repaint();
    QCOMPARE(panel.scaledMap().cacheKey(), first);

    panel.zoomBy(DrawPanel::kZoomStep, QPointF(200, 150));
    QTRY_COMPARE(panel.scaledMap().size(), QSize(500, 250));
    const qint64 second = panel.scaledMap().cacheKey();
    QVERIFY(second != first);
    panel.repaint();
    QCOMPARE(panel.scaledMap().cacheKey(), second);

    // At 1:1 and above the picture is drawn directly, without a copy.
    panel.zoomActualSize();
    QVERIFY(panel.scaledMap().isNull());
    QCOMPARE(panel.grab().toImage().pixelColor(200, 150), QColor(30, 70, 140));
}

// Run at the test's own scale and again at scale factor 2 (see
// tests/CMakeLists.txt): 1:1 is one map pixel per screen pixel, and the
// fitted copy is made in screen pixels.
void DrawPanelTest::mapIsSharpAtTheDevicePixelRatio() {
    // One-pixel stripes: any enlargement or blur shows in the screen's pixels.
    QImage stripes(200, 100, QImage::Format_ARGB32_Premultiplied);
    for (int x = 0; x < stripes.width(); ++x) {
        for (int y = 0; y < stripes.height(); ++y)
            stripes.setPixel(x, y, x % 2 ? 0xFFFFFFFF : 0xFF000000);
    }
    DrawPanel panel;
    panel.resize(400, 300);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    const double ratio = panel.devicePixelRatioF();
    if (qEnvironmentVariable("QT_SCALE_FACTOR") == QStringLiteral("2")) QCOMPARE(ratio, 2.0);
    panel.setPicture(stripes, kMapPictureLayout);
    // Small enough to fit: shown at its own pixels, no larger.
    QCOMPARE(panel.zoom(), 1.0 / ratio);
    QImage screen = panel.grab().toImage();
    QCOMPARE(screen.size(), QSize(400, 300) * ratio);
    const QPoint corner = (panel.mapOrigin() * ratio).toPoint();
    for (int x = 0; x < stripes.width(); ++x) {
        const QColor expected = x % 2 ? Qt::white : Qt::black;
        QCOMPARE(screen.pixelColor(corner.x() + x, corner.y() + 50), expected);
    }

    // Fitted into a smaller panel: the copy has the screen's pixels.
    panel.resize(50, 100);
    QVERIFY(panel.fitted());
    QCOMPARE(panel.zoom(), 0.25);
    QTRY_VERIFY(!panel.scaledMap().isNull());
    QCOMPARE(panel.scaledMap().size(), (QSizeF(50, 25) * ratio).toSize());
    QCOMPARE(panel.scaledMap().devicePixelRatio(), ratio);

    // Ctrl+1 and a double-click give one map pixel per screen pixel again.
    panel.zoomActualSize();
    QCOMPARE(panel.zoom(), 1.0 / ratio);
    panel.zoomToFit();
    QTest::mouseDClick(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(25, 50));
    QCOMPARE(panel.zoom(), 1.0 / ratio);
    QVERIFY(panel.scaledMap().isNull());
}

// The idle banner is drawn for the screen's pixel ratio and shown unscaled:
// each of its pixels is one pixel of the screen, on a plain or a 2x screen.
void DrawPanelTest::theBannerHasOnePixelPerScreenPixel() {
    DrawPanel panel;
    panel.resize(kBannerWidth + 20, kBannerHeight + 40);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    const double ratio = panel.devicePixelRatioF();
    if (qEnvironmentVariable("QT_SCALE_FACTOR") == QStringLiteral("2")) QCOMPARE(ratio, 2.0);
    const QImage banner = makeBannerPicture(ratio).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(banner.size(), (QSizeF(kBannerWidth, kBannerHeight) * ratio).toSize());
    panel.setPicture(makeBannerPicture(ratio), 0);
    const QImage screen = panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    for (int y = 0; y < banner.height(); ++y) {
        for (int x = 0; x < banner.width(); ++x)
            differing += screen.pixel(x, y) != banner.pixel(x, y);
    }
    QCOMPARE(differing, 0);
    // Out of range ratios draw the plain banner rather than a huge or empty one.
    for (const qreal odd : {0.0, -2.0, 100.0})
        QCOMPARE(makeBannerPicture(odd).size(), QSize(kBannerWidth, kBannerHeight));
}

QTEST_MAIN(DrawPanelTest)
#include "draw_panel_test.moc"
