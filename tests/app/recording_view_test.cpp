// The recorder the window's tests read the main view through, and the line
// breaking the batch log and the recorder share.
#include "support/recording_view.h"

#include "app/batch_log.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace tcmap;

using Lines = std::vector<std::string>;

TEST(SplitLogLines, BreaksAtCrLfAndLf) {
    const struct {
        const char* text;
        Lines lines;
    } rows[] = {
        {"one", {"one"}},     {"one\r\ntwo\nthree", {"one", "two", "three"}},
        {"one\r\n", {"one"}}, {"one\r\n\r\ntwo", {"one", "", "two"}},
        {"", {""}},           {"\n", {""}},
        {"a\rb", {"a\rb"}},  // a lone CR is not a break
    };
    for (const auto& row : rows) EXPECT_EQ(splitLogLines(row.text), row.lines) << row.text;
}

TEST(RecordingView, LinesMoveDownFromTheTextPosition) {
    RecordingView view;
    view.setTextPosition(0, 40);
    view.writeLine("first\r\nsecond", 0x0000FF);
    view.writeLine("third", 0x00FF00);
    const std::vector<LogLine> lines = view.lines();
    ASSERT_EQ(lines.size(), 3u);
    const int step = RecordingView::kLineHeight + RecordingView::kLineGap;
    EXPECT_EQ(lines[0].y, 40);
    EXPECT_EQ(lines[1].y, 40 + step);
    EXPECT_EQ(lines[1].colour, 0x0000FFu);
    EXPECT_EQ(lines[2].y, 40 + 2 * step);
    EXPECT_EQ(lines[2].colour, 0x00FF00u);
    EXPECT_EQ(view.textColour(), 0x00FF00u);
    EXPECT_EQ(view.textPosition(), (std::array<int, 2>{0, 40 + 3 * step}));
}

TEST(RecordingView, ClearRemovesLinesAndPictureButKeepsTheRest) {
    RecordingView view;
    view.setTextPosition(5, 100);
    view.writeLine("old", 0x123456);
    view.setPanelPicture({1, 2, 3});
    view.setPictureLayout(kMapPictureLayout);
    view.setStatusPart(3, "message");
    view.enableMenus(false);
    view.clearPanel();

    EXPECT_EQ(view.lineCount(), 0u);
    EXPECT_TRUE(view.panelPicture().empty());
    EXPECT_EQ(view.textPosition(), (std::array<int, 2>{0, 0}));
    EXPECT_EQ(view.clearCount(), 1);
    EXPECT_EQ(view.textColour(), 0x123456u);
    EXPECT_EQ(view.pictureLayout(), kMapPictureLayout);
    EXPECT_EQ(view.statusPart(3), "message");
    EXPECT_FALSE(view.menusEnabled());
    EXPECT_EQ(view.pictureSetCount(), 1);
}

TEST(RecordingView, KeepsLinesAndTheInfoLine) {
    RecordingView view;
    view.writeLine("Reading a.dat ..\r\nDone", 0);
    view.setStatusPart(0, "VMAX: 125kts");
    view.setStatusPart(1, "MSLP: 950mb");
    view.setStatusPart(2, "ACE: 3.5");
    view.setStatusPart(3, "not shown in the info line");
    view.setStatusPart(kStatusParts, "ignored");
    EXPECT_EQ(view.lineTexts(), (Lines{"Reading a.dat ..", "Done"}));
    EXPECT_EQ(view.infoLine(), "VMAX: 125kts  MSLP: 950mb  ACE: 3.5");
}

TEST(RecordingView, KeepsOnlyTheNewestLinesBeyondItsLimit) {
    RecordingView view(3);
    for (int i = 0; i < 5; ++i) view.writeLine(std::to_string(i), 0);
    EXPECT_EQ(view.lineTexts(), (Lines{"2", "3", "4"}));
    EXPECT_EQ(view.lineCount(), 5u);
}

TEST(RecordingView, ReaderSeesWholeLinesWhileAJobWrites) {
    RecordingView view;
    constexpr int kLines = 2000;
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < kLines; ++i) {
            view.writeLine("line " + std::to_string(i), static_cast<uint32_t>(i));
            view.setStatusPart(3, "message " + std::to_string(i));
        }
        done = true;
    });
    size_t seen = 0;
    while (!done) {
        const std::vector<LogLine> lines = view.lines();
        EXPECT_GE(lines.size(), seen);
        seen = lines.size();
        if (!lines.empty()) {
            const LogLine& last = lines.back();
            EXPECT_EQ(last.text, "line " + std::to_string(last.colour));
        }
        const std::string part = view.statusPart(3);
        EXPECT_TRUE(part.empty() || part.rfind("message ", 0) == 0) << part;
    }
    writer.join();
    EXPECT_EQ(view.lineCount(), static_cast<size_t>(kLines));
    EXPECT_EQ(view.statusPart(3), "message " + std::to_string(kLines - 1));
}
