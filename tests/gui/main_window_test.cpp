// The main window's menus, title and commands, with a scripted prompter and
// a stand-in job where the command, not the drawing, is under test.
#include "gui/main_window.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProxyStyle>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStyleOptionMenuItem>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <thread>

#include "app/main_commands.h"
#include "base/file_io.h"
#include "gui/draw_panel.h"
#include "gui/file_list_window.h"
#include "gui/main_window_fixture.h"
#include "gui/region_window.h"
#include "gui/window_session.h"
#include "i18n/language_pack.h"
#include "render/canvas/canvas.h"
#include "render/canvas/picture.h"
#include "support/fake_prompter.h"

using namespace tcmap;
using tcmap::testing::MainWindowFixture;

namespace {

using Item = MainWindow::Item;

// Runs `act` on the region window as soon as the event loop shows it
// modal: checked on every pass of the loop, so no waiting on a clock.
void whenRegionWindowOpens(std::function<void(RegionWindow&)> act) {
    auto* poll = new QTimer;
    poll->setInterval(0);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act = std::move(act)] {
        auto* shown = qobject_cast<RegionWindow*>(QApplication::activeModalWidget());
        if (shown == nullptr || !shown->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        act(*shown);
    });
    poll->start();
}

// A job that only does what every job does at its end.
struct RecordingJob {
    std::atomic<int> runs{0};
    std::atomic<int> lastMode{-1};

    DrawJobRunner runner() {
        return [this](WindowSession& app, MainView& view, DrawMode mode) {
            lastMode = int(mode);
            ++runs;
            view.enableMenus(true);
            app.jobRunning = false;
            view.refreshTitle();
        };
    }
};

QString text(const MainWindowFixture& folder, TextId id) {
    return QString::fromStdString((folder.app).languagePack().text(id));
}

std::vector<uint8_t> pngBytes(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(200, 100, 50));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void menuTreeHasItsCaptionsAndShortcuts();
    void shortcutsRunCommandsOnlyWhileNoJobRuns();
    void titleNamesTheFilesAndTheMap();
    void titleFollowsEveryChangeOfTheFileListAtOnce();
    void menusShowEachShortcutOnce();
    void drawingWithoutFilesWarnsAndStartsNothing();
    void regionPromptRefusesFlatRegionsAndStoresNormalisedOnes();
    void dropsReplaceTheFilesAndDrawOnlyWithAutoDraw();
    void openedFilesAreDrawnAsTheAutoDrawItemSays();
    void changeMapStoresTheMapOfTheCurrentStyle();
    void backgroundColourIsWrittenOnlyWhenItChanges();
    void clearDisplayShowsTheIdlePictureAgainAfterResizes();
    void callsFromAJobThreadArriveInOrder();
    void startDrawingDrawsRealFilesAndShowsTheMap();
    void warningsOfAJobStayInTheMessagesPanel();
    void helpShowsTheKeysOfTheMenusAndTheVersion();
};

void MainWindowTest::menuTreeHasItsCaptionsAndShortcuts() {
    MainWindowFixture folder;
    FakePrompter prompter;
    MainWindow window(folder.app, prompter, RecordingJob().runner());
    window.applyMainTexts();

    const QList<QAction*> top = window.menuBar()->actions();
    QCOMPARE(top.size(), 4);
    QCOMPARE(top[0]->text(), text(folder, TextId::FileMenu));
    QCOMPARE(top[1]->text(), text(folder, TextId::DrawMenu));
    QCOMPARE(top[2]->text(), text(folder, TextId::LanguageMenu));
    QCOMPARE(top[3]->text(), text(folder, TextId::HelpMenu));

    struct Expected {
        QString caption;  // empty: a separator
        QKeySequence shortcut;
    };
    auto check = [&](QMenu* menu, const std::vector<Expected>& expected) {
        const QList<QAction*> items = menu->actions();
        QCOMPARE(items.size(), qsizetype(expected.size()));
        for (size_t i = 0; i < expected.size(); ++i) {
            if (expected[i].caption.isEmpty()) {
                QVERIFY(items[qsizetype(i)]->isSeparator());
                continue;
            }
            // A tab ends the caption: what follows it is the menu's shortcut
            // column, which the captions fill themselves (see
            // menusShowEachShortcutOnce).
            QCOMPARE(items[qsizetype(i)]->text().section(QLatin1Char('\t'), 0, 0),
                     expected[i].caption);
            QCOMPARE(items[qsizetype(i)]->shortcut(), expected[i].shortcut);
        }
    };
    check(window.fileMenu(), {{text(folder, TextId::OpenFilesItem), QKeySequence("Ctrl+O")},
                              {text(folder, TextId::ManageFileListItem), QKeySequence("F2")},
                              {text(folder, TextId::SettingsItem), QKeySequence("F3")},
                              {text(folder, TextId::ChangeMapItem), QKeySequence("F4")},
                              {text(folder, TextId::SaveMapItem), QKeySequence("Ctrl+S")},
                              {text(folder, TextId::RecentFilesMenu), QKeySequence()},
                              {{}, {}},
                              {text(folder, TextId::ExitItem), QKeySequence()}});
    check(window.drawMenu(), {{text(folder, TextId::StartDrawingItem), QKeySequence("F1")},
                              {text(folder, TextId::RegionalDrawingItem), QKeySequence("Ctrl+F1")},
                              {text(folder, TextId::GlobalDrawingItem), QKeySequence("Shift+F1")},
                              {{}, {}},
                              {text(folder, TextId::BackgroundColourItem), QKeySequence("Ctrl+B")},
                              {text(folder, TextId::ClearDisplayItem), QKeySequence("Del")},
                              {{}, {}},
                              {text(folder, TextId::AutoDrawMenu), QKeySequence()},
                              {{}, {}},
                              {text(folder, TextId::TextFormatItem), QKeySequence("Ctrl+F")},
                              {text(folder, TextId::MessagesItem), QKeySequence("Ctrl+M")}});
    QCOMPARE(window.drawMenu()->actions()[7]->menu(), window.autoDrawMenu());
    check(window.autoDrawMenu(), {{text(folder, TextId::AutoDrawOffItem), QKeySequence()},
                                  {text(folder, TextId::AutoDrawNormalItem), QKeySequence()},
                                  {text(folder, TextId::AutoDrawRegionalItem), QKeySequence()},
                                  {text(folder, TextId::AutoDrawGlobalItem), QKeySequence()}});
    check(window.languageMenu(), {{text(folder, TextId::CurrentLanguage), QKeySequence()},
                                  {text(folder, TextId::SelectLanguageItem), QKeySequence("F12")}});
    check(window.helpMenu(), {{text(folder, TextId::KeysItem), QKeySequence()},
                              {text(folder, TextId::AboutItem), QKeySequence()}});

    // Exactly one auto-draw item is checked; choosing one stores it.
    window.action(Item::AutoDrawRegional)->trigger();
    window.action(Item::AutoDrawRegional)->trigger();
    int checked = 0;
    for (QAction* item : window.autoDrawMenu()->actions()) checked += item->isChecked() ? 1 : 0;
    QCOMPARE(checked, 1);
    QCOMPARE(window.checkedAutoDrawItem(), kAutoDrawRegional);
    QCOMPARE(folder.setting(settings::kAutoDraw), std::string("2"));

    // The captions' "&X." prefixes stay Qt mnemonics.
    QVERIFY(top[0]->text().startsWith(QStringLiteral("&F.")));
    // A language name is shown as it is, "&" included.
    window.setCurrentLanguageCaption("Current language: R&D (rd)");
    QCOMPARE(window.action(Item::CurrentLanguage)->text(),
             QStringLiteral("Current language: R&&D (rd)"));
}

void MainWindowTest::shortcutsRunCommandsOnlyWhileNoJobRuns() {
    MainWindowFixture folder;
    FakePrompter prompter;
    MainWindow window(folder.app, prompter, RecordingJob().runner());
    window.applyMainTexts();
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QTest::keyClick(&window, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(prompter.count("colour"), size_t(1));
    QTest::keyClick(&window, Qt::Key_F1);
    QCOMPARE(prompter.count("message"), size_t(1));  // no track files: text 18

    // While a job runs the three menus and every command in them are off.
    window.enableMenus(false);
    for (QMenu* menu : {window.fileMenu(), window.drawMenu(), window.languageMenu()}) {
        QVERIFY(!menu->menuAction()->isEnabled());
    }
    QVERIFY(!window.action(Item::StartDrawing)->isEnabled());
    QVERIFY(!window.action(Item::AutoDrawGlobal)->isEnabled());
    QVERIFY(window.action(Item::AutoDrawOff)->isChecked());
    QTest::keyClick(&window, Qt::Key_B, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_F1);
    QTest::keyClick(&window, Qt::Key_F4);
    QTest::mouseClick(window.panel(), Qt::RightButton);
    QVERIFY(!window.fileMenu()->isVisible());
    QCOMPARE(prompter.shown.size(), size_t(2));
    window.action(Item::BackgroundColour)->trigger();
    QCOMPARE(prompter.shown.size(), size_t(2));

    window.enableMenus(true);
    QTest::keyClick(&window, Qt::Key_F4);
    QCOMPARE(prompter.count("open"), size_t(1));
    // A right click on the panel pops up the File menu.
    QTest::mouseClick(window.panel(), Qt::RightButton, Qt::NoModifier, QPoint(40, 60));
    QTRY_VERIFY(window.fileMenu()->isVisible());
    window.fileMenu()->hide();
}

void MainWindowTest::titleNamesTheFilesAndTheMap() {
    MainWindowFixture folder;
    FakePrompter prompter;
    MainWindow window(folder.app, prompter, RecordingJob().runner());
    const QString name = text(folder, TextId::ProgramName) + " 1.0.0 - " +
                         text(folder, TextId::TitleTrackFiles) + ": ";
    const QString mapLabel = " - " + text(folder, TextId::TitleMap) + ": ";
    const QString none = text(folder, TextId::TitleNone);

    window.refreshTitle();
    QCOMPARE(window.windowTitle(), name + none + mapLabel + none);

    folder.app.trackFiles = {"/data/bwp012014.dat"};
    folder.app.style.mapPath = "/maps/wendrel.png";
    folder.app.style.mapPath1 = "/maps/tcv.png";
    window.refreshTitle();
    QCOMPARE(window.windowTitle(), name + "/data/bwp012014.dat" + mapLabel + "/maps/wendrel.png");

    folder.app.trackFiles = {"/data/a.dat", "/data/b.dat", "/data/c.dat"};
    folder.app.style.tcv = true;
    folder.app.jobRunning = true;
    window.refreshTitle();
    QCOMPARE(window.windowTitle(), "[" + text(folder, TextId::Drawing) + "] " + name +
                                       "/data/a.dat" + " and others (3 files)" + mapLabel +
                                       "/maps/tcv.png");
    folder.app.jobRunning = false;
}

void MainWindowTest::titleFollowsEveryChangeOfTheFileListAtOnce() {
    MainWindowFixture folder;
    FakePrompter prompter;
    MainWindow window(folder.app, prompter, RecordingJob().runner());
    const std::string a = MainWindowFixture::trackFile("bwp012014.dat");
    const std::string b = MainWindowFixture::trackFile("bwp022014.dat");
    folder.app.trackFiles = {a, b, a};
    window.refreshTitle();
    // The English title with the first file's path, the count and no map.
    const auto title = [](const std::string& files) {
        return QString::fromStdString("Tropical Cyclone Track Map 1.0.0 - Track files: " + files +
                                      " - Map: none");
    };
    QStringList seen;
    QTimer::singleShot(0, [&] {
        auto* list = qobject_cast<FileListWindow*>(QApplication::activeModalWidget());
        QVERIFY(list != nullptr);
        auto step = [&](const std::function<void()>& change, const QString& expected) {
            const QString before = window.windowTitle();
            change();
            QCOMPARE(window.windowTitle(), expected);
            QVERIFY(window.windowTitle() != before);
            seen << window.windowTitle();
        };
        prompter.answers = {Prompter::Answer::Yes, Prompter::Answer::Yes};
        step([&] { list->findChild<QPushButton*>("dedupe")->click(); },  // 3 -> 2 files
             title(a + " and others (2 files)"));
        step(
            [&] {
                auto* table = list->findChild<QTableWidget*>("table");
                table->selectRow(0);
                list->findChild<QPushButton*>("remove")->click();  // 2 -> 1
            },
            title(b));
        step([&] { list->dropFiles(a + "\r\n"); }, title(b + " and others (2 files)"));  // 1 -> 2
        step([&] { list->findChild<QPushButton*>("clear")->click(); }, title("none"));   // 2 -> 0
        list->close();
    });
    window.manageFileList();
    QCOMPARE(seen.size(), 4);
    QVERIFY(folder.app.trackFiles.empty());
}

// Records the text of every menu item the style is asked to draw.
class MenuTextRecorder : public QProxyStyle {
  public:
    QStringList drawn;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element == CE_MenuItem) {
            if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
                if (item->menuItemType == QStyleOptionMenuItem::Normal)
                    const_cast<MenuTextRecorder*>(this)->drawn << item->text;
            }
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

void MainWindowTest::menusShowEachShortcutOnce() {
    for (const char* language : {"en", "zh-cn"}) {
        MainWindowFixture folder(language);
        FakePrompter prompter;
        MainWindow window(folder.app, prompter, RecordingJob().runner());
        window.applyMainTexts();
        for (QMenu* menu : {window.fileMenu(), window.drawMenu(), window.languageMenu()}) {
            MenuTextRecorder recorder;
            menu->setStyle(&recorder);
            menu->grab();
            menu->setStyle(nullptr);
            QVERIFY(!recorder.drawn.isEmpty());
            for (QAction* item : menu->actions()) {
                if (item->isSeparator() || item->menu() != nullptr) continue;
                const QString caption = item->text().section(QLatin1Char('\t'), 0, 0);
                const QString* shown = nullptr;
                for (const QString& text : recorder.drawn) {
                    if (text.startsWith(caption)) shown = &text;
                }
                QVERIFY2(shown != nullptr, qPrintable(caption));
                const QString keys = item->shortcut().toString(QKeySequence::NativeText);
                if (keys.isEmpty()) continue;
                // The caption names its keys; nothing repeats them.
                QCOMPARE(shown->count(keys), qsizetype(1));
            }
        }
    }
}

void MainWindowTest::drawingWithoutFilesWarnsAndStartsNothing() {
    MainWindowFixture folder;
    FakePrompter prompter;
    RecordingJob job;
    MainWindow window(folder.app, prompter, job.runner());
    QSignalSpy started(&window, &MainWindow::drawJobStarted);
    for (DrawMode mode : {DrawMode::Normal, DrawMode::Regional, DrawMode::Global}) {
        window.startDrawJob(mode);
    }
    QCOMPARE(prompter.shown.size(), size_t(3));
    for (const FakePrompter::Shown& shown : prompter.shown) {
        QCOMPARE(QString::fromStdString(shown.text), text(folder, TextId::NoTrackFile));
        QCOMPARE(QString::fromStdString(shown.title), text(folder, TextId::TrackFilesTitle));
        QVERIFY(shown.icon == Prompter::Icon::Warning);
    }
    QVERIFY(window.menusEnabled());
    // A job starts (and signals it) inside startDrawJob, so none can begin later.
    QCOMPARE(started.count(), 0);
    QCOMPARE(job.runs.load(), 0);
}

void MainWindowTest::regionPromptRefusesFlatRegionsAndStoresNormalisedOnes() {
    MainWindowFixture folder;
    folder.app.trackFiles = {MainWindowFixture::trackFile("bwp012014.dat")};
    FakePrompter prompter;
    RecordingJob job;
    MainWindow window(folder.app, prompter, job.runner());

    // Cancelled: nothing stored, no job.
    whenRegionWindowOpens([](RegionWindow& shown) { shown.reject(); });
    window.startDrawJob(DrawMode::Regional);
    QVERIFY(folder.app.regionParts.empty());
    QCOMPARE(folder.setting(settings::kRegionSelect), std::string("60,100,60,80"));
    QVERIFY(!QFile::exists(QString::fromStdString(folder.app.paths.settingsPath)));
    QCOMPARE(job.runs.load(), 0);
    QVERIFY(window.menusEnabled());

    // The window opens on the stored region; its fields become the job's parts.
    whenRegionWindowOpens([&folder](RegionWindow& shown) {
        QCOMPARE(shown.windowTitle(), text(folder, TextId::RegionTitle));
        QCOMPARE(shown.regionText(), std::string("60,100,60,80"));
        shown.findChild<QDoubleSpinBox*>("lonExtent")->setValue(50);
        shown.findChild<QPushButton*>("ok")->click();
    });
    window.startDrawJob(DrawMode::Regional);
    QCOMPARE(folder.setting(settings::kRegionSelect), std::string("60,100,60,50"));
    QCOMPARE(folder.app.regionParts, (std::vector<std::string>{"60", "100", "60", "50"}));
    QTRY_COMPARE(job.runs.load(), 1);
    QCOMPARE(job.lastMode.load(), int(DrawMode::Regional));
    QTRY_VERIFY(window.menusEnabled());

    // A stored west edge past 180°E shows as the same meridian west; the
    // job's parts keep the order north, west, latitude and longitude extent.
    ProfileStore::write(folder.app.paths.settingsPath, settings::kRegionSelect.section,
                        settings::kRegionSelect.key, "\"-10.5,300.25,1e1,2\"");
    whenRegionWindowOpens([](RegionWindow& shown) {
        QCOMPARE(shown.findChild<QDoubleSpinBox*>("north")->value(), 10.5);
        QCOMPARE(shown.findChild<QComboBox*>("northSide")->currentText(), QStringLiteral("S"));
        QCOMPARE(shown.findChild<QDoubleSpinBox*>("west")->value(), 59.75);
        QCOMPARE(shown.findChild<QComboBox*>("westSide")->currentText(), QStringLiteral("W"));
        shown.accept();
    });
    window.startDrawJob(DrawMode::Regional);
    QCOMPARE(folder.setting(settings::kRegionSelect), std::string("-10.5,-59.75,10,2"));
    QCOMPARE(folder.app.regionParts, (std::vector<std::string>{"-10.5", "-59.75", "10", "2"}));
    QTRY_COMPARE(job.runs.load(), 2);
    QCOMPARE(prompter.count("askText"), size_t(0));
}

void MainWindowTest::dropsReplaceTheFilesAndDrawOnlyWithAutoDraw() {
    MainWindowFixture folder;
    folder.app.trackFiles = {"/old/one.dat"};
    FakePrompter prompter;
    RecordingJob job;
    MainWindow window(folder.app, prompter, job.runner());
    QSignalSpy started(&window, &MainWindow::drawJobStarted);
    window.setAcceptDrops(true);
    window.chooseAutoDraw(kAutoDrawOff);

    auto drop = [&](const QStringList& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths) urls.append(QUrl::fromLocalFile(path));
        data.setUrls(urls);
        // Qt delivers a drop to the widget that accepted the drag's entry.
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &event);
    };

    // Without a Wendrel-style map a drop is refused.
    drop({"/new/b.dat"});
    QCOMPARE(prompter.shown.size(), size_t(1));
    QCOMPARE(QString::fromStdString(prompter.shown[0].text), text(folder, TextId::NoMap));
    QCOMPARE(folder.app.trackFiles, std::vector<std::string>{"/old/one.dat"});

    folder.app.style.mapPath = "/maps/world.png";
    drop({"/new/z.dat", "/new/a.dat"});
    QCOMPARE(folder.app.trackFiles, (std::vector<std::string>{"/new/z.dat", "/new/a.dat"}));
    QVERIFY(window.windowTitle().contains(QStringLiteral("/new/z.dat")));
    QCOMPARE(prompter.shown.size(), size_t(1));

    // While a job runs a drop is refused with text 80.
    window.enableMenus(false);
    drop({"/new/c.dat"});
    QCOMPARE(QString::fromStdString(prompter.shown.back().text), text(folder, TextId::JobRunning));
    QCOMPARE(QString::fromStdString(prompter.shown.back().title), text(folder, TextId::Drawing));
    QCOMPARE(folder.app.trackFiles.size(), size_t(2));
    window.enableMenus(true);

    // While the file list is open a drop only beeps.
    FileListWindow list(folder.app, prompter, &window);
    list.show();
    drop({"/new/d.dat"});
    QCOMPARE(prompter.shown.back().kind, std::string("beep"));
    QCOMPARE(folder.app.trackFiles.size(), size_t(2));
    list.close();

    QCOMPARE(started.count(), 0);
    QCOMPARE(job.runs.load(), 0);

    // Over a map drawn before, the status bar says the map is out of date.
    folder.app.idlePictureOn = false;
    window.setPictureLayout(kMapPictureLayout);
    window.setPanelPicture(pngBytes(400, 200));
    QTRY_VERIFY(window.panel()->showsMap());
    drop({"/new/e.dat"});
    QCOMPARE(window.statusText(3), text(folder, TextId::MapOutOfDate));
    QCOMPARE(started.count(), 0);

    // With automatic drawing on, a drop draws the files dropped.
    window.chooseAutoDraw(kAutoDrawGlobal);
    drop({"/new/f.dat"});
    QCOMPARE(started.count(), 1);
    QTRY_COMPARE(job.runs.load(), 1);
    QCOMPARE(job.lastMode.load(), int(DrawMode::Global));
    QCOMPARE(folder.app.trackFiles, std::vector<std::string>{"/new/f.dat"});
    QTRY_VERIFY(window.menusEnabled());
}

void MainWindowTest::openedFilesAreDrawnAsTheAutoDrawItemSays() {
    MainWindowFixture folder;
    folder.app.style.mapPath = folder.makeMap();
    folder.app.lastDir = TCMAP_TEST_DATA_DIR "/track/atcf";
    FakePrompter prompter;
    RecordingJob job;
    MainWindow window(folder.app, prompter, job.runner());
    QSignalSpy started(&window, &MainWindow::drawJobStarted);
    window.chooseAutoDraw(kAutoDrawRegional);
    window.setEscClosesWindow(true);

    // Tick the first file in the chooser and confirm; the region prompt follows.
    QTimer::singleShot(0, [] {
        QWidget* chooser = QApplication::activeModalWidget();
        QVERIFY(chooser != nullptr);
        chooser->findChild<QListWidget*>("files")->item(0)->setCheckState(Qt::Checked);
        chooser->findChild<QPushButton*>("ok")->click();
    });
    whenRegionWindowOpens([](RegionWindow& shown) {
        shown.setRegion(RegionBox{50, 110, 30, 40});
        shown.accept();
    });
    window.action(Item::OpenFile)->trigger();
    QCOMPARE(folder.app.trackFiles.size(), size_t(1));
    QVERIFY(window.windowTitle().contains(QString::fromStdString(folder.app.trackFiles[0])));
    QCOMPARE(folder.app.regionParts, (std::vector<std::string>{"50", "110", "30", "40"}));
    QTRY_COMPARE(job.runs.load(), 1);
    QCOMPARE(job.lastMode.load(), int(DrawMode::Regional));
    QVERIFY(!window.escClosesWindow());

    // The file list clears the Esc flag too, and starts nothing.
    QTRY_VERIFY(window.menusEnabled());
    window.setEscClosesWindow(true);
    QTimer::singleShot(0, [] {
        if (QWidget* list = QApplication::activeModalWidget()) list->close();
    });
    window.action(Item::ManageFileList)->trigger();
    QVERIFY(!window.escClosesWindow());
    QCOMPARE(started.count(), 1);
    QCOMPARE(job.runs.load(), 1);
}

void MainWindowTest::changeMapStoresTheMapOfTheCurrentStyle() {
    MainWindowFixture folder;
    folder.app.style.mapPath = "maps/world.png";
    FakePrompter prompter;
    MainWindow window(folder.app, prompter, RecordingJob().runner());

    window.changeMap();  // cancelled
    QCOMPARE(prompter.shown[0].title,
             (folder.app).languagePack().text(TextId::MapDialogTitle) + ":");
    // The dialog starts at the file a relative path names in the run folder.
    QVERIFY(prompter.shown[0].text.ends_with("\n" + folder.file("maps/world.png")));
    QVERIFY(prompter.shown[0].text.starts_with(
        (folder.app).languagePack().text(TextId::MapDialogFilter)));
    QCOMPARE(folder.app.style.mapPath, std::string("maps/world.png"));

    prompter.paths = {std::string("/maps/wendrel.png")};
    window.changeMap();
    QCOMPARE(folder.app.style.mapPath, std::string("/maps/wendrel.png"));
    QCOMPARE(folder.setting(settings::kMap), std::string("/maps/wendrel.png"));
    QVERIFY(window.windowTitle().endsWith(QStringLiteral("/maps/wendrel.png")));

    folder.app.style.tcv = true;
    prompter.paths = {std::string("/maps/tcv map.jpg")};
    window.changeMap();
    QCOMPARE(folder.app.style.mapPath1, std::string("/maps/tcv map.jpg"));
    QVERIFY(readFileOrEmpty(folder.app.paths.settingsPath).find("Map1=\"/maps/tcv map.jpg\"") !=
            std::string::npos);
    QCOMPARE(folder.app.style.mapPath, std::string("/maps/wendrel.png"));
}

void MainWindowTest::backgroundColourIsWrittenOnlyWhenItChanges() {
    MainWindowFixture folder;
    FakePrompter prompter;
    MainWindow window(folder.app, prompter, RecordingJob().runner());
    QCOMPARE(window.panel()->backgroundColour(), kDesignedBackground);

    window.chooseBackgroundColour();  // the dialog gives back the current colour
    QCOMPARE(prompter.shown.back().text, std::to_string(kDesignedBackground));
    QVERIFY(!QFile::exists(QString::fromStdString(folder.app.paths.settingsPath)));

    prompter.colours = {rgb(200, 10, 0)};
    window.chooseBackgroundColour();
    QCOMPARE(window.panel()->backgroundColour(), rgb(200, 10, 0));
    QCOMPARE(folder.setting(settings::kBackgroundColor), std::string("200,10,0"));
    QVERIFY(readFileOrEmpty(folder.app.paths.settingsPath).find("\"200,10,0\"") !=
            std::string::npos);

    ProfileStore::write(folder.app.paths.settingsPath, "Borvane4", "BackgroundColor", "\"1,2,3\"");
    prompter.colours = {rgb(200, 10, 0)};
    window.chooseBackgroundColour();
    QCOMPARE(folder.setting(settings::kBackgroundColor), std::string("1,2,3"));
}

void MainWindowTest::clearDisplayShowsTheIdlePictureAgainAfterResizes() {
    MainWindowFixture folder;
    FakePrompter prompter;
    MainWindow window(folder.app, prompter, RecordingJob().runner());
    window.applyMainTexts();
    window.resize(800, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    DrawPanel* panel = window.panel();
    const QString welcome = text(folder, TextId::IdleTitle);
    QCOMPARE(panel->lines().value(0), welcome);
    QCOMPARE(panel->lines().value(1), text(folder, TextId::IdleHint));
    QCOMPARE(panel->pictureLayout(), 0);

    // A finished map, as a job leaves it: resizes keep it.
    folder.app.idlePictureOn = false;
    window.clearPanel();
    window.setPictureLayout(kMapPictureLayout);
    window.setPanelPicture(pngBytes(400, 200));
    QVERIFY(panel->showsMap());
    window.resize(700, 500);
    QTRY_COMPARE(panel->width(), 700);
    QVERIFY(panel->showsMap());
    QVERIFY(panel->lines().isEmpty());

    window.clearDisplay();
    QVERIFY(folder.app.idlePictureOn);
    QVERIFY(!panel->showsMap());
    QVERIFY(window.panelPicture().empty());
    QCOMPARE(panel->lines().value(0), welcome);
    for (int width : {900, 500, 640}) {
        window.resize(width, 480);
        QTRY_COMPARE(panel->width(), width);
        QCOMPARE(panel->lines().size(), 3);
        QCOMPARE(panel->lines().value(0), welcome);
        QCOMPARE(panel->textPosition().x(), 0);
    }
    // The idle picture starts with the banner; Save finds no map there.
    QCOMPARE(window.pictureLayout(), 0);
    const QImage shown = panel->grab().toImage();
    QVERIFY(shown.pixelColor(2, 2) != QColor(15, 23, 31));
}

void MainWindowTest::callsFromAJobThreadArriveInOrder() {
    MainWindowFixture folder;
    FakePrompter prompter;
    MainWindow window(folder.app, prompter, RecordingJob().runner());
    window.resize(600, 400);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const std::vector<uint8_t> picture = pngBytes(50, 40);
    std::vector<uint8_t> readBack;
    std::thread job([&] {
        window.clearPanel();
        window.setPictureLayout(kMapPictureLayout);
        for (int i = 0; i < 200; ++i)
            window.writeLine("line " + std::to_string(i), rgb(0, 136, 255));
        window.setStatusPart(0, "VMAX: 125kts");
        window.setStatusPart(3, "two\r\nlines");
        window.setStatusPart(7, "no such part");
        window.setPanelPicture(picture);
        // Readable at once from the job's own thread.
        readBack = window.panelPicture();
    });
    job.join();
    QCOMPARE(readBack, picture);
    QCOMPARE(window.pictureLayout(), kMapPictureLayout);
    QTRY_VERIFY(window.panel()->showsMap());
    const QStringList lines = window.panel()->lines();
    QCOMPARE(lines.size(), 200);
    for (int i = 0; i < 200; ++i) QCOMPARE(lines[i], QStringLiteral("line %1").arg(i));
    QCOMPARE(window.statusText(0), QStringLiteral("VMAX: 125kts"));
    QCOMPARE(window.statusText(3), QStringLiteral("two lines"));
    QCOMPARE(window.panel()->picture().size(), QSize(50, 40));

    // A map over Qt's own 128 MB decoding limit still shows.
    Picture large;
    QCOMPARE(large.create(6000, 5700, 0xFF3070A0u, kBmpFormatId), 0);
    std::vector<uint8_t> largeBytes;
    QCOMPARE(large.encode(kBmpFormatId, largeBytes), 0);
    large.release();
    std::thread([&] { window.setPanelPicture(std::move(largeBytes)); }).join();
    QTRY_COMPARE(window.panel()->picture().size(), QSize(6000, 5700));
    QCOMPARE(window.panel()->picture().pixelColor(10, 10), QColor(0x30, 0x70, 0xA0));

    // Bytes that are no picture leave the panel without one, not broken.
    std::thread([&] { window.setPanelPicture({1, 2, 3, 4}); }).join();
    QTRY_VERIFY(!window.panel()->hasPicture());
    QCOMPARE(window.panelPicture(), (std::vector<uint8_t>{1, 2, 3, 4}));
}

void MainWindowTest::startDrawingDrawsRealFilesAndShowsTheMap() {
    MainWindowFixture folder;
    folder.app.style.mapPath = folder.makeMap();
    folder.app.trackFiles = {MainWindowFixture::trackFile("bwp012014.dat"),
                             MainWindowFixture::trackFile("bwp022014.dat")};
    folder.app.tempFilePath = folder.file("job.tmp");
    FakePrompter prompter;
    MainWindow window(folder.app, prompter, runSessionJob);
    window.applyMainTexts();
    window.resize(800, 600);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QTest::keyClick(&window, Qt::Key_F1);
    // The menus are off before the job's thread has even started.
    QVERIFY(!window.menusEnabled());
    for (QMenu* menu : {window.fileMenu(), window.drawMenu(), window.languageMenu()}) {
        QVERIFY(!menu->menuAction()->isEnabled());
    }
    QVERIFY(!folder.app.idlePictureOn);
    QTRY_VERIFY_WITH_TIMEOUT(window.menusEnabled(), 20000);
    QVERIFY(!folder.app.jobRunning);
    QVERIFY(window.fileMenu()->menuAction()->isEnabled());
    QVERIFY(window.action(Item::Save)->isEnabled());

    // The finished map fills the panel, fitted, and Save finds it there.
    QTRY_VERIFY(window.panel()->showsMap());
    QVERIFY(window.panel()->fitted());
    QCOMPARE(window.pictureLayout(), kMapPictureLayout);
    QVERIFY(!window.panelPicture().empty());
    const QSize mapSize = window.panel()->picture().size();
    QVERIFY(mapSize.width() >= 1920 && mapSize.height() >= 1080);

    // Two 2014 West Pacific storms: peak wind, lowest pressure and ACE shown.
    QVERIFY(window.statusText(0).contains(QRegularExpression("^VMAX: [1-9][0-9]*kts$")));
    QVERIFY(window.statusText(1).contains(QRegularExpression("^MSLP: [1-9][0-9]*mb$")));
    QVERIFY(window.statusText(2).contains(QRegularExpression("^ACE: [0-9.]+$")));
    QCOMPARE(window.statusText(3), text(folder, TextId::Ready));
    QVERIFY(!window.windowTitle().startsWith(QStringLiteral("[")));
    QCOMPARE(prompter.shown.size(), size_t(0));

    // Save writes the whole map as PNG, the same before and after zooming.
    prompter.paths = {folder.file("before.png"), folder.file("after.png")};
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_1, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(window.panel()->zoom(), DrawPanel::kZoomStep);
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(prompter.count("save"), size_t(2));
    QCOMPARE(QImage(QString::fromStdString(folder.file("before.png"))).size(), mapSize);
    QCOMPARE(readFileOrEmpty(folder.file("after.png")), readFileOrEmpty(folder.file("before.png")));
    QCOMPARE(window.statusText(3), text(folder, TextId::MapSaved));
    QTest::keyClick(&window, Qt::Key_0, Qt::ControlModifier);
    QVERIFY(window.panel()->fitted());
    // A job without warnings leaves the messages panel closed and empty.
    QVERIFY(window.messagesPanel()->isHidden());
    QVERIFY(window.jobMessages().isEmpty());

    // The storms' intensity chart waits in a second tab; the map stays in front.
    QCOMPARE(window.tabs()->currentIndex(), 0);
    QVERIFY(window.tabs()->tabBar()->isVisible());
    QCOMPARE(window.tabs()->tabText(1), text(folder, TextId::ChartTab));
    QVERIFY(window.chartPanel()->hasPicture());
    QCOMPARE(window.chartPanel()->picture().size(), QSize(1600, 900));
    window.tabs()->setCurrentIndex(1);
    if (const char* screenshots = std::getenv("TCMAP_SCREENSHOT_DIR"))
        QVERIFY(window.grab().save(QString::fromLocal8Bit(screenshots) + "/main_window_chart.png"));
    // A job that draws no best track takes the chart away and shows the map.
    folder.app.trackFiles = {folder.file("missing.dat")};
    window.startDrawJob(DrawMode::Normal);
    QTRY_VERIFY_WITH_TIMEOUT(window.menusEnabled(), 20000);
    QTRY_VERIFY(!window.chartPanel()->hasPicture());
    QCOMPARE(window.tabs()->currentIndex(), 0);
    QVERIFY(!window.tabs()->tabBar()->isVisible());
}

void MainWindowTest::warningsOfAJobStayInTheMessagesPanel() {
    MainWindowFixture folder;
    folder.app.style.mapPath = folder.makeMap();
    const std::string empty = folder.file("empty.dat");
    QVERIFY(writeFileReplacing(empty, ""));
    const std::string notTrack = folder.file("notes.txt");
    QVERIFY(writeFileReplacing(notTrack, "shopping list\n"));
    folder.app.trackFiles = {empty, MainWindowFixture::trackFile("bwp022014.dat"), notTrack};
    folder.app.tempFilePath = folder.file("job.tmp");
    FakePrompter prompter;
    MainWindow window(folder.app, prompter, runSessionJob);
    window.applyMainTexts();
    window.resize(800, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    window.startDrawJob(DrawMode::Normal);
    QTRY_VERIFY_WITH_TIMEOUT(window.menusEnabled(), 20000);
    QTRY_VERIFY(window.panel()->showsMap());
    // Both skipped files are listed by path after the map has covered the log,
    // and the status bar counts them instead of a bare "Ready".
    const QStringList messages = window.jobMessages();
    QCOMPARE(messages.size(), 2);
    QVERIFY2(messages[0].contains(QString::fromStdString(empty)), qPrintable(messages[0]));
    QVERIFY2(messages[1].contains(QString::fromStdString(notTrack)), qPrintable(messages[1]));
    QVERIFY(window.messagesPanel()->isVisible());
    QCOMPARE(window.messagesPanel()->windowTitle(), text(folder, TextId::MessagesTitle));
    QCOMPARE(window.statusText(3), QStringLiteral("Ready — 2 warnings: see Messages (Ctrl+M)"));
    // The README's picture of the panel: TCMAP_SCREENSHOT_DIR=docs/screenshots.
    if (const char* screenshots = std::getenv("TCMAP_SCREENSHOT_DIR"))
        QVERIFY(
            window.grab().save(QString::fromLocal8Bit(screenshots) + "/main_window_messages.png"));

    // Closed, it comes back with Ctrl+M; the next clean job empties it.
    window.messagesPanel()->close();
    QTest::keyClick(&window, Qt::Key_M, Qt::ControlModifier);
    QVERIFY(window.messagesPanel()->isVisible());
    folder.app.trackFiles = {MainWindowFixture::trackFile("bwp022014.dat")};
    window.startDrawJob(DrawMode::Normal);
    QTRY_VERIFY_WITH_TIMEOUT(window.menusEnabled(), 20000);
    QTRY_COMPARE(window.statusText(3), text(folder, TextId::Ready));
    QVERIFY(window.jobMessages().isEmpty());
}

void MainWindowTest::helpShowsTheKeysOfTheMenusAndTheVersion() {
    MainWindowFixture folder;
    folder.app.programVersion = "9.8.7";
    FakePrompter prompter;
    MainWindow window(folder.app, prompter, RecordingJob().runner());
    window.applyMainTexts();
    // Help works while a job runs: it only shows text.
    window.enableMenus(false);
    QTRY_VERIFY(!window.menusEnabled());
    window.action(Item::Keys)->trigger();
    window.action(Item::About)->trigger();
    QCOMPARE(prompter.shown.size(), size_t(2));
    const std::string keys = prompter.shown[0].text;
    for (const char* row : {"F1\tStart Drawing (F1)", "Ctrl+O\t", "F12\t", "Ctrl+M\t", "Del\t"})
        QVERIFY2(keys.find(row) != std::string::npos, row);
    QVERIFY2(keys.find('&') == std::string::npos, keys.c_str());
    QCOMPARE(QString::fromStdString(prompter.shown[0].title), QStringLiteral("Keys"));
    QVERIFY(prompter.shown[1].text.starts_with("tcmap 9.8.7\r\n"));
    QVERIFY(prompter.shown[1].text.find("Natural Earth") != std::string::npos);
    QCOMPARE(QString::fromStdString(prompter.shown[1].title), QStringLiteral("About tcmap"));
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
