#include "render/job_log.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/recording_view.h"
#include "track/track_model.h"

using namespace tcmap;

namespace {

class JobLogTest : public ::testing::Test {
  protected:
    ProgressRecorder view;
    StormStatistics stats;
    std::vector<DrawMessage> messages;
    JobLog log{view, stats, messages, 0};

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

// Every message goes to the progress as it is written and into the job's
// list, with its kind: a warning is what a batch run's failure report
// collects.
TEST_F(JobLogTest, MessagesKeepTheirKindAndOrder) {
    log.reportMessage("skipped a.dat", kWarningColour);
    log.writeProgress(progressLine("Saving"), kProgressColour);
    log.reportMessage("two\r\nlines", kFailureColour);
    EXPECT_EQ(view.lineTexts(),
              (std::vector<std::string>{"skipped a.dat", "Saving ..", "two", "lines"}));
    EXPECT_EQ(view.lines().front().colour, rgb(255, 255, 0));
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(messages[1].kind, MessageKind::Progress);
    EXPECT_EQ(messages[2].kind, MessageKind::Warning);
    EXPECT_EQ(messages[2].text, "two\r\nlines");
    EXPECT_EQ(view.messages().size(), 3u);
}

TEST_F(JobLogTest, DrawingErrorsCountOnFromTheCallersCount) {
    JobLog later{view, stats, messages, 7};
    EXPECT_EQ(later.countDrawingError(), 8);
    later.writeDrawingError("failed");
    EXPECT_EQ(later.drawingErrors(), 8);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, MessageKind::DrawingError);
    EXPECT_EQ(messages[0].colour, kFailureColour);
    EXPECT_EQ(view.statusPart(3), "failed");
    EXPECT_EQ(log.drawingErrors(), 0);  // another job's count is its own
}

TEST(InfoLineText, TheThreeStatisticsOnOneLine) {
    EXPECT_EQ(infoLineText(StormStatistics{}), "VMAX:   MSLP:   ACE: 0");
    EXPECT_EQ(infoLineText(StormStatistics{125, 950, 12.5}),
              "VMAX: 125kts  MSLP: 950mb  ACE: 12.5");
}
