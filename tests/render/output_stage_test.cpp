#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "app/headless_view.h"
#include "base/file_io.h"
#include "config/app_state.h"
#include "i18n/language_pack.h"
#include "render/canvas/canvas.h"
#include "render/canvas/picture.h"
#include "render/job_log.h"
#include "render/output_stage.h"
#include "support/temp_folder.h"
#include "track/track_model.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

class OutputStageTest : public ::testing::Test {
  protected:
    TempFolder folder;
    AppState app;
    HeadlessView view;
    StormStatistics stats;
    JobLog log{view, app, stats};
    Picture output;

    void SetUp() override {
        app.runFolder = TCMAP_SOURCE_DIR "/data";  // the shipped language files
        app.langCode = "en";
        app.tempFilePath = folder.file("scratch.tmp");
        ASSERT_EQ(output.create(40, 30, toArgb(rgb(15, 15, 15)), kBmpFormatId), status::kOk);
    }

    std::string text(TextId id) const { return LanguagePack::fromState(app).text(id); }

    void runOutput(int32_t width, int32_t height) {
        outputTrackMap(app, view, log, LanguagePack::fromState(app), output, width, height);
    }

    static std::vector<uint8_t> bytesOf(const std::string& text) {
        return std::vector<uint8_t>(text.begin(), text.end());
    }
};

}  // namespace

TEST_F(OutputStageTest, StoresAndShowsTheMapInItsOwnFormat) {
    runOutput(40, 30);
    EXPECT_EQ(app.outputFormatId, kBmpFormatId);
    const std::vector<uint8_t> stored = bytesOf(readFileOrEmpty(app.tempFilePath));
    EXPECT_EQ(sniffFormatId(stored), kBmpFormatId);
    EXPECT_EQ(view.panelPicture(), stored);
    EXPECT_EQ(view.statusPart(3), text(TextId::Ready));
    EXPECT_EQ(view.lineCount(), 0u);
    EXPECT_TRUE(app.largePicturePath.empty());

    // A copied map keeps the format it came from (Global jobs).
    output.setFormatId(kPngFormatId);
    runOutput(40, 30);
    EXPECT_EQ(app.outputFormatId, kPngFormatId);
    EXPECT_EQ(sniffFormatId(bytesOf(readFileOrEmpty(app.tempFilePath))), kPngFormatId);
}

TEST_F(OutputStageTest, PicturesAboveTheShowLimitAreOnlyStored) {
    runOutput(8000, 6000);
    EXPECT_FALSE(view.panelPicture().empty());
    EXPECT_TRUE(app.largePicturePath.empty());

    for (const auto& [width, height] : {std::pair{8001, 6000}, std::pair{8000, 6001}}) {
        view.clearPanel();
        app.largePicturePath.clear();
        runOutput(width, height);
        EXPECT_TRUE(view.panelPicture().empty()) << width << " x " << height;
        EXPECT_EQ(app.largePicturePath, app.tempFilePath);
        ASSERT_TRUE(view.lastLine().has_value());
        EXPECT_EQ(view.lastLine()->text, text(TextId::MapTooLarge));
        EXPECT_EQ(view.lastLine()->colour, kTooLargeColour);
        EXPECT_EQ(view.statusPart(3), text(TextId::MapTooLarge));
        EXPECT_EQ(sniffFormatId(bytesOf(readFileOrEmpty(app.tempFilePath))), kBmpFormatId);
    }
}

TEST_F(OutputStageTest, AFailedScratchSaveLeavesNothingToSave) {
    // An older map in the scratch file must not come back.
    folder.put("scratch.tmp", "old map");
    app.tempFilePath = folder.file("missing/scratch.tmp");
    runOutput(9000, 30);
    EXPECT_TRUE(view.panelPicture().empty());
    EXPECT_TRUE(app.largePicturePath.empty());
    const std::vector<std::string> expected = {text(TextId::PictureFailed),
                                               text(TextId::ErrorStatus) + ": Win32错误",
                                               text(TextId::PictureFailureAdvice)};
    EXPECT_EQ(view.lineTexts(), expected);
    const std::vector<LogLine> lines = view.lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].colour, kFailureColour);
    EXPECT_EQ(lines[1].colour, kWarningColour);
    EXPECT_EQ(lines[2].colour, kFailureLastColour);
    EXPECT_EQ(view.statusPart(3), text(TextId::PictureFailed));

    // A picture that cannot be encoded takes the same path.
    view.clearPanel();
    app.batchOutputPath = folder.file("out.png");
    app.tempFilePath = folder.file("scratch.tmp");
    output.release();
    runOutput(40, 30);
    EXPECT_EQ(app.failureLog(), text(TextId::PictureFailed) + "\r\n" + text(TextId::ErrorStatus) +
                                    ": 无效的参数\r\n" + text(TextId::PictureFailureAdvice) +
                                    "\r\n");
    EXPECT_EQ(readFileOrEmpty(app.tempFilePath), "old map");
}
