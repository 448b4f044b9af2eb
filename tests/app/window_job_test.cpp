// A draw job of the main window: the panel and the status bar as the job
// leaves them, what Save gets, and the window always given back.
#include "app/window_job.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "i18n/language_pack.h"
#include "render/canvas/drawing_tape.h"
#include "render/canvas/picture.h"
#include "render/layers/layer_log.h"
#include "support/recording_view.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

class WindowJobTest : public ::testing::Test {
  protected:
    TempFolder folder;
    ProgramPaths paths;
    LanguageChoice language;
    StyleChoice style;
    std::string tempFilePath;
    std::vector<std::string> trackFiles;
    std::vector<std::string> region;
    std::atomic<bool> jobRunning{false};
    LastMap lastMap;
    int64_t drawingErrors = 0;
    RecordingView view;

    void SetUp() override {
        folder.put("en.lang", readFileOrEmpty(std::string(TCMAP_SOURCE_DIR) + "/data/en.lang"));
        paths.runFolder = folder.path();
        paths.settingsPath = folder.put(
            "Settings.ini",
            "[Borvane4]\nWidthSpace=10\nHeightSpace=5\nWidth=50\nHeight=20\nTrack=1e30\n");
        language.code = "en";
        tempFilePath = folder.file("scratch.tmp");
        Picture map;
        ASSERT_EQ(map.create(360, 180, 0xFF204060, kPngFormatId), 0);
        ASSERT_EQ(map.save(folder.file("map.png"), kPngFormatId), 0);
        style.mapPath = style.mapPath1 = folder.file("map.png");
        trackFiles = {folder.put(
            "bwp012014.dat", "WP, 01, 2014090100,   , BEST,   0, 100N, 1000E, 35, 990, TS, \n")};
    }

    void run(DrawMode mode = DrawMode::Normal) {
        view.enableMenus(false);  // the command disables them before the job
        const WindowJob job{paths,   language, style,      tempFilePath, trackFiles,   region,
                            nullptr, false,    jobRunning, lastMap,      drawingErrors};
        runWindowJob(job, view, mode);
    }

    std::string text(TextId id) const { return LanguagePack(paths, language).text(id); }

    // The job handed the window back, whatever happened.
    void expectEnded(const std::string& why) {
        EXPECT_FALSE(jobRunning) << why;
        EXPECT_TRUE(view.menusEnabled()) << why;
        EXPECT_GE(view.titleRefreshCount(), 2) << why;
        EXPECT_EQ(view.pictureLayout(), kMapPictureLayout) << why;
    }
};

}  // namespace

TEST_F(WindowJobTest, TheMapIsShownAndKeptForSave) {
    lastMap.largePicturePath = "left by an earlier job";
    run();
    expectEnded("drawn");
    EXPECT_EQ(view.statusPart(3), text(TextId::Ready));
    Picture shown;
    ASSERT_TRUE(shown.loadBytes(view.panelPicture()));
    EXPECT_EQ(shown.width(), 50);
    EXPECT_EQ(shown.height(), 20);
    EXPECT_EQ(lastMap.formatId, kBmpFormatId);
    EXPECT_TRUE(lastMap.largePicturePath.empty());
    ASSERT_TRUE(lastMap.drawing);  // for a vector save
    EXPECT_GT(lastMap.drawing->operationCount(), 0u);
    const std::vector<uint8_t> panel = view.panelPicture();
    EXPECT_EQ(readFileOrEmpty(tempFilePath), std::string(panel.begin(), panel.end()));

    // A Global job keeps the map's own format.
    run(DrawMode::Global);
    EXPECT_EQ(lastMap.formatId, kPngFormatId);
}

TEST_F(WindowJobTest, EveryWayOutGivesTheWindowBack) {
    struct Row {
        const char* why;
        std::string settings;
        std::string map;
        std::vector<std::string> files;
        TextId message;
    };
    const std::vector<Row> rows = {
        {"map not loaded", "[Borvane4]\n", folder.file("missing.png"), trackFiles,
         TextId::MapNotLoaded},
        {"no fix",
         "[Borvane4]\n",
         folder.file("map.png"),
         {folder.file("none.dat")},
         TextId::NoFixToDraw},
        {"picture not made", "[Borvane4]\nWidth=2000000000\n", folder.file("map.png"), trackFiles,
         TextId::PictureFailed},
    };
    for (const Row& row : rows) {
        folder.put("Settings.ini", row.settings);
        style.mapPath = row.map;
        trackFiles = row.files;
        lastMap.drawing.reset();
        view.setPanelPicture({1, 2, 3});  // the map of the job before
        run();
        expectEnded(row.why);
        EXPECT_EQ(view.statusPart(3), text(row.message)) << row.why;
        EXPECT_TRUE(view.panelPicture().empty()) << row.why;
        EXPECT_EQ(lastMap.drawing, nullptr) << row.why;
    }
}

// The drawing errors of one job are counted on by the next.
TEST_F(WindowJobTest, DrawingErrorsCountOnFromJobToJob) {
    drawingErrors = 5;
    run();
    // Nothing failed: the count is where it was.
    EXPECT_EQ(drawingErrors, 5);
    for (const LogLine& line : view.lines()) {
        EXPECT_EQ(line.text.find("An error occurred"), std::string::npos) << line.text;
    }
}

// A setting the drawing library refuses: the log keeps the library's words,
// and the messages name the value, the key and the file in the user's language.
TEST_F(WindowJobTest, DrawingErrorsNameTheInvalidSettingInTheUsersLanguage) {
    folder.put("zh-cn.lang", readFileOrEmpty(std::string(TCMAP_SOURCE_DIR) + "/data/zh-cn.lang"));
    struct Row {
        const char* code;
        std::string expected;
    };
    const Row rows[] = {
        {"en",
         "The value -3 is not valid (Track1 in Settings.ini): expected a number from 0 to "
         "1000000"},
        {"zh-cn", "设置值 -3 无效（Track1，位于 Settings.ini）：应为 "},
    };
    for (const Row& row : rows) {
        language.code = row.code;
        folder.put("Settings.ini",
                   "[Borvane4]\nMode=1\nWidthSpace1=10\nHeightSpace1=5\nWidth1=50\n"
                   "Height1=20\nTrack1=-3\n");
        style.tcv = true;  // Track1 is the track width of the TCV style
        const int64_t before = drawingErrors;
        run();
        expectEnded(row.code);
        EXPECT_GT(drawingErrors, before) << row.code;
        const std::vector<std::string> messages = view.jobMessages();
        ASSERT_FALSE(messages.empty()) << row.code;
        EXPECT_EQ(messages.back().rfind(row.expected, 0), 0u) << messages.back();
        bool libraryWords = false;
        for (const LogLine& line : view.lines()) {
            libraryWords |=
                line.text.find("An error occurred while using GDI+") != std::string::npos;
            EXPECT_EQ(line.text.find("is not valid"), std::string::npos) << line.text;
        }
        EXPECT_TRUE(libraryWords) << row.code;
    }
}

// A region beside every fix gives a notice naming the region instead of a
// map of bare sea and land; a region around a fix draws as before.
TEST_F(WindowJobTest, ARegionWithoutAFixGivesANoticeNotAnEmptyMap) {
    const struct {
        std::vector<std::string> region;
        bool drawn;
    } rows[] = {
        {{"60", "-100", "60", "100"}, false},  // the Atlantic; the fix is at 10N 100E
        {{"-5", "90", "30", "40"}, false},     // south of the fix
        {{"60", "100", "60", "80"}, true},     // its edge holds the fix
        {{"20", "-260", "20", "10"}, true},    // "-260" counts from 360: 100E to 110E
    };
    for (const auto& row : rows) {
        region = row.region;
        view.setPanelPicture({1, 2, 3});  // the map of the job before
        run(DrawMode::Regional);
        expectEnded(region[1]);
        const std::vector<std::string> messages = view.jobMessages();
        const bool noticed = !messages.empty() && messages.back().starts_with("No track fix lies");
        if (row.drawn) {
            EXPECT_FALSE(view.panelPicture().empty()) << region[1];
            EXPECT_FALSE(noticed) << region[1];
            EXPECT_EQ(view.statusPart(3), text(TextId::Ready));
            continue;
        }
        EXPECT_TRUE(view.panelPicture().empty()) << region[1];
        EXPECT_EQ(lastMap.drawing, nullptr) << region[1];
        ASSERT_TRUE(noticed) << region[1];
        const std::string stored = region[0] + "," + region[1] + "," + region[2] + "," + region[3];
        EXPECT_NE(messages.back().find(stored), std::string::npos) << messages.back();
        EXPECT_EQ(view.statusPart(3), messages.back());
        EXPECT_EQ(view.lines().back().text, messages.back());
    }
}
