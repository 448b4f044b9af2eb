#include "app/batch_run.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app/app_state.h"
#include "app/temp_folder.h"
#include "files/file_io.h"
#include "render/canvas/picture.h"
#include "render/job_log.h"
#include "render/main_view.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

// A batch run's state in a run folder laid out with the real language files.
struct BatchFixture {
    TempFolder run;
    AppState app;
    std::ostringstream err;

    BatchFixture() {
        app.runFolder = run.path();
        for (const char* name : {"en.lang", "Language.ini"}) {
            run.put(name, readFileOrEmpty(std::string(TCMAP_SOURCE_DIR "/data/") + name));
        }
        app.langCode = "en";
        ::mkdir(run.file("temp").c_str(), 0755);
        app.tempFilePath = run.file("temp/77.tmp");
        app.batchOutputPath = run.file("out.png");
        app.trackFiles = {"a.dat"};
    }
};

// What a job leaves behind when it drew a map: the scratch file, the shown
// picture and its format.
void drawTinyMap(AppState& app, MainView& view) {
    view.writeLine("Drawing started ..", kProgressColour);
    view.setStatusPart(0, "VMAX: 100kts");
    view.setStatusPart(1, "MSLP: 950mb");
    view.setStatusPart(2, "ACE: 3.5");
    Picture picture;
    ASSERT_EQ(picture.create(4, 3, 0xFF204080, kBmpFormatId), 0);
    std::vector<uint8_t> bytes;
    ASSERT_EQ(picture.encode(kBmpFormatId, bytes), 0);
    ASSERT_EQ(picture.save(app.tempFilePath, kBmpFormatId), 0);
    app.outputFormatId = std::string(kBmpFormatId);
    view.setPanelPicture(bytes);
    view.setPictureLayout(kMapPictureLayout);
}

}  // namespace

TEST(RunBatch, RunsTheJobOffTheMainThreadAndSavesItsMap) {
    BatchFixture f;
    const std::thread::id mainThread = std::this_thread::get_id();
    std::thread::id jobThread;
    const int code = runBatch(f.app, f.err, [&](AppState& app, MainView& view) {
        jobThread = std::this_thread::get_id();
        drawTinyMap(app, view);
        app.appendFailure("Unsupported file b.fst\r\n");
    });

    EXPECT_EQ(code, 0);
    EXPECT_NE(jobThread, mainThread);
    Picture saved;
    ASSERT_TRUE(saved.loadFile(f.app.batchOutputPath));
    EXPECT_EQ(saved.width(), 4);
    EXPECT_EQ(saved.pixelArgb(0, 0), 0xFF204080u);
    EXPECT_FALSE(pathExists(f.app.tempFilePath));
    // Log lines as they came, the info line at the end, then the messages.
    const std::string err = f.err.str();
    const size_t log = err.find("Drawing started ..\n");
    const size_t info = err.find("VMAX: 100kts  MSLP: 950mb  ACE: 3.5\n");
    const size_t message = err.find("Unsupported file b.fst\n");
    ASSERT_NE(log, std::string::npos) << err;
    ASSERT_NE(info, std::string::npos) << err;
    ASSERT_NE(message, std::string::npos) << err;
    EXPECT_LT(log, info);
    EXPECT_LT(info, message);
}

TEST(RunBatch, AJobWithoutAMapEndsWithTheFailureReport) {
    BatchFixture f;
    f.run.put("out.png", "yesterday's map");
    const int code = runBatch(f.app, f.err, [](AppState& app, MainView&) {
        app.appendFailure("The map picture could not be loaded.\r\n");
    });

    EXPECT_EQ(code, 1);
    const std::string report = readFileOrEmpty(f.app.batchOutputPath);
    EXPECT_EQ(report.rfind("~SUSPENDED - Track Map Failure.\r\n\r\n"
                           "The map picture could not be loaded.\r\n",
                           0),
              0u)
        << report;
    EXPECT_NE(f.err.str().find("The map picture could not be loaded.\n"), std::string::npos);
    EXPECT_NE(f.err.str().find(f.app.batchOutputPath + " holds the failure report"),
              std::string::npos);
}

TEST(RunBatchDeathTest, AnExceptionInTheJobIsAnUnexpectedError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    BatchFixture f;
    EXPECT_EXIT(
        {
            runBatch(f.app, std::cerr,
                     [](AppState&, MainView&) { throw std::out_of_range("fix 12 of 11"); });
        },
        ::testing::ExitedWithCode(255),
        "Warning: An unexpected error occured.\nError Type: std::out_of_range: fix 12 of 11 "
        "\\(1\\) \nThe program will exit in 5 seconds.");
    // No map and no report: the process ended inside the job.
    EXPECT_FALSE(pathExists(f.app.batchOutputPath));
}
