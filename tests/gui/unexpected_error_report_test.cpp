// The report of an unexpected error in the main window, from a job's thread
// and from an event handler, with the five seconds and the exit replaced.
#include "gui/unexpected_error_report.h"

#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "gui/draw_panel.h"
#include "gui/main_window.h"
#include "gui/main_window_fixture.h"
#include "render/canvas/canvas.h"
#include "support/fake_prompter.h"

using namespace tcmap;
using tcmap::testing::MainWindowFixture;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::chrono::milliseconds kWait{150};

// What the handler did instead of ending the process.
struct Ending {
    std::mutex mutex;
    std::vector<int> codes;
    std::vector<Clock::time_point> times;

    UnexpectedErrorHandler::Options options() {
        return {kWait, [this](int code) {
                    std::lock_guard lock(mutex);
                    codes.push_back(code);
                    times.push_back(Clock::now());
                }};
    }
    size_t count() {
        std::lock_guard lock(mutex);
        return codes.size();
    }
};

// An object whose event handler fails.
class FailingReceiver : public QObject {
  public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) throw std::out_of_range("row 7 of 3");
        return QObject::event(event);
    }
};

int countContaining(const QStringList& lines, const QString& part) {
    int count = 0;
    for (const QString& line : lines) count += line.contains(part) ? 1 : 0;
    return count;
}

}  // namespace

class UnexpectedErrorTest : public QObject {
    Q_OBJECT

  private slots:
    void anExceptionInAJobReachesTheHandler();
    void anExceptionInAnEventHandlerIsReportedWhileTheWindowLives();
    void anErrorDuringTheReportEndsAtOnce();
};

void UnexpectedErrorTest::anExceptionInAJobReachesTheHandler() {
    MainWindowFixture folder;
    folder.app.trackFiles = {MainWindowFixture::trackFile("bwp012014.dat")};
    FakePrompter prompter;
    MainWindow window(folder.app, prompter, [](WindowSession& app, MainView& view, DrawMode) {
        app.jobRunning = true;
        view.clearPanel();
        view.writeLine("Reading the track files ..", rgb(0, 136, 255));
        view.setStatusPart(0, "VMAX: 90kts");
        throw std::runtime_error("index 12 outside the fix table");
    });
    Ending ending;
    UnexpectedErrorHandler handler(ending.options());
    handler.attach(&window);
    window.setJobErrorHandler([&handler] { handler.handleCurrentException(); });
    window.resize(700, 500);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const Clock::time_point started = Clock::now();
    window.startDrawJob(DrawMode::Normal);
    QTRY_COMPARE(ending.count(), size_t(1));
    QCOMPARE(ending.codes[0], 255);
    QVERIFY(ending.times[0] - started >= kWait);
    QVERIFY(handler.reporting());

    // The job's lines are replaced by the red report.
    QTRY_VERIFY(!window.panel()->lines().isEmpty() &&
                window.panel()->lines()[0].startsWith(QStringLiteral("Warning")));
    const QStringList lines = window.panel()->lines();
    QCOMPARE(lines[0], QStringLiteral("Warning: An unexpected error occured."));
    QCOMPARE(lines[1],
             QStringLiteral("Error Type: std::runtime_error: index 12 outside the fix table (1) "));
    QVERIFY(lines[2].startsWith(QStringLiteral("The program will exit in 5 seconds.")));
    QVERIFY(lines[2].contains(QStringLiteral("e-mail")));
    QCOMPARE(countContaining(lines, QStringLiteral("Reading")), 0);
    QCOMPARE(window.panel()->textColour(), rgb(255, 0, 0));
    QCOMPARE(window.panel()->logFont().pixelSize(),
             qRound(20 * window.panel()->logicalDpiY() / 72.0));
    QVERIFY(
        window.statusText(3).startsWith(QStringLiteral("Warning: An unexpected error occured. "
                                                       "Error Type: std::runtime_error")));
    QCOMPARE(window.statusText(0), QStringLiteral("VMAX: 90kts"));
}

void UnexpectedErrorTest::anExceptionInAnEventHandlerIsReportedWhileTheWindowLives() {
    MainWindowFixture folder;
    FakePrompter prompter;
    MainWindow window(folder.app, prompter, [](WindowSession&, MainView&, DrawMode) {});
    Ending ending;
    UnexpectedErrorHandler handler(ending.options());
    handler.install();
    handler.attach(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // Events go on during the wait: a timer due in the middle of it fires.
    bool firedBeforeTheEnd = false;
    FailingReceiver receiver;
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
    QTimer::singleShot(kWait / 3, &window, [&] { firedBeforeTheEnd = ending.count() == 0; });
    QTRY_COMPARE(ending.count(), size_t(1));
    QVERIFY(firedBeforeTheEnd);
    QCOMPARE(ending.codes[0], 255);
    QCOMPARE(window.panel()->lines().value(1),
             QStringLiteral("Error Type: std::out_of_range: row 7 of 3 (1) "));
    // Nothing can be started over the report.
    QVERIFY(!window.menusEnabled());
}

void UnexpectedErrorTest::anErrorDuringTheReportEndsAtOnce() {
    MainWindowFixture folder;
    FakePrompter prompter;
    MainWindow window(folder.app, prompter, [](WindowSession&, MainView&, DrawMode) {});
    Ending ending;
    UnexpectedErrorHandler handler(ending.options());
    handler.install();
    handler.attach(&window);

    FailingReceiver receiver;
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
    // A second failure while the first is shown.
    QTimer::singleShot(kWait / 3, &receiver,
                       [&] { QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User)); });
    const Clock::time_point started = Clock::now();
    QTRY_COMPARE(ending.count(), size_t(2));
    // The inner error ended at once, the first report after its wait.
    QVERIFY(ending.times[0] - started < kWait);
    QVERIFY(ending.times[1] - started >= kWait);
    QCOMPARE(countContaining(window.panel()->lines(), QStringLiteral("Warning")), 1);
}

int main(int argc, char** argv) {
    GuardedApplication application(argc, argv);
    UnexpectedErrorTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "unexpected_error_report_test.moc"
