// The settings window as a user drives it, offscreen, with the shipped
// language files.
#include "gui/settings_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QtTest>
#include <cstdlib>

#include "base/file_io.h"
#include "config/profile_store.h"
#include "gui/dialog_placement.h"
#include "gui/window_session.h"
#include "support/fake_prompter.h"
#include "support/window_test_folder.h"

using namespace tcmap;
using namespace tcmap::testing;

class SettingsWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void anEmptyFileShowsTheDefaultsOnTheWendrelPage();
    void saveStoresWhatIsShownAsTyped();
    void cancelWritesNothing();
    void changeFillsTheMapFieldOnly();
    void theClientAreaEndsAtSave();
    void bothPagesHaveTheirArchiveGroup();
    void agencyFieldsRoundTripThroughTheWindow();
    void vectorLandRoundTripsThroughTheWindow();
    void fitsTheScreenWithSaveAndCancelInReach();

  private:
    std::string settingsBytes() const { return readFileOrEmpty(app_->paths.settingsPath); }
    std::string stored(std::string_view key) const {
        return ProfileStore::read(app_->paths.settingsPath, "Borvane4", key, "<absent>");
    }

    std::unique_ptr<WindowTestFolder> run_;
    WindowSession* app_ = nullptr;
    FakePrompter prompter_;
};

void SettingsWindowTest::init() {
    run_ = std::make_unique<WindowTestFolder>(
        std::initializer_list<const char*>{"zh-cn.lang", "en.lang"});
    app_ = run_->app.get();
    prompter_ = FakePrompter();
}

void SettingsWindowTest::anEmptyFileShowsTheDefaultsOnTheWendrelPage() {
    QVERIFY(writeFileReplacing(app_->paths.settingsPath, ""));
    app_->style.mapPath = "/maps/world.png";
    SettingsWindow window(*app_, prompter_, nullptr);
    QVERIFY(openWindow(window));

    QCOMPARE(window.windowTitle(), QStringLiteral("路径图参数设置"));
    QCOMPARE(child<QComboBox>(window, "Mode")->currentIndex(), 0);
    QCOMPARE(child<QComboBox>(window, "Mode")->currentText(), QStringLiteral("Wendrel模式"));
    QCOMPARE(child<QStackedWidget>(window, "pages")->currentIndex(), 0);
    QCOMPARE(child<QLineEdit>(window, "Track")->text(), QStringLiteral("0.05"));
    QCOMPARE(child<QLineEdit>(window, "Point")->text(), QStringLiteral("0.4"));
    QCOMPARE(child<QLineEdit>(window, "Width")->text(), QStringLiteral("1920"));
    QCOMPARE(child<QLineEdit>(window, "Track1")->text(), QStringLiteral("2"));
    QCOMPARE(child<QLineEdit>(window, "Height1")->text(), QStringLiteral("900"));
    QCOMPARE(child<QLineEdit>(window, "Map")->text(), QStringLiteral("/maps/world.png"));
    QVERIFY(child<QCheckBox>(window, "SkipInvest")->isChecked());
    QVERIFY(child<QCheckBox>(window, "NewColor")->isChecked());
    QVERIFY(child<QCheckBox>(window, "ShowText1")->isChecked());
    QVERIFY(!child<QCheckBox>(window, "ShowGrid")->isChecked());
    QCOMPARE(child<QCheckBox>(window, "AllPoints")->text(), QStringLiteral("显示所有定位点"));

    auto* legends = child<QComboBox>(window, "DrawLegends");
    QCOMPARE(legends->count(), 6);
    QCOMPARE(legends->currentIndex(), 0);
    QCOMPARE(legends->itemText(5), QStringLiteral("自动"));
    QCOMPARE(child<QComboBox>(window, "DrawRad1")->count(), 4);
    QCOMPARE(child<QComboBox>(window, "tcvPriority")->count(), 1);
    QCOMPARE(child<QComboBox>(window, "tcvPriority")->currentText(), QStringLiteral("同时"));
    QCOMPARE(child<QLineEdit>(window, "tcvPointSize")->text(),
             QStringLiteral("根据路径宽度自动调整"));

    // The page follows the style list.
    child<QComboBox>(window, "Mode")->setCurrentIndex(1);
    QCOMPARE(child<QStackedWidget>(window, "pages")->currentIndex(), 1);
}

void SettingsWindowTest::saveStoresWhatIsShownAsTyped() {
    QVERIFY(
        writeFileReplacing(app_->paths.settingsPath,
                           "[Borvane4]\r\nSkipInvest=2\r\nDrawLegends=3\r\nDir=\"/tracks\"\r\n"));
    app_->language.code = "en";
    SettingsWindow window(*app_, prompter_, nullptr);
    QVERIFY(openWindow(window));
    QVERIFY(child<QCheckBox>(window, "SkipInvest")->isChecked());
    QCOMPARE(child<QComboBox>(window, "DrawLegends")->currentIndex(), 3);

    auto* width = child<QLineEdit>(window, "Width");
    width->clear();
    QTest::keyClicks(width, "12abc");
    child<QComboBox>(window, "Mode")->setCurrentIndex(1);
    child<QComboBox>(window, "DrawRad1")->setCurrentIndex(2);
    child<QCheckBox>(window, "ShowText1")->setChecked(false);
    child<QLineEdit>(window, "Map1")->setText(QStringLiteral("/maps/a b.png"));
    child<QLineEdit>(window, "tcvPointSize")->setText(QStringLiteral("9"));  // read-only anyway
    QTest::mouseClick(child<QPushButton>(window, "save"), Qt::LeftButton);

    QCOMPARE(window.result(), int(QDialog::Accepted));
    QVERIFY(app_->style.tcv);
    QCOMPARE(app_->style.mapPath1, std::string("/maps/a b.png"));
    QCOMPARE(stored("Mode"), std::string("1"));
    QCOMPARE(stored("Width"), std::string("12abc"));
    QCOMPARE(stored("SkipInvest"), std::string("1"));
    QCOMPARE(stored("DrawLegends"), std::string("3"));
    QCOMPARE(stored("DrawRad1"), std::string("2"));
    QCOMPARE(stored("ShowText1"), std::string("0"));
    QCOMPARE(stored("Dir"), std::string("/tracks"));
    QCOMPARE(stored("Point1"), std::string("<absent>"));
    QCOMPARE(stored("Priority1"), std::string("<absent>"));
    const std::string bytes = settingsBytes();
    QVERIFY(bytes.find("Map1=\"/maps/a b.png\"\r\n") != std::string::npos);
    QVERIFY(bytes.find("Track=0.05\r\n") != std::string::npos);

    // Opening again shows the saved values and the TCV page.
    SettingsWindow again(*app_, prompter_, nullptr);
    QCOMPARE(child<QLineEdit>(again, "Width")->text(), QStringLiteral("12abc"));
    QCOMPARE(child<QStackedWidget>(again, "pages")->currentIndex(), 1);
    QVERIFY(!child<QCheckBox>(again, "ShowText1")->isChecked());
}

void SettingsWindowTest::cancelWritesNothing() {
    QVERIFY(writeFileReplacing(app_->paths.settingsPath, "[Borvane4]\nMode=0\nTrack=0.1\n"));
    const std::string before = settingsBytes();
    app_->style.mapPath = "/maps/w.png";
    SettingsWindow window(*app_, prompter_, nullptr);
    QVERIFY(openWindow(window));
    child<QComboBox>(window, "Mode")->setCurrentIndex(1);
    child<QLineEdit>(window, "Track")->setText(QStringLiteral("7"));
    child<QLineEdit>(window, "Map")->setText(QStringLiteral("/maps/other.png"));
    QTest::mouseClick(child<QPushButton>(window, "cancel"), Qt::LeftButton);

    QCOMPARE(window.result(), int(QDialog::Rejected));
    QCOMPARE(settingsBytes(), before);
    QVERIFY(!app_->style.tcv);
    QCOMPARE(app_->style.mapPath, std::string("/maps/w.png"));
}

void SettingsWindowTest::changeFillsTheMapFieldOnly() {
    app_->style.mapPath = "/maps/old.png";
    prompter_.paths = {std::string("/maps/new.png"), std::nullopt};
    SettingsWindow window(*app_, prompter_, nullptr);
    QVERIFY(openWindow(window));
    auto* change = child<QPushButton>(window, "changeMap");
    QCOMPARE(change->text(), QStringLiteral("更改"));
    QTest::mouseClick(change, Qt::LeftButton);
    QCOMPARE(child<QLineEdit>(window, "Map")->text(), QStringLiteral("/maps/new.png"));
    QTest::mouseClick(change, Qt::LeftButton);  // cancelled: the field stays
    QCOMPARE(child<QLineEdit>(window, "Map")->text(), QStringLiteral("/maps/new.png"));

    QCOMPARE(prompter_.count("open"), size_t{2});
    QCOMPARE(prompter_.shown[0].title, std::string("请选择地图文件（0°—180°—0°类型）:"));
    QVERIFY(prompter_.shown[0].text.starts_with("常用图片文件"));
    QVERIFY(prompter_.shown[0].text.ends_with("|\n/maps/old.png"));
    QCOMPARE(app_->style.mapPath, std::string("/maps/old.png"));
    QVERIFY(!pathExists(app_->paths.settingsPath));
}

void SettingsWindowTest::theClientAreaEndsAtSave() {
    for (const char* code : {"zh-cn", "en"}) {
        app_->language.code = code;
        SettingsWindow window(*app_, prompter_, nullptr);
        QVERIFY(openWindow(window));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* save = child<QPushButton>(window, "save");
        // On a screen lower than the window the fields scroll beside their bar.
        const QScrollBar* bar = child<QScrollArea>(window, "scroll")->verticalScrollBar();
        const bool scrolls = bar->maximum() > 0;
        QCOMPARE(scrolls, window.height() >= screenRoom(nullptr).height());
        if (QGuiApplication::primaryScreen()->size().height() >= 1200) QVERIFY(!scrolls);
        QCOMPARE(window.width(), scrolls ? 384 + bar->sizeHint().width() : 384);
        QCOMPARE(save->mapTo(&window, QPoint(0, save->height())).y(), window.height());
        // Every label fits: nothing is squeezed below what it asks for.
        for (QWidget* widget : window.findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(&window)) continue;
            QVERIFY2(widget->width() >= widget->minimumSizeHint().width(),
                     qPrintable(widget->objectName()));
        }
    }
}

void SettingsWindowTest::bothPagesHaveTheirArchiveGroup() {
    QVERIFY(writeFileReplacing(app_->paths.settingsPath, "[Archive]\r\nYears=2015\r\n"));
    SettingsWindow window(*app_, prompter_, nullptr);
    QVERIFY(openWindow(window));
    const auto groups = window.findChildren<QGroupBox*>(QStringLiteral("archiveGroup"));
    QCOMPARE(groups.size(), qsizetype{2});
    for (QGroupBox* group : groups) QCOMPARE(group->title(), QStringLiteral("档案风暴选择"));
    // Each page's fields sit in its own group.
    auto* pages = child<QStackedWidget>(window, "pages");
    QWidget* years = child<QLineEdit>(window, "Years");
    QWidget* storms1 = child<QLineEdit>(window, "Storms1");
    QVERIFY(groups.contains(qobject_cast<QGroupBox*>(years->parentWidget())));
    QVERIFY(groups.contains(qobject_cast<QGroupBox*>(storms1->parentWidget())));
    QVERIFY(pages->widget(0)->isAncestorOf(years));
    QVERIFY(pages->widget(1)->isAncestorOf(storms1));
    QCOMPARE(child<QLineEdit>(window, "Years")->text(), QStringLiteral("2015"));

    child<QLineEdit>(window, "Basins")->setText(QStringLiteral("EP,CP"));
    child<QLineEdit>(window, "Storms1")->setText(QStringLiteral("1909"));
    QTest::mouseClick(child<QPushButton>(window, "save"), Qt::LeftButton);
    const auto archive = [this](const char* key) {
        return ProfileStore::read(app_->paths.settingsPath, "Archive", key, "<absent>");
    };
    QCOMPARE(archive("Years"), std::string("2015"));
    QCOMPARE(archive("Basins"), std::string("EP,CP"));
    QCOMPARE(archive("Storms"), std::string(""));
    QCOMPARE(archive("Storms1"), std::string("1909"));
    QCOMPARE(stored("Basins"), std::string("<absent>"));

    // The TCV page's forecast group stores into [Forecast].
    auto* forecastGroup = child<QGroupBox>(window, "forecastGroup");
    QVERIFY(pages->widget(1)->isAncestorOf(forecastGroup));
    QCOMPARE(forecastGroup->title(), QStringLiteral("预报（a-deck）"));
    child<QLineEdit>(window, "Cycle")->setText(QStringLiteral("latest"));
    child<QCheckBox>(window, "Swath")->setChecked(true);
    child<QPushButton>(window, "save")->click();
    QCOMPARE(ProfileStore::read(app_->paths.settingsPath, "Forecast", "Cycle", ""),
             std::string("latest"));
    QCOMPARE(ProfileStore::read(app_->paths.settingsPath, "Forecast", "Swath", ""),
             std::string("1"));
}

void SettingsWindowTest::agencyFieldsRoundTripThroughTheWindow() {
    QVERIFY(writeFileReplacing(app_->paths.settingsPath,
                               "[Agencies]\r\nScale=JMA\r\nAgencies=cma,jma\r\n"));
    app_->language.code = "en";
    SettingsWindow window(*app_, prompter_, nullptr);
    QVERIFY(openWindow(window));
    // One group under the pages, for both styles.
    auto* group = child<QGroupBox>(window, "agenciesGroup");
    QCOMPARE(group->title(), QStringLiteral("Agencies compared"));
    QVERIFY(!child<QStackedWidget>(window, "pages")->isAncestorOf(group));
    auto* scale = child<QComboBox>(window, "Scale");
    auto* winds = child<QComboBox>(window, "Winds");
    QCOMPARE(scale->currentText(), QStringLiteral("JMA (Japan)"));
    QCOMPARE(scale->count(), 3);
    QCOMPARE(winds->currentText(), QStringLiteral("As given"));
    QCOMPARE(winds->count(), 4);
    QCOMPARE(child<QLineEdit>(window, "Agencies")->text(), QStringLiteral("cma,jma"));
    QCOMPARE(child<QLineEdit>(window, "TenFromTwoMinute")->text(), QStringLiteral("0.96"));
    // Each field, its label too, names its key for those who edit the file.
    const struct {
        const char* name;
        const char* tip;
    } tips[] = {{"Scale", "Scale in [Agencies] of Settings.ini"},
                {"Track1", "Track1 in [Borvane4] of Settings.ini"},
                {"Years", "Years in [Archive] of Settings.ini"},
                {"changeMap", "Map in [Borvane4] of Settings.ini"},
                {"MarkDifferences", "MarkDifferences in [Agencies] of Settings.ini"},
                {"VectorLand", "VectorLand in [Borvane4] of Settings.ini"}};
    for (const auto& row : tips) {
        QCOMPARE(child<QWidget>(window, row.name)->toolTip(), QString::fromUtf8(row.tip));
    }
    QCOMPARE(child<QWidget>(window, "tcvPointSize")->toolTip(), QString());

    // The README's picture of the agency fields: TCMAP_SCREENSHOT_DIR=docs/screenshots.
    if (const char* screenshots = std::getenv("TCMAP_SCREENSHOT_DIR")) {
        child<QScrollArea>(window, "scroll")->ensureWidgetVisible(group);
        QVERIFY(window.grab().save(QString::fromLocal8Bit(screenshots) +
                                   "/settings_window_agencies_en.png"));
    }

    scale->setCurrentIndex(1);
    winds->setCurrentIndex(2);
    child<QLineEdit>(window, "TenFromOneMinute")->setText(QStringLiteral("0.88"));
    child<QLineEdit>(window, "Agencies")->setText(QStringLiteral("JTWC"));
    child<QCheckBox>(window, "MarkDifferences")->setChecked(true);
    QTest::mouseClick(child<QPushButton>(window, "save"), Qt::LeftButton);
    const auto agencies = [this](const char* key) {
        return ProfileStore::read(app_->paths.settingsPath, "Agencies", key, "<absent>");
    };
    QCOMPARE(agencies("Scale"), std::string("cma"));
    QCOMPARE(agencies("Winds"), std::string("2min"));
    QCOMPARE(agencies("TenFromOneMinute"), std::string("0.88"));
    QCOMPARE(agencies("TenFromTwoMinute"), std::string("0.96"));
    QCOMPARE(agencies("Agencies"), std::string("JTWC"));
    QCOMPARE(agencies("MarkDifferences"), std::string("1"));

    // Opened again, in Chinese, the window shows what was saved.
    app_->language.code = "zh-cn";
    SettingsWindow again(*app_, prompter_, nullptr);
    QCOMPARE(child<QComboBox>(again, "Scale")->currentText(), QStringLiteral("中国气象局"));
    QCOMPARE(child<QComboBox>(again, "Winds")->currentIndex(), 2);
    QCOMPARE(child<QLineEdit>(again, "TenFromOneMinute")->text(), QStringLiteral("0.88"));
    QVERIFY(child<QCheckBox>(again, "MarkDifferences")->isChecked());
}

// One box under both pages; a stored value other than 0 or 1 shows the
// default (off), and each state goes out and comes back through the window.
void SettingsWindowTest::vectorLandRoundTripsThroughTheWindow() {
    QVERIFY(writeFileReplacing(app_->paths.settingsPath,
                               "[Borvane4]\r\nVectorLand=2\r\nDir=\"/tracks\"\r\n"));
    SettingsWindow window(*app_, prompter_, nullptr);
    QVERIFY(openWindow(window));
    auto* group = child<QGroupBox>(window, "vectorMapsGroup");
    QCOMPARE(group->title(), QStringLiteral("PDF 和 SVG 地图"));
    QVERIFY(!child<QStackedWidget>(window, "pages")->isAncestorOf(group));
    auto* box = child<QCheckBox>(window, "VectorLand");
    QVERIFY(group->isAncestorOf(box));
    QCOMPARE(box->text(), QStringLiteral("陆地绘制为矢量图形（仅限自带地图）"));
    QVERIFY(!box->isChecked());

    // The README's picture of the box: TCMAP_SCREENSHOT_DIR=docs/screenshots.
    if (const char* screenshots = std::getenv("TCMAP_SCREENSHOT_DIR")) {
        app_->language.code = "en";
        SettingsWindow english(*app_, prompter_, nullptr);
        QVERIFY(openWindow(english));
        child<QCheckBox>(english, "VectorLand")->setChecked(true);  // shown, never saved
        child<QScrollArea>(english, "scroll")
            ->ensureWidgetVisible(child<QGroupBox>(english, "vectorMapsGroup"));
        QVERIFY(english.grab().save(QString::fromLocal8Bit(screenshots) +
                                    "/settings_window_vector_land_en.png"));
        app_->language.code = "zh-cn";
    }

    for (const bool ticked : {true, false}) {
        SettingsWindow shown(*app_, prompter_, nullptr);
        QVERIFY(openWindow(shown));
        QCOMPARE(child<QCheckBox>(shown, "VectorLand")->isChecked(), !ticked);
        // Whichever style is shown, the one key is stored.
        child<QComboBox>(shown, "Mode")->setCurrentIndex(ticked ? 1 : 0);
        child<QCheckBox>(shown, "VectorLand")->setChecked(ticked);
        QTest::mouseClick(child<QPushButton>(shown, "save"), Qt::LeftButton);
        QCOMPARE(stored("VectorLand"), std::string(ticked ? "1" : "0"));
        QCOMPARE(stored("Dir"), std::string("/tracks"));
    }
    SettingsWindow again(*app_, prompter_, nullptr);
    QVERIFY(!child<QCheckBox>(again, "VectorLand")->isChecked());
}

// Run on the test's own screen, and again on a 1600 x 1000 screen at scale
// factor 2 (see tests/CMakeLists.txt), where the fields must scroll.
void SettingsWindowTest::fitsTheScreenWithSaveAndCancelInReach() {
    if (qEnvironmentVariable("QT_SCALE_FACTOR") == QStringLiteral("2")) {
        QCOMPARE(QGuiApplication::primaryScreen()->geometry().size(), QSize(800, 500));
        QCOMPARE(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0);
    }
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const char* code : {"zh-cn", "en"}) {
        app_->language.code = code;
        SettingsWindow window(*app_, prompter_, nullptr);
        QVERIFY(openWindow(window));
        QVERIFY2(screen.contains(window.geometry()),
                 qPrintable(QStringLiteral("%1x%2").arg(window.width()).arg(window.height())));
        for (const char* name : {"save", "cancel"}) {
            auto* button = child<QPushButton>(window, name);
            const QRect onWindow(button->mapTo(&window, QPoint(0, 0)), button->size());
            QVERIFY2(window.rect().contains(onWindow), name);
            QVERIFY(button->isVisible());
        }
        // The fields under the pages, the last one too, scroll into view;
        // nothing is squeezed or cut.
        auto* scroll = child<QScrollArea>(window, "scroll");
        for (const char* name : {"VectorLand", "MarkDifferences"}) {
            auto* box = child<QCheckBox>(window, name);
            scroll->ensureWidgetVisible(box);
            const QRect onView(box->mapTo(scroll->viewport(), QPoint(0, 0)), box->size());
            QVERIFY2(scroll->viewport()->rect().contains(onView), name);
            QVERIFY2(box->width() >= box->minimumSizeHint().width(), name);
        }
        QCOMPARE(scroll->horizontalScrollBar()->maximum(), 0);
        // Saving from the fitted window still stores the fields.
        child<QLineEdit>(window, "Agencies")->setText(QStringLiteral("JMA"));
        QTest::mouseClick(child<QPushButton>(window, "save"), Qt::LeftButton);
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(ProfileStore::read(app_->paths.settingsPath, "Agencies", "Agencies", ""),
                 std::string("JMA"));
    }
}

QTEST_MAIN(SettingsWindowTest)
#include "settings_window_test.moc"
