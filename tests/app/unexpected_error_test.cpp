#include "app/unexpected_error.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <future>
#include <iostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>

#include "app/batch_run.h"

using namespace tcmap;

TEST(UnexpectedError, DescribesWhatWasThrown) {
    try {
        throw std::runtime_error("map lost");
    } catch (...) {
        const ErrorDescription error = describeCurrentException();
        EXPECT_EQ(error.text, "std::runtime_error: map lost");
        EXPECT_EQ(error.code, error_code::kException);
    }
    try {
        throw 42;
    } catch (...) {
        EXPECT_EQ(describeCurrentException().text, "exception of type int");
    }
    EXPECT_EQ(describeCurrentException().code, error_code::kTerminate);
}

namespace {

// Async-signal-safe: writes "waited <milliseconds> ms" to standard error in
// place of the wait, so a test sees the wait the report asked for without
// spending it.
void noteTheWait(std::chrono::milliseconds wait) {
    char text[32] = "waited ";
    size_t length = 7;
    char digits[20];
    size_t count = 0;
    for (auto left = static_cast<unsigned long long>(wait.count()); count == 0 || left > 0;
         left /= 10) {
        digits[count++] = static_cast<char>('0' + left % 10);
    }
    while (count > 0) text[length++] = digits[--count];
    for (const char c : std::string_view(" ms\n")) text[length++] = c;
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, text, length);
}

// The first wait is the reporter's: it is held until a second failure has
// reached its own wait, which then never ends, so the reporter ends the process.
std::promise<void> reportShown;
std::promise<void> secondFailed;
std::atomic<int> waits{0};

void holdTheReport(std::chrono::milliseconds) {
    if (waits++ == 0) {
        reportShown.set_value();
        secondFailed.get_future().wait();
        return;
    }
    secondFailed.set_value();
    std::promise<void>().get_future().wait();
}

}  // namespace

TEST(UnexpectedErrorDeathTest, AnExceptionInTheBatchJobIsReportedAndExits255AtOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    BatchRun run;
    run.outputPath = "/nonexistent/out.png";
    // A real run ends at once with its report, as this one does.
    EXPECT_EQ(run.errorWait, std::chrono::milliseconds(0));
    run.drawMap = [](const DrawRequest&, DrawProgress&) -> DrawResult {
        throw std::out_of_range("fix 12 of 11");
    };
    EXPECT_EXIT(
        {
            setUnexpectedErrorWait(noteTheWait);
            runBatch(run, std::cerr);
        },
        ::testing::ExitedWithCode(255),
        "^Warning: An unexpected error occured.\nError Type: std::out_of_range: fix 12 "
        "of 11 \\(1\\) \nThe program exits now. Please report[^\n]*\n"
        "waited 0 ms\n$");
}

TEST(UnexpectedErrorDeathTest, AnUncaughtExceptionOnAnyThreadIsReportedOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            installBatchErrorHandlers();
            setUnexpectedErrorWait(holdTheReport);
            std::thread([] { throw std::logic_error("bad region"); }).detach();
            // A second failure while the first is reported adds nothing.
            reportShown.get_future().wait();
            reportBatchError(std::cerr, {"second", 9}, std::chrono::milliseconds(0));
        },
        ::testing::ExitedWithCode(255),
        "^Warning: An unexpected error occured.\nError Type: std::logic_error: bad region "
        "\\(1\\) \n[^W]*$");
}

// The text as a regular expression that matches only itself.
std::string literally(const std::string& text) {
    std::string pattern;
    for (const char c : text) {
        if (std::string_view("\\^$.|?*+()[]{}").find(c) != std::string_view::npos) pattern += '\\';
        pattern += c;
    }
    return pattern;
}

TEST(UnexpectedErrorDeathTest, AFatalSignalWritesTheWholeReport) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    if (kSanitizerBuild) GTEST_SKIP() << "sanitizer builds keep their own signal reports";
    // The same text as every other report, the e-mail sentence included.
    const std::string report =
        withLineFeeds(unexpectedErrorMessage(fatalSignalName(SIGFPE), 128 + SIGFPE, true));
    ASSERT_NE(report.find("Please report this problem by e-mail to "), std::string::npos);
    EXPECT_EXIT(
        {
            installBatchErrorHandlers();
            setUnexpectedErrorWait(noteTheWait);
            std::raise(SIGFPE);
        },
        // Batch mode ends at once: no wait follows the report.
        ::testing::ExitedWithCode(255), "^" + literally(report) + "\n$");
}
