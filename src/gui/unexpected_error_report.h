// Errors the interactive program cannot continue from: an exception escaping
// a draw job or a Qt event handler, std::terminate, a fatal signal. The report
// replaces the drawing panel's content with a red message, shows it in the
// status bar, stays five seconds with the window still painting, and the
// process ends with exit code 255.
#pragma once

#include <QApplication>
#include <QPointer>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "app/unexpected_error.h"

namespace tcmap {

class MainWindow;

class UnexpectedErrorHandler {
  public:
    struct Options {
        std::chrono::milliseconds wait = kUnexpectedErrorWait;
        // Calls `over` once `wait` has passed, on any thread, at once or
        // later. Empty: a timer on the user-interface thread, a sleep on any
        // other. Tests end the wait themselves, so none spends the time.
        std::function<void(std::chrono::milliseconds wait, std::function<void()> over)> afterWait;
        // Ends the process; tests put a recorder here.
        std::function<void(int)> endProcess;
    };

    UnexpectedErrorHandler();
    explicit UnexpectedErrorHandler(Options options);
    ~UnexpectedErrorHandler();
    UnexpectedErrorHandler(const UnexpectedErrorHandler&) = delete;
    UnexpectedErrorHandler& operator=(const UnexpectedErrorHandler&) = delete;

    // The window that shows reports; without one they go to standard error
    // only. Set on the user-interface thread.
    void attach(MainWindow* window);

    // Reports the error and ends the process with exit code 255; returns
    // true only when the end is replaced (tests). Any thread. From the
    // user-interface thread the wait runs a local event loop; from another
    // thread the report is posted to the window and that thread sleeps. An
    // error while a report is under way ends the process at once.
    bool handle(int32_t code, const std::string& text);

    // Inside a catch block: reports the exception in flight.
    bool handleCurrentException();

    // True from the first report on.
    bool reporting() const { return reporting_; }

    // Makes this the handler of the whole process: std::terminate, the
    // fatal signals (not in sanitizer builds) and GuardedApplication.
    void install();
    static UnexpectedErrorHandler* installed();

  private:
    void endProcess(int code);
    // Returns once the wait is over; the user-interface thread handles its
    // events meanwhile when `keepPainting`.
    void waitBeforeTheEnd(bool keepPainting);
    void watchSignals();

    Options options_;
    QPointer<MainWindow> window_;
    std::atomic<bool> reporting_{false};
    std::atomic<std::thread::id> reporter_{};
};

// A QApplication whose event delivery hands exceptions to the installed
// handler instead of letting them unwind through Qt.
class GuardedApplication : public QApplication {
  public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace tcmap
