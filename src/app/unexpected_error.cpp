#include "app/unexpected_error.h"

#include <cxxabi.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <exception>
#include <iostream>
#include <memory>
#include <thread>
#include <typeinfo>

namespace tcmap {

namespace {

constexpr const char* kMaintainerAddress = "tcmap-maintainers@example.org";

std::atomic<bool> reporting{false};
std::atomic<std::thread::id> reporter{};

// Async-signal-safe: nanosleep, resumed after an interruption.
void sleepFor(std::chrono::milliseconds wait) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(wait);
    timespec left{static_cast<time_t>(seconds.count()),
                  static_cast<long>(std::chrono::nanoseconds(wait - seconds).count())};
    while (::nanosleep(&left, &left) != 0) {
    }
}

std::atomic<ErrorWait> errorWait{sleepFor};
static_assert(std::atomic<ErrorWait>::is_always_lock_free, "signal handlers read it");

void waitFor(std::chrono::milliseconds wait) {
    errorWait.load()(wait);
}

// A thread that fails while another one reports leaves the ending to that
// one; the bound only matters if the reporter itself is stuck.
[[noreturn]] void awaitReporter() {
    waitFor(2 * kUnexpectedErrorWait);
    std::_Exit(kUnexpectedErrorExitCode);
}

std::string typeNameOf(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    return status == 0 && name ? std::string(name.get()) : std::string(type.name());
}

[[noreturn]] void onTerminate() {
    reportBatchError(std::cerr, describeCurrentException());
}

// Signal handlers may only use async-signal-safe calls: write, the wait, _exit.
void writeRaw(const char* text) {
    size_t length = 0;
    while (text[length] != '\0') ++length;
    while (length > 0) {
        const ssize_t n = ::write(STDERR_FILENO, text, length);
        if (n <= 0) return;
        text += n;
        length -= static_cast<size_t>(n);
    }
}

// The whole report of each fatal signal, made when the handlers are installed:
// a signal handler cannot format or allocate.
constexpr size_t kSignalReportSize = 512;
char signalReports[NSIG][kSignalReportSize];

void prepareSignalReport(int signal) {
    const std::string report =
        withLineFeeds(unexpectedErrorMessage(fatalSignalName(signal),
                                             error_code::kSignalBase + signal, true)) +
        "\n";
    char* target = signalReports[signal];
    const size_t length = std::min(report.size(), kSignalReportSize - 1);
    std::memcpy(target, report.data(), length);
    target[length] = '\0';
}

void onFatalSignal(int signal) {
    if (reporting.exchange(true)) {
        // Another thread is reporting: let it finish writing its report.
        waitFor(2 * kUnexpectedErrorWait);
    } else {
        if (signal > 0 && signal < NSIG) writeRaw(signalReports[signal]);
    }
    ::_exit(kUnexpectedErrorExitCode);
}

}  // namespace

std::string withLineFeeds(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        result += text[i];
    }
    return result;
}

const char* fatalSignalName(int signal) {
    switch (signal) {
        case SIGSEGV:
            return "Invalid memory access (SIGSEGV)";
        case SIGBUS:
            return "Bus error (SIGBUS)";
        case SIGFPE:
            return "Arithmetic error (SIGFPE)";
        case SIGILL:
            return "Illegal instruction (SIGILL)";
        case SIGABRT:
            return "Aborted (SIGABRT)";
        default:
            return "Fatal signal";
    }
}

std::string unexpectedErrorMessage(std::string_view errorText, int32_t code, bool exitsAtOnce) {
    std::string message = "Warning: An unexpected error occured.\r\nError Type: ";
    message += errorText;
    message += " (" + std::to_string(code) + ") \r\n";
    message += exitsAtOnce ? "The program exits now." : "The program will exit in 5 seconds.";
    message += " Please report this problem by e-mail to ";
    message += kMaintainerAddress;
    message += ", with the command and the files that caused it.";
    return message;
}

ErrorDescription describeCurrentException() {
    const std::exception_ptr current = std::current_exception();
    if (!current) return {"std::terminate was called", error_code::kTerminate};
    try {
        std::rethrow_exception(current);
    } catch (const std::exception& e) {
        return {typeNameOf(typeid(e)) + ": " + e.what(), error_code::kException};
    } catch (...) {
        const std::type_info* type = abi::__cxa_current_exception_type();
        return {type != nullptr ? "exception of type " + typeNameOf(*type) : "unknown exception",
                error_code::kUnknownException};
    }
}

void reportBatchError(std::ostream& err, const ErrorDescription& error,
                      std::chrono::milliseconds wait) {
    if (reporting.exchange(true)) {
        // An error inside the report itself ends the process at once.
        if (reporter.load() == std::this_thread::get_id()) std::_Exit(kUnexpectedErrorExitCode);
        awaitReporter();
    }
    reporter.store(std::this_thread::get_id());
    err << withLineFeeds(unexpectedErrorMessage(error.text, error.code, wait.count() == 0)) << '\n';
    err.flush();
    waitFor(wait);
    std::_Exit(kUnexpectedErrorExitCode);
}

void setUnexpectedErrorWait(ErrorWait wait) {
    errorWait.store(wait != nullptr ? wait : sleepFor);
}

void installBatchErrorHandlers() {
    std::set_terminate(onTerminate);
    if (kSanitizerBuild) return;
    struct sigaction action {};
    action.sa_handler = onFatalSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    for (const int signal : kFatalSignals) {
        prepareSignalReport(signal);
        ::sigaction(signal, &action, nullptr);
    }
}

void runReportingErrors(const std::function<void()>& body, std::ostream& err,
                        std::chrono::milliseconds wait) {
    try {
        body();
    } catch (...) {
        reportBatchError(err, describeCurrentException(), wait);
    }
}

}  // namespace tcmap
