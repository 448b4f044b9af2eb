#include "app/unexpected_error.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
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

TEST(UnexpectedErrorDeathTest, AnExceptionInTheBatchJobIsReportedThenExits255) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    BatchRun run;
    run.outputPath = "/nonexistent/out.png";
    // A real run ends at once with its report, as this one does.
    EXPECT_EQ(run.errorWait, std::chrono::milliseconds(0));
    run.drawMap = [](const DrawRequest&, DrawProgress&) -> DrawResult {
        throw std::out_of_range("fix 12 of 11");
    };
    EXPECT_EXIT(runBatch(run, std::cerr), ::testing::ExitedWithCode(255),
                "^Warning: An unexpected error occured.\nError Type: std::out_of_range: fix 12 "
                "of 11 \\(1\\) \nThe program exits now. Please report");
}

TEST(UnexpectedErrorDeathTest, AnUncaughtExceptionOnAnyThreadIsReportedOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            installBatchErrorHandlers();
            std::thread([] { throw std::logic_error("bad region"); }).detach();
            // A second failure while the first is reported adds nothing.
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
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
            std::raise(SIGFPE);
        },
        ::testing::ExitedWithCode(255), "^" + literally(report) + "\n$");
}
