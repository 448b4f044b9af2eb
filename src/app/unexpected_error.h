// Errors the program cannot continue from: an exception nobody handles, a
// call to std::terminate, a fatal signal. They are reported and the program
// ends with exit code 255: at once in batch mode, where the report goes to
// standard error and a script waits for the exit; the main window shows the
// same message in its panel and waits five seconds so it can be read.
#pragma once

#include <chrono>
#include <csignal>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace tcmap {

inline constexpr int kUnexpectedErrorExitCode = 255;
inline constexpr std::chrono::milliseconds kUnexpectedErrorWait{5000};
inline constexpr std::chrono::milliseconds kBatchErrorWait{0};

// Error codes of the report.
namespace error_code {
constexpr int32_t kException = 1;         // a std::exception
constexpr int32_t kUnknownException = 2;  // anything else thrown
constexpr int32_t kTerminate = 3;         // std::terminate without an exception
constexpr int32_t kSignalBase = 128;      // + the signal number
}  // namespace error_code

// The signals the handlers report, and a short description of each.
inline constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
const char* fatalSignalName(int signal);

// Sanitizer builds keep their own, more useful reports of fatal signals.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kSanitizerBuild = true;
#else
inline constexpr bool kSanitizerBuild = false;
#endif

// The text with every CR LF turned into LF, as a terminal wants it.
std::string withLineFeeds(std::string_view text);

struct ErrorDescription {
    std::string text;
    int32_t code = 0;
};

// The message of the report, lines separated by CR LF. `exitsAtOnce`: the
// batch wording, without the five seconds' wait.
std::string unexpectedErrorMessage(std::string_view errorText, int32_t code,
                                   bool exitsAtOnce = false);

// What the exception in flight is (call only inside a catch block or a
// terminate handler); the type of a standard exception and its what().
ErrorDescription describeCurrentException();

// How a report waits before the process ends: blocks the calling thread for
// the given time. Signal handlers call it too, so it must be
// async-signal-safe; the default sleeps with nanosleep. Tests put a function
// here that notes the wait, or holds it until they let it go, instead of
// spending the time.
using ErrorWait = void (*)(std::chrono::milliseconds wait);
void setUnexpectedErrorWait(ErrorWait wait);

// Writes the message to `err` with LF line breaks, waits `wait` and ends the
// process with exit code 255 without running destructors, since other
// threads may still be running. A second error while one is being reported
// ends the process at once; one on another thread waits for the reporter.
[[noreturn]] void reportBatchError(std::ostream& err, const ErrorDescription& error,
                                   std::chrono::milliseconds wait = kBatchErrorWait);

// Installs the batch-mode handlers for the whole process: std::terminate and
// (outside sanitizer builds, whose own reports are more useful) the fatal
// signals SIGSEGV, SIGBUS, SIGFPE, SIGILL and SIGABRT.
void installBatchErrorHandlers();

// Runs `body`; an exception escaping it is reported by reportBatchError on
// `err`, which waits `wait` before it ends the process. For the bodies of the
// program's threads.
void runReportingErrors(const std::function<void()>& body, std::ostream& err,
                        std::chrono::milliseconds wait = kBatchErrorWait);

}  // namespace tcmap
