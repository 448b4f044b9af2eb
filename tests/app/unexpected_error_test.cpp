#include "app/unexpected_error.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <stdexcept>
#include <thread>

using namespace tcmap;

TEST(UnexpectedError, MessageNamesTheErrorItsCodeAndTheWait) {
    EXPECT_EQ(
        unexpectedErrorMessage("std::bad_alloc: std::bad_alloc", 1)
            .rfind("Warning: An unexpected error occured.\r\nError Type: "
                   "std::bad_alloc: std::bad_alloc (1) \r\nThe program will exit in 5 seconds. "
                   "Please report this problem by e-mail to ",
                   0),
        0u);
}

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
        const ErrorDescription error = describeCurrentException();
        EXPECT_EQ(error.text, "exception of type int");
        EXPECT_EQ(error.code, error_code::kUnknownException);
    }
    EXPECT_EQ(describeCurrentException().code, error_code::kTerminate);
}

TEST(UnexpectedErrorDeathTest, AnUncaughtExceptionOnAnyThreadWaitsThenExits255) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EXIT(
        {
            installBatchErrorHandlers();
            std::thread worker([] { throw std::logic_error("bad region"); });
            worker.join();
        },
        ::testing::ExitedWithCode(255),
        "Error Type: std::logic_error: bad region \\(1\\) \nThe program will exit in 5 seconds");
    EXPECT_GE(std::chrono::steady_clock::now() - start, kUnexpectedErrorWait);
}

TEST(UnexpectedErrorDeathTest, AReportIsWrittenOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            // Two threads fail at once: one report, one exit.
            std::thread other([] {
                reportBatchError(std::cerr, {"second", 9}, std::chrono::milliseconds(300));
            });
            reportBatchError(std::cerr, {"first", 8}, std::chrono::milliseconds(300));
        },
        ::testing::ExitedWithCode(255), "^[^\n]*Warning: An unexpected error occured.\n[^W]*$");
}
