#include "render/job_log.h"

#include <gtest/gtest.h>

#include "app/headless_view.h"
#include "config/app_state.h"
#include "track/track_model.h"

using namespace tcmap;

namespace {

class JobLogTest : public ::testing::Test {
  protected:
    HeadlessView view;
    AppState app;
    StormStatistics stats;
    JobLog log{view, app, stats};

    std::vector<std::string> infoParts() const {
        return {view.statusPart(0), view.statusPart(1), view.statusPart(2), view.statusPart(3)};
    }
};

}  // namespace

TEST_F(JobLogTest, FreshJobShowsOnlyTheAceValue) {
    log.updateInfoLine("Reading", true);
    EXPECT_EQ(infoParts(), (std::vector<std::string>{"VMAX: ", "MSLP: ", "ACE: 0", "Reading"}));
}

TEST_F(JobLogTest, InfoLineShowsTheStatistics) {
    stats.peakWind = 125;
    stats.lowestPressure = 950;
    stats.ace = 1.0 / 3.0;
    log.updateInfoLine("", false);
    EXPECT_EQ(infoParts(), (std::vector<std::string>{"VMAX: 125kts", "MSLP: 950mb",
                                                     "ACE: 0.3333333333333", ""}));

    stats.ace = 12345678.25;
    EXPECT_EQ(aceText(stats), "ACE: 12345678.25");
    stats.ace = 1e20;
    EXPECT_EQ(aceText(stats), "ACE: 1e+20");
    // Within the tolerance below zero the value is still shown.
    stats.ace = -0.00000005;
    EXPECT_EQ(aceText(stats), "ACE: -5e-08");
    stats.ace = -0.5;
    EXPECT_EQ(aceText(stats), "ACE: ");
    stats.peakWind = -3;
    stats.lowestPressure = 0;
    EXPECT_EQ(peakWindText(stats), "VMAX: ");
    EXPECT_EQ(lowestPressureText(stats), "MSLP: ");
}

TEST_F(JobLogTest, WithoutMessageKeepsTheLastMessage) {
    log.updateInfoLine("first", true);
    stats.peakWind = 40;
    log.updateInfoLine("second", false);
    EXPECT_EQ(view.statusPart(3), "first");
    EXPECT_EQ(view.statusPart(0), "VMAX: 40kts");
}

TEST_F(JobLogTest, ReportMessageGoesToThePanelInteractively) {
    log.reportMessage("skipped a.dat", kWarningColour);
    ASSERT_EQ(view.lineCount(), 1u);
    EXPECT_EQ(view.lastLine()->text, "skipped a.dat");
    EXPECT_EQ(view.lastLine()->colour, rgb(255, 255, 0));
    EXPECT_EQ(app.failureLog(), "");
}

TEST_F(JobLogTest, ReportMessageGoesToTheFailureLogInBatchMode) {
    app.batchOutputPath = "out.png";
    log.reportMessage("skipped a.dat", kWarningColour);
    log.reportMessage("two\r\nlines", kFailureColour);
    EXPECT_EQ(view.lineCount(), 0u);
    EXPECT_EQ(app.failureLog(), "skipped a.dat\r\ntwo\r\nlines\r\n");
    // writeProgress still writes into the hidden panel.
    log.writeProgress(progressLine("Saving"), kProgressColour);
    EXPECT_EQ(view.lineTexts(), std::vector<std::string>{"Saving .."});
}
