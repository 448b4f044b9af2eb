// The File menu's recent files: filled from what was opened or dropped,
// kept across windows (and so restarts), and opened again like Open.
#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>
#include <atomic>

#include "app/main_commands.h"
#include "config/recent_files.h"
#include "gui/main_window.h"
#include "gui/main_window_fixture.h"
#include "support/fake_prompter.h"

using namespace tcmap;
using tcmap::testing::MainWindowFixture;

class RecentFilesMenuTest : public QObject {
    Q_OBJECT

  private slots:
    void dropsAreOfferedAgainAndOpenLikeOpen();
};

void RecentFilesMenuTest::dropsAreOfferedAgainAndOpenLikeOpen() {
    MainWindowFixture folder;
    folder.app.style.mapPath = folder.makeMap();
    FakePrompter prompter;
    std::atomic<int> runs{0};
    const DrawJobRunner runner = [&runs](WindowSession& app, MainView& view, DrawMode) {
        ++runs;
        view.enableMenus(true);
        app.jobRunning = false;
    };
    {
        MainWindow window(folder.app, prompter, runner);
        window.applyMainTexts();
        QCOMPARE(window.recentMenu()->title(), QStringLiteral("&R.Recent Files"));
        window.dropFiles({"/storms/a&b.dat", "/storms/c.dat"});
        window.dropFiles({"/storms/d.dat"});
        window.dropFiles({"/storms/a&b.dat", "/storms/c.dat"});
    }

    // A new window (a restart) offers them, newest first.
    MainWindow window(folder.app, prompter, runner);
    window.applyMainTexts();
    window.fillRecentMenu();
    const QList<QAction*> entries = window.recentMenu()->actions();
    QCOMPARE(entries.size(), qsizetype{2});
    QCOMPARE(entries[0]->text(), QStringLiteral("&1 a&&b.dat (+1)"));
    QCOMPARE(entries[1]->text(), QStringLiteral("&2 d.dat"));
    QCOMPARE(entries[1]->toolTip(), QStringLiteral("/storms/d.dat"));

    // Chosen: the list and title follow; with auto draw on, a job starts.
    window.chooseAutoDraw(kAutoDrawNormal);
    QSignalSpy started(&window, &MainWindow::drawJobStarted);
    entries[1]->trigger();
    QCOMPARE(folder.app.trackFiles, std::vector<std::string>{"/storms/d.dat"});
    QVERIFY(window.windowTitle().contains(QStringLiteral("/storms/d.dat")));
    QCOMPARE(started.count(), 1);
    QTRY_COMPARE(runs.load(), 1);
    QTRY_VERIFY(window.menusEnabled());
    QCOMPARE(readRecentFiles(folder.app.paths.settingsPath).front(),
             std::vector<std::string>{"/storms/d.dat"});

    // While a job runs nothing is taken from the menu.
    window.enableMenus(false);
    window.fillRecentMenu();
    QVERIFY(!window.recentMenu()->menuAction()->isEnabled());
    window.openRecentFiles({"/storms/c.dat"});
    QCOMPARE(folder.app.trackFiles, std::vector<std::string>{"/storms/d.dat"});
}

QTEST_MAIN(RecentFilesMenuTest)
#include "recent_files_menu_test.moc"
