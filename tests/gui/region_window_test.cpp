// The region window offscreen: basin presets, the hemisphere fields, a
// rectangle drawn with the mouse, and what OK refuses.
#include "gui/region_window.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QtTest>
#include <cstdlib>

#include "app/region_box.h"
#include "gui/region_map_view.h"
#include "gui/window_session.h"
#include "support/fake_prompter.h"
#include "support/window_test_folder.h"

using namespace tcmap;
using namespace tcmap::testing;

class RegionWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void presetsFillTheFields_data();
    void presetsFillTheFields();
    void aRubberBandFillsTheFields_data();
    void aRubberBandFillsTheFields();
    void aClickIsNoRectangle();
    void moreThan360DegreesIsRefused();
    void theSouthEdgeStaysOnTheMap();

  private:
    std::unique_ptr<RegionWindow> open(const char* code, const QImage& map = {});

    std::unique_ptr<WindowTestFolder> run_;
    FakePrompter prompter_;
};

void RegionWindowTest::init() {
    run_ = std::make_unique<WindowTestFolder>(
        std::initializer_list<const char*>{"zh-cn.lang", "en.lang"});
    prompter_ = FakePrompter();
}

std::unique_ptr<RegionWindow> RegionWindowTest::open(const char* code, const QImage& map) {
    run_->app->language.code = code;
    auto window =
        std::make_unique<RegionWindow>(run_->app->languagePack(), prompter_, map, nullptr);
    // Two pixels a degree, so the test's points fall on whole pixels.
    window->findChild<RegionMapView*>("map")->setFixedSize(720, 360);
    window->adjustSize();
    if (!openWindow(*window)) qFatal("the region window did not show");
    return window;
}

void RegionWindowTest::presetsFillTheFields_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("northSide");
    QTest::addColumn<QString>("westSide");
    QTest::newRow("North Atlantic") << 1 << "North Atlantic"
                                    << "60,-100,60,100"
                                    << "N"
                                    << "W";
    QTest::newRow("NE Pacific") << 2 << "Northeast Pacific"
                                << "40,-180,40,100"
                                << "N"
                                << "W";
    QTest::newRow("NW Pacific") << 3 << "Northwest Pacific"
                                << "60,100,60,80"
                                << "N"
                                << "E";
    QTest::newRow("North Indian") << 4 << "North Indian Ocean"
                                  << "30,40,30,60"
                                  << "N"
                                  << "E";
    QTest::newRow("South Indian") << 5 << "South Indian Ocean"
                                  << "0,30,40,80"
                                  << "N"
                                  << "E";
    QTest::newRow("Australian") << 6 << "Australian region"
                                << "0,90,40,70"
                                << "N"
                                << "E";
    QTest::newRow("South Pacific") << 7 << "South Pacific"
                                   << "0,160,40,90"
                                   << "N"
                                   << "E";
}

void RegionWindowTest::presetsFillTheFields() {
    QFETCH(int, item);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, northSide);
    QFETCH(QString, westSide);
    const auto window = open("en");
    auto* preset = window->findChild<QComboBox*>("preset");
    QCOMPARE(preset->count(), 8);
    // Chosen with the keyboard, as a user without a mouse would.
    preset->setFocus();
    preset->setCurrentIndex(0);
    for (int step = 0; step < item; ++step) QTest::keyClick(preset, Qt::Key_Down);
    QCOMPARE(preset->currentText(), name);
    QCOMPARE(QString::fromStdString(window->regionText()), text);
    QCOMPARE(window->findChild<QComboBox*>("northSide")->currentText(), northSide);
    QCOMPARE(window->findChild<QComboBox*>("westSide")->currentText(), westSide);
    // The map shows what the fields hold.
    QCOMPARE(QString::fromStdString(regionText(window->findChild<RegionMapView*>("map")->region())),
             text);

    // A field changed by hand is no longer the basin.
    window->findChild<QDoubleSpinBox*>("latExtent")->setValue(12);
    QCOMPARE(preset->currentIndex(), 0);
    QTest::mouseClick(window->findChild<QPushButton*>("ok"), Qt::LeftButton);
    QCOMPARE(window->result(), int(QDialog::Accepted));
}

void RegionWindowTest::aRubberBandFillsTheFields_data() {
    QTest::addColumn<QPointF>("from");  // latitude, east longitude 0..360
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<QString>("text");
    QTest::newRow("western Pacific") << QPointF(40, 120) << QPointF(10, 160) << "40,120,30,40";
    QTest::newRow("dragged up and left") << QPointF(10, 160) << QPointF(40, 120) << "40,120,30,40";
    QTest::newRow("Atlantic, west of Greenwich")
        << QPointF(30, 280) << QPointF(10, 300) << "30,-80,20,20";
    QTest::newRow("across the equator")
        << QPointF(10.5, 180) << QPointF(-20, 200.5) << "10.5,180,30.5,20.5";
    // Released beyond the map: the rectangle stops at its edge.
    QTest::newRow("past the south-east corner")
        << QPointF(-60, 300) << QPointF(-95, 370) << "-60,-60,30,60";
}

void RegionWindowTest::aRubberBandFillsTheFields() {
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    QFETCH(QString, text);
    const auto window = open("zh-cn");
    auto* view = window->findChild<RegionMapView*>("map");
    const QPoint press = view->pointAt(from.x(), from.y()).toPoint();
    const QPoint release = view->pointAt(to.x(), to.y()).toPoint();
    QTest::mousePress(view, Qt::LeftButton, {}, press);
    QTest::mouseMove(view, (press + release) / 2);
    QTest::mouseMove(view, release);
    QTest::mouseRelease(view, Qt::LeftButton, {}, release);
    QCOMPARE(QString::fromStdString(window->regionText()), text);
    QCOMPARE(QString::fromStdString(regionText(view->region())), text);
    QCOMPARE(window->findChild<QComboBox*>("preset")->currentIndex(), 0);

    // The README's picture of the window: TCMAP_SCREENSHOT_DIR=docs/screenshots.
    if (const char* screenshots = std::getenv("TCMAP_SCREENSHOT_DIR");
        screenshots != nullptr && QTest::currentDataTag() == QStringLiteral("western Pacific")) {
        const auto shown = open("zh-cn", QImage(TCMAP_SOURCE_DIR "/data/maps/world.png"));
        auto* map = shown->findChild<RegionMapView*>("map");
        QTest::mousePress(map, Qt::LeftButton, {}, map->pointAt(40, 100).toPoint());
        QTest::mouseMove(map, map->pointAt(0, 180).toPoint());
        QTest::mouseRelease(map, Qt::LeftButton, {}, map->pointAt(0, 180).toPoint());
        QVERIFY(shown->grab().save(QString::fromLocal8Bit(screenshots) + "/region_window.png"));
    }
}

void RegionWindowTest::aClickIsNoRectangle() {
    const auto window = open("en");
    window->setRegion(RegionBox{50, -30, 20, 40});
    auto* view = window->findChild<RegionMapView*>("map");
    const QPoint at = view->pointAt(20, 100).toPoint();
    QTest::mouseClick(view, Qt::LeftButton, {}, at);
    QCOMPARE(window->regionText(), std::string("50,-30,20,40"));
    // Pressed outside the map (the margins beside it) draws nothing either.
    view->setFixedSize(800, 360);
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(view, Qt::LeftButton, {}, view->pointAt(0, 180).toPoint());
    QCOMPARE(window->regionText(), std::string("50,-30,20,40"));
}

void RegionWindowTest::moreThan360DegreesIsRefused() {
    for (const char* code : {"en", "zh-cn"}) {
        prompter_ = FakePrompter();
        const auto window = open(code);
        auto* extent = window->findChild<QDoubleSpinBox*>("lonExtent");
        extent->setFocus();
        extent->selectAll();
        QTest::keyClicks(extent, "720");
        QCOMPARE(extent->value(), 720.0);
        QTest::mouseClick(window->findChild<QPushButton*>("ok"), Qt::LeftButton);
        // Refused with the reason; the window stays open on the same values.
        QVERIFY(window->isVisible());
        QCOMPARE(window->result(), int(QDialog::Rejected));
        QCOMPARE(prompter_.count("message"), size_t(1));
        const std::string& said = prompter_.shown[0].text;
        QVERIFY2(said.find("720") != std::string::npos && said.find("360") != std::string::npos,
                 said.c_str());
        QVERIFY(prompter_.shown[0].icon == Prompter::Icon::Warning);
        QCOMPARE(prompter_.shown[0].title, run_->app->languagePack().text(TextId::RegionTitle));

        // Exactly the whole world is a region a map can show.
        extent->setValue(360);
        QTest::mouseClick(window->findChild<QPushButton*>("ok"), Qt::LeftButton);
        QCOMPARE(window->result(), int(QDialog::Accepted));
        QCOMPARE(prompter_.count("message"), size_t(1));
        QCOMPARE(window->regionText(), std::string("60,100,60,360"));
    }
}

void RegionWindowTest::theSouthEdgeStaysOnTheMap() {
    const struct {
        double north;
        int side;  // 0 N, 1 S
        double asked;
        double kept;
    } rows[] = {{60, 0, 180, 150}, {10, 1, 100, 80}, {90, 0, 180, 180}, {0, 0, 45, 45}};
    const auto window = open("en");
    auto* north = window->findChild<QDoubleSpinBox*>("north");
    auto* side = window->findChild<QComboBox*>("northSide");
    auto* extent = window->findChild<QDoubleSpinBox*>("latExtent");
    for (const auto& row : rows) {
        north->setValue(row.north);
        side->setCurrentIndex(row.side);
        extent->setValue(row.asked);
        QCOMPARE(extent->value(), row.kept);
        QVERIFY(window->region().north - window->region().latExtent >= -90);
    }
}

QTEST_MAIN(RegionWindowTest)
#include "region_window_test.moc"
