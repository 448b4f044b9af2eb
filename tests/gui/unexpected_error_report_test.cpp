// The report of an unexpected error in the main window, from a job's thread
// and from an event handler, with the five seconds' wait and the exit
// replaced: the test ends each wait itself.
#include "gui/unexpected_error_report.h"

#include <QTest>
#include <QTimer>
#include <chrono>
#include <functional>
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

namespace {

// What the handler did instead of waiting and ending the process: the waits
// it began, which the test ends, and the exit codes. The hooks run on the
// reporting thread.
struct Ending {
    std::mutex mutex;
    std::vector<int> codes;
    std::vector<std::chrono::milliseconds> waits;
    std::vector<std::function<void()>> overs;
    std::function<void()> onWait;  // as a wait begins
    std::function<void()> onEnd;   // after an exit code is noted

    UnexpectedErrorHandler::Options options() {
        UnexpectedErrorHandler::Options options;
        options.afterWait = [this](std::chrono::milliseconds wait, std::function<void()> over) {
            {
                std::lock_guard lock(mutex);
                waits.push_back(wait);
                overs.push_back(std::move(over));
            }
            if (onWait) onWait();
        };
        options.endProcess = [this](int code) {
            {
                std::lock_guard lock(mutex);
                codes.push_back(code);
            }
            if (onEnd) onEnd();
        };
        return options;
    }
    size_t count() {
        std::lock_guard lock(mutex);
        return codes.size();
    }
    size_t waitCount() {
        std::lock_guard lock(mutex);
        return waits.size();
    }
    void endWait(size_t index) {
        std::function<void()> over;
        {
            std::lock_guard lock(mutex);
            over = overs.at(index);
        }
        over();
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

    window.startDrawJob(DrawMode::Normal);
    // The job's lines are replaced by the red report while the job's thread
    // waits the five seconds; only the end of the wait ends the process.
    QTRY_VERIFY(!window.panel()->lines().isEmpty() &&
                window.panel()->lines()[0].startsWith(QStringLiteral("Warning")));
    QTRY_COMPARE(ending.waitCount(), size_t(1));
    QCOMPARE(ending.waits[0], std::chrono::milliseconds(5000));
    QVERIFY(handler.reporting());
    QCOMPARE(ending.count(), size_t(0));
    ending.endWait(0);
    QTRY_COMPARE(ending.count(), size_t(1));
    QCOMPARE(ending.codes[0], 255);
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

    // Events go on during the wait: a timer started as it begins fires, and
    // only then is the wait ended.
    bool firedBeforeTheEnd = false;
    ending.onWait = [&] {
        QTimer::singleShot(0, &window, [&] {
            firedBeforeTheEnd = ending.count() == 0;
            ending.endWait(0);
        });
    };
    FailingReceiver receiver;
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
    QTRY_COMPARE(ending.count(), size_t(1));
    QVERIFY(firedBeforeTheEnd);
    QCOMPARE(ending.waits, std::vector<std::chrono::milliseconds>{kUnexpectedErrorWait});
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
    // A second failure while the first is shown ends the process at once,
    // without a wait of its own; the first report ends after its wait.
    ending.onWait = [&] {
        if (ending.waitCount() == 1) {
            QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
        } else {
            ending.endWait(ending.waitCount() - 1);  // a wait too many: fails below
        }
    };
    bool endedWhileTheFirstWaited = false;
    ending.onEnd = [&] {
        if (ending.count() != 1) return;
        endedWhileTheFirstWaited = ending.waitCount() == 1;
        ending.endWait(0);
    };
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
    QTRY_COMPARE(ending.count(), size_t(2));
    QVERIFY(endedWhileTheFirstWaited);
    QCOMPARE(ending.waitCount(), size_t(1));
    QCOMPARE(ending.codes, (std::vector<int>{255, 255}));
    QCOMPARE(countContaining(window.panel()->lines(), QStringLiteral("Warning")), 1);
}

int main(int argc, char** argv) {
    GuardedApplication application(argc, argv);
    UnexpectedErrorTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "unexpected_error_report_test.moc"
