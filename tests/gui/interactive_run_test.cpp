// Interactive start-up, the first activation and shutdown, with a scripted
// prompter and the process end replaced.
#include "gui/interactive_run.h"

#include <QAction>
#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>

#include "app/main_commands.h"
#include "base/file_io.h"
#include "gui/draw_panel.h"
#include "gui/main_window.h"
#include "gui/main_window_fixture.h"
#include "i18n/language_pack.h"
#include "render/canvas/canvas.h"
#include "support/fake_prompter.h"

using namespace tcmap;
using tcmap::testing::MainWindowFixture;

namespace {

constexpr const char* kFirstRunQuestion =
    "This is the first time you're using this application.\r\nDo you want to change the "
    "language?\r\nDefault Language: 简体中文 (zh-cn)";

struct RecordingJob {
    std::atomic<int> runs{0};
    DrawJobRunner runner() {
        return [this](WindowSession& app, MainView& view, DrawMode) {
            ++runs;
            view.enableMenus(true);
            app.jobRunning = false;
        };
    }
};

// Language.ini as a new user has it: no language chosen.
void forgetLanguage(MainWindowFixture& folder) {
    writeFileReplacing(folder.file("Language.ini"), "[lang_list]\nCharset=UTF-8\nTran=0\nList=\n");
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

  private slots:
    void aNewUserIsAskedForALanguageUntilAnswering();
    void choosingALanguageAtTheFirstRunTakesEffectAtOnce();
    void startUpReadsTheStoredChoicesAndShowsTheWindowMaximised();
    void commandLineFilesAreDrawnAtTheFirstActivation();
    void shutdownCleansUpAndEndsWithCodeZero();
};

void StartupTest::aNewUserIsAskedForALanguageUntilAnswering() {
    MainWindowFixture folder(nullptr);
    forgetLanguage(folder);
    FakePrompter prompter;
    RecordingJob job;
    {
        // Yes, then Cancel in the language window: asked again next time.
        MainWindow window(folder.app, prompter, job.runner());
        InteractiveSession session(folder.app, window, prompter);
        prompter.answers = {Prompter::Answer::Yes};
        QTimer::singleShot(0, [] {
            if (QWidget* chooser = QApplication::activeModalWidget()) {
                testing::child<QPushButton>(*chooser, "cancel")->click();
            }
        });
        session.start();
        QCOMPARE(prompter.count("message"), size_t(1));
        const FakePrompter::Shown& asked = prompter.shown[0];
        QCOMPARE(asked.text, std::string(kFirstRunQuestion));
        QCOMPARE(asked.title, std::string("Language"));
        QVERIFY(asked.icon == Prompter::Icon::Question);
        QVERIFY(asked.buttons == Prompter::Buttons::YesNo);
        QCOMPARE(folder.app.language.code, std::string("zh-cn"));
    }
    prompter.shown.clear();
    {
        // No: zh-cn is stored, unquoted, and the question is not asked again.
        MainWindow window(folder.app, prompter, job.runner());
        InteractiveSession session(folder.app, window, prompter);
        session.start();
        QCOMPARE(prompter.count("message"), size_t(1));
        QVERIFY(readFileOrEmpty(folder.file("Language.ini")).find("Select=zh-cn") !=
                std::string::npos);
    }
    prompter.shown.clear();
    MainWindow window(folder.app, prompter, job.runner());
    InteractiveSession session(folder.app, window, prompter);
    session.start();
    QCOMPARE(prompter.count("message"), size_t(0));
}

void StartupTest::choosingALanguageAtTheFirstRunTakesEffectAtOnce() {
    MainWindowFixture folder(nullptr);
    forgetLanguage(folder);
    FakePrompter prompter;
    RecordingJob job;
    MainWindow window(folder.app, prompter, job.runner());
    InteractiveSession session(folder.app, window, prompter);
    // Yes to the question, OK to the language window's confirmation.
    prompter.answers = {Prompter::Answer::Yes, Prompter::Answer::Ok};
    QTimer::singleShot(0, [] {
        QWidget* chooser = QApplication::activeModalWidget();
        if (chooser == nullptr) return;
        auto* list = testing::child<QListWidget>(*chooser, "languages");
        for (int row = 0; row < list->count(); ++row) {
            if (list->item(row)->text().startsWith(QStringLiteral("en "))) list->setCurrentRow(row);
        }
        testing::child<QPushButton>(*chooser, "ok")->click();
    });
    session.start();
    QCOMPARE(folder.app.language.code, std::string("en"));
    QCOMPARE(window.fileMenu()->title(), QStringLiteral("&F.File"));
    QCOMPARE(window.action(MainWindow::Item::CurrentLanguage)->text(),
             QStringLiteral("Current language: English (en)"));
}

void StartupTest::startUpReadsTheStoredChoicesAndShowsTheWindowMaximised() {
    MainWindowFixture folder("zh-cn");
    const std::string map = folder.makeMap();
    const std::string staleScratch = folder.file("temp/4d2.tmp");
    QDir().mkpath(QString::fromStdString(folder.file("temp")));
    writeFileReplacing(staleScratch, "last run");
    writeFileReplacing(folder.app.paths.settingsPath,
                       "[Borvane4]\nBackgroundColor=\"300,0,0\"\nAutoDraw=2\nMode=1\nMap1=\"" +
                           map + "\"\n[tmp]\nname=\"" + staleScratch + "\"\n");
    FakePrompter prompter;
    RecordingJob job;
    MainWindow window(folder.app, prompter, job.runner());
    InteractiveSession session(folder.app, window, prompter);
    session.start();

    QCOMPARE(prompter.shown.size(), size_t(0));
    QVERIFY(window.isMaximized());
    QVERIFY(folder.app.graphicsToken != 0);
    QVERIFY(!pathExists(staleScratch));
    QCOMPARE(folder.setting(settings::kTmpName), folder.app.tempFilePath);
    QVERIFY(folder.app.style.tcv);
    QCOMPARE(window.panel()->backgroundColour(), rgb(44, 0, 0));  // low 8 bits of 300
    QCOMPARE(window.checkedAutoDrawItem(), kAutoDrawRegional);
    const LanguagePack lang = (folder.app).languagePack();
    QCOMPARE(window.statusText(3), QString::fromStdString(lang.text(TextId::Ready)));
    QCOMPARE(window.action(MainWindow::Item::CurrentLanguage)->text(),
             QString::fromStdString(lang.text(TextId::CurrentLanguage)) +
                 QStringLiteral(": 简体中文 (zh-cn)"));
    QVERIFY(window.windowTitle().endsWith(QString::fromStdString(map)));
    QVERIFY(folder.app.idlePictureOn);
    QTRY_COMPARE(window.panel()->lines().value(0),
                 QString::fromStdString(lang.text(TextId::IdleTitle)));
}

void StartupTest::commandLineFilesAreDrawnAtTheFirstActivation() {
    MainWindowFixture folder;
    folder.app.style.mapPath = folder.makeMap();
    FakePrompter prompter;
    RecordingJob job;
    {
        MainWindow window(folder.app, prompter, job.runner());
        InteractiveSession session(folder.app, window, prompter);
        session.firstActivation();  // no arguments: nothing happens
        QCOMPARE(job.runs.load(), 0);
        QVERIFY(!window.escClosesWindow());
    }
    folder.app.commandLineFiles = {MainWindowFixture::trackFile("bwp012014.dat"),
                                   MainWindowFixture::trackFile("bwp022014.dat")};
    MainWindow window(folder.app, prompter, job.runner());
    InteractiveSession session(folder.app, window, prompter);
    session.start();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_COMPARE(job.runs.load(), 1);
    QCOMPARE(folder.app.trackFiles, folder.app.commandLineFiles);
    QVERIFY(window.escClosesWindow());
    QVERIFY(!folder.app.idlePictureOn);
    // Only the first activation draws; Esc now closes the window.
    window.activateWindow();
    int endedWith = -1;
    session.setProcessEnd([&](int code) { endedWith = code; });
    QTRY_VERIFY(window.menusEnabled());
    QTest::keyClick(&window, Qt::Key_Escape);
    QCOMPARE(endedWith, 0);
    QCOMPARE(job.runs.load(), 1);
}

void StartupTest::shutdownCleansUpAndEndsWithCodeZero() {
    MainWindowFixture folder;
    FakePrompter prompter;
    RecordingJob job;
    MainWindow window(folder.app, prompter, job.runner());
    InteractiveSession session(folder.app, window, prompter);
    int endedWith = -1;
    session.setProcessEnd([&](int code) { endedWith = code; });
    session.start();
    writeFileReplacing(folder.app.tempFilePath, "this run's map");
    window.enableMenus(false);
    folder.app.jobRunning = true;  // a job still running is not waited for

    window.close();
    QCOMPARE(endedWith, 0);
    QCOMPARE(folder.app.graphicsToken, 0);
    QVERIFY(!folder.app.jobRunning);
    QVERIFY(window.menusEnabled());
    QVERIFY(!pathExists(folder.app.tempFilePath));
}

QTEST_MAIN(StartupTest)
#include "interactive_run_test.moc"
