// The end of a window's job: the map stored in the scratch file in its own
// format and shown, or only stored when it is too large to show.
#include "app/window_output.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/file_io.h"
#include "i18n/language_pack.h"
#include "render/canvas/canvas.h"
#include "render/canvas/picture.h"
#include "render/layers/layer_log.h"
#include "support/recording_view.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

// Maps of 40 x 30 and smaller are shown.
constexpr ShowLimit kSmallLimit{40, 30};

class WindowOutputTest : public ::testing::Test {
  protected:
    TempFolder folder;
    LanguagePack lang{TCMAP_SOURCE_DIR "/data", "en", "UTF-8", false};
    RecordingView view;
    LastMap last;
    std::string tempFilePath;
    DrawResult result;

    void SetUp() override {
        tempFilePath = folder.file("scratch.tmp");
        drawn(40, 30, kBmpFormatId);
    }

    void drawn(int width, int height, std::string_view formatId) {
        result.outcome = DrawOutcome::Drawn;
        ASSERT_EQ(result.picture.create(width, height, toArgb(rgb(15, 15, 15)), formatId),
                  status::kOk);
    }

    void runOutput() { showDrawnMap(result, last, tempFilePath, view, lang, kSmallLimit); }

    std::string text(TextId id) const { return lang.text(id); }

    static std::vector<uint8_t> bytesOf(const std::string& text) {
        return std::vector<uint8_t>(text.begin(), text.end());
    }
};

}  // namespace

TEST(ShowLimit, TheWindowShowsMapsUpTo8000By6000) {
    const ShowLimit limit;
    EXPECT_FALSE(limit.exceededBy(8000, 6000));
    EXPECT_TRUE(limit.exceededBy(8001, 6000));
    EXPECT_TRUE(limit.exceededBy(8000, 6001));
}

TEST_F(WindowOutputTest, StoresAndShowsTheMapInItsOwnFormat) {
    runOutput();
    EXPECT_EQ(last.formatId, kBmpFormatId);
    const std::vector<uint8_t> stored = bytesOf(readFileOrEmpty(tempFilePath));
    EXPECT_EQ(sniffFormatId(stored), kBmpFormatId);
    EXPECT_EQ(view.panelPicture(), stored);
    EXPECT_EQ(view.statusPart(3), text(TextId::Ready));
    EXPECT_EQ(view.lineCount(), 0u);
    EXPECT_TRUE(last.largePicturePath.empty());

    // A copied map keeps the format it came from (Global jobs).
    result.picture.setFormatId(kPngFormatId);
    runOutput();
    EXPECT_EQ(last.formatId, kPngFormatId);
    EXPECT_EQ(sniffFormatId(bytesOf(readFileOrEmpty(tempFilePath))), kPngFormatId);
}

TEST_F(WindowOutputTest, PicturesAboveTheShowLimitAreOnlyStored) {
    runOutput();
    EXPECT_FALSE(view.panelPicture().empty());
    EXPECT_TRUE(last.largePicturePath.empty());

    for (const auto& [width, height] : {std::pair{41, 30}, std::pair{40, 31}}) {
        view.clearPanel();
        last = LastMap{};
        drawn(width, height, kBmpFormatId);
        runOutput();
        EXPECT_TRUE(view.panelPicture().empty()) << width << " x " << height;
        EXPECT_EQ(last.largePicturePath, tempFilePath);
        ASSERT_TRUE(view.lastLine().has_value());
        EXPECT_EQ(view.lastLine()->text, text(TextId::MapTooLarge));
        EXPECT_EQ(view.lastLine()->colour, kTooLargeColour);
        EXPECT_EQ(view.statusPart(3), text(TextId::MapTooLarge));
        EXPECT_EQ(sniffFormatId(bytesOf(readFileOrEmpty(tempFilePath))), kBmpFormatId);
    }
}

TEST_F(WindowOutputTest, AFailedScratchSaveLeavesNothingToSave) {
    // An older map in the scratch file must not come back.
    folder.put("scratch.tmp", "old map");
    tempFilePath = folder.file("missing/scratch.tmp");
    drawn(41, 30, kBmpFormatId);
    runOutput();
    EXPECT_TRUE(view.panelPicture().empty());
    EXPECT_TRUE(last.largePicturePath.empty());
    // The system's reason and the file, not a status number's name and
    // advice about the map picture.
    const std::vector<std::string> expected = {
        text(TextId::PictureFailed), text(TextId::ErrorStatus) + ": No such file or directory",
        "The picture could not be written to " + tempFilePath + "."};
    EXPECT_EQ(view.lineTexts(), expected);
    const std::vector<LogLine> lines = view.lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].colour, kFailureColour);
    EXPECT_EQ(lines[1].colour, kWarningColour);
    EXPECT_EQ(lines[2].colour, kFailureLastColour);
    EXPECT_EQ(view.statusPart(3), text(TextId::PictureFailed));

    // A picture that cannot be encoded takes the same path.
    view.clearPanel();
    tempFilePath = folder.file("scratch.tmp");
    result.picture.release();
    runOutput();
    EXPECT_EQ(view.lineTexts(),
              (std::vector<std::string>{text(TextId::PictureFailed),
                                        text(TextId::ErrorStatus) + ": 无效的参数",
                                        text(TextId::PictureFailureAdvice)}));
    EXPECT_EQ(readFileOrEmpty(tempFilePath), "old map");
}

// The chart beside the window's map: the best tracks of the drawing, none for
// a forecast alone or for more storms than a chart can tell apart.
TEST(WindowChart, ChartsTheBestTracksOfAFewStorms) {
    const auto track = [](TrackFileKind kind, const std::string& number) {
        Track t;
        t.kind = kind;
        t.stormId = "AL" + number;
        t.basin = "AL";
        for (const char* time : {"202209260000", "202209261200"}) {
            Fix fix;
            fix.basin = "AL";
            fix.number = number;
            fix.time = time;
            fix.aid = kind == TrackFileKind::ForecastFile ? "OFCL" : "BEST";
            fix.wind = 50;
            fix.pressure = 990;
            fix.fields = 11;  // the record gives wind, pressure and type
            t.fixes.push_back(fix);
        }
        return t;
    };
    DrawRequest request;
    request.language = LanguagePack(TCMAP_SOURCE_DIR "/data", "en", "UTF-8", false);
    DrawResult result;
    EXPECT_TRUE(windowChart(result, request).empty());
    result.tracks.push_back(track(TrackFileKind::ForecastFile, "09"));
    EXPECT_TRUE(windowChart(result, request).empty());

    result.tracks.push_back(track(TrackFileKind::BestTrackFile, "09"));
    Picture chart;
    const std::vector<uint8_t> bytes = windowChart(result, request);
    ASSERT_TRUE(chart.loadBytes(bytes));
    EXPECT_EQ(chart.width(), 1600);
    EXPECT_EQ(chart.height(), 900);

    for (int n = 10; n < 50; ++n)
        result.tracks.push_back(track(TrackFileKind::BestTrackFile, std::to_string(n)));
    EXPECT_TRUE(windowChart(result, request).empty());  // 41 storms
}
