// For the part of a test that needs file modes to count: root reads and
// writes any file whatever its mode, and the test run is root in CI. As root,
// the test is run again in a child of this test program as user nobody
// (setpriv) and its outcome there is the outcome here.
#pragma once

#include <gtest/gtest.h>
#include <limits.h>
#include <unistd.h>

#include <string>

#include "support/external_tool.h"

namespace tcmap::testing {

// True when file modes bind this process and the caller should go on; as
// root, runs the current test as user nobody, checks that it passed there and
// returns false.
inline bool permissionsBindThisProcess() {
    if (::geteuid() != 0) return true;
    if (!toolInstalled("setpriv")) {
        ::testing::internal::AssertHelper(::testing::TestPartResult::kSkip, __FILE__, __LINE__,
                                          "setpriv (util-linux) is not installed") =
            ::testing::Message();
        return false;
    }
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) {
        ADD_FAILURE() << "cannot find this test program";
        return false;
    }
    self[length] = '\0';
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(test->test_suite_name()) + "." + test->name();
    const ToolRun run = runTool("setpriv --reuid=nobody --regid=nogroup --clear-groups " +
                                shellQuoted(self) + " --gtest_filter=" + shellQuoted(name));
    EXPECT_EQ(run.exitCode, 0) << "as user nobody:\n" << run.output;
    EXPECT_NE(run.output.find("[  PASSED  ] 1 test."), std::string::npos) << "as user nobody:\n"
                                                                          << run.output;
    return false;
}

}  // namespace tcmap::testing
