#include "gui/unexpected_error_report.h"

#include <signal.h>
#include <unistd.h>

#include <QEventLoop>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

#include "gui/main_window.h"

namespace tcmap {

namespace {

std::atomic<UnexpectedErrorHandler*> installedHandler{nullptr};

// A fatal signal on the job's thread is passed to the user-interface thread
// through this pipe, so the window can still show the report while the
// signalled thread waits out the five seconds.
int signalPipe[2] = {-1, -1};
struct sigaction previousActions[NSIG];

// Only async-signal-safe calls: write, then the batch report's own handler
// (standard error, the wait and _exit).
void onFatalSignal(int signal) {
    const unsigned char number = static_cast<unsigned char>(signal);
    if (signalPipe[1] >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &number, 1);
    }
    const struct sigaction& previous = previousActions[signal];
    if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN &&
        previous.sa_handler != onFatalSignal) {
        previous.sa_handler(signal);
    }
    ::_exit(kUnexpectedErrorExitCode);
}

[[noreturn]] void onTerminate() {
    if (UnexpectedErrorHandler* handler = installedHandler.load()) {
        handler->handleCurrentException();
    }
    std::_Exit(kUnexpectedErrorExitCode);
}

}  // namespace

UnexpectedErrorHandler::UnexpectedErrorHandler() : UnexpectedErrorHandler(Options{}) {}

UnexpectedErrorHandler::UnexpectedErrorHandler(Options options) : options_(std::move(options)) {}

UnexpectedErrorHandler::~UnexpectedErrorHandler() {
    UnexpectedErrorHandler* self = this;
    installedHandler.compare_exchange_strong(self, nullptr);
}

void UnexpectedErrorHandler::attach(MainWindow* window) {
    window_ = window;
}

UnexpectedErrorHandler* UnexpectedErrorHandler::installed() {
    return installedHandler.load();
}

void UnexpectedErrorHandler::endProcess(int code) {
    std::fflush(stdout);
    std::fflush(stderr);
    if (options_.endProcess) {
        options_.endProcess(code);
        return;
    }
    std::_Exit(code);
}

bool UnexpectedErrorHandler::handle(int32_t code, const std::string& text) {
    if (reporting_.exchange(true)) {
        if (reporter_.load() == std::this_thread::get_id()) {
            // An error inside the report itself: no second report.
            std::fprintf(stderr, "Unexpected error while reporting an error: %s (%d)\n",
                         text.c_str(), static_cast<int>(code));
            endProcess(kUnexpectedErrorExitCode);
            return true;
        }
        // Another thread reports and ends the process; the bound only
        // matters if that thread is stuck.
        std::this_thread::sleep_for(2 * options_.wait);
        endProcess(kUnexpectedErrorExitCode);
        return true;
    }
    reporter_.store(std::this_thread::get_id());

    const std::string message = unexpectedErrorMessage(text, code);
    std::fprintf(stderr, "%s\n", withLineFeeds(message).c_str());

    MainWindow* window = window_.data();
    const bool onUiThread = QCoreApplication::instance() != nullptr &&
                            QThread::currentThread() == QCoreApplication::instance()->thread();
    const bool keepPainting = window != nullptr && onUiThread;
    if (keepPainting) {
        window->showUnexpectedError(message);
    } else if (window != nullptr) {
        QMetaObject::invokeMethod(
            window, [window, message] { window->showUnexpectedError(message); },
            Qt::QueuedConnection);
    }
    waitBeforeTheEnd(keepPainting);
    endProcess(kUnexpectedErrorExitCode);
    return true;
}

void UnexpectedErrorHandler::waitBeforeTheEnd(bool keepPainting) {
    const auto over = std::make_shared<std::atomic<bool>>(false);
    auto end = [over] {
        over->store(true);
        over->notify_all();
        // Wakes the user-interface thread, which may be waiting for events.
        if (QCoreApplication* app = QCoreApplication::instance()) {
            QMetaObject::invokeMethod(
                app, [] {}, Qt::QueuedConnection);
        }
    };
    if (options_.afterWait) {
        options_.afterWait(options_.wait, std::move(end));
    } else if (keepPainting) {
        QTimer::singleShot(options_.wait, QCoreApplication::instance(), std::move(end));
    } else {
        std::this_thread::sleep_for(options_.wait);
        end();
    }
    if (keepPainting) {
        // The window keeps painting and answering while the report is read.
        while (!over->load()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    } else {
        over->wait(false);
    }
}

bool UnexpectedErrorHandler::handleCurrentException() {
    const ErrorDescription error = describeCurrentException();
    return handle(error.code, error.text);
}

void UnexpectedErrorHandler::install() {
    installedHandler.store(this);
    if (!kSanitizerBuild) {
        // The batch handlers write the report to standard error and end the
        // process; ours run first and tell the window.
        installBatchErrorHandlers();
        watchSignals();
    }
    std::set_terminate(onTerminate);
}

void UnexpectedErrorHandler::watchSignals() {
    if (signalPipe[0] < 0 && ::pipe(signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [this] {
        unsigned char number = 0;
        if (::read(signalPipe[0], &number, 1) != 1) return;
        // The signalled thread ends the process; the window only shows why.
        if (MainWindow* window = window_.data()) {
            window->showUnexpectedError(unexpectedErrorMessage(
                fatalSignalName(number), error_code::kSignalBase + static_cast<int32_t>(number)));
        }
    });
    struct sigaction action {};
    action.sa_handler = onFatalSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    for (const int signal : kFatalSignals) ::sigaction(signal, &action, &previousActions[signal]);
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        UnexpectedErrorHandler* handler = UnexpectedErrorHandler::installed();
        if (handler == nullptr) throw;
        handler->handleCurrentException();
        return true;
    }
}

}  // namespace tcmap
