// A whole batch run: the job's log on standard error as it happens, the info
// line, and the map or the failure report at the output path.
#include "app/batch_run.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/batch_log.h"
#include "base/file_io.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"
#include "render/canvas/picture.h"
#include "render/layers/layer_log.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

class BatchRunTest : public ::testing::Test {
  protected:
    TempFolder folder;
    BatchRun run;
    std::ostringstream err;

    void SetUp() override {
        folder.put("en.lang", readFileOrEmpty(std::string(TCMAP_SOURCE_DIR) + "/data/en.lang"));
        run.paths.runFolder = folder.path();
        run.paths.settingsPath = folder.put("Settings.ini", "[Borvane4]\nMode=0\n");
        run.language.code = "en";
        run.style.mapPath = folder.file("map.png");
        run.outputPath = folder.file("out.png");
        Picture map;
        ASSERT_EQ(map.create(360, 180, 0xFF204060, kPngFormatId), 0);
        ASSERT_EQ(map.save(run.style.mapPath, kPngFormatId), 0);
    }

    std::string text(TextId id) const {
        return LanguagePack(folder.path(), "en", "UTF-8", false).text(id);
    }
};

}  // namespace

// The messages a batch run collects for its failure report reach the terminal
// where they happen among the progress lines, each once, before the info line.
TEST_F(BatchRunTest, CollectedMessagesAreEchoedInJobOrder) {
    const std::string one = folder.put("one.dat", "no fix here\n");
    const std::string two = folder.put("two.dat", "");
    run.trackFiles = {one, two};
    EXPECT_EQ(runBatch(run, err), 1);
    const std::string noFix1 = safeFormat(text(TextId::NoUsableFix), {one});
    const std::string noFix2 = safeFormat(text(TextId::NoUsableFix), {two});
    EXPECT_EQ(err.str(),
              progressLine(text(TextId::DrawingStarted)) + "\n" +
                  progressLine(safeFormat(text(TextId::LoadingMap), {run.style.mapPath})) + "\n" +
                  progressLine(safeFormat(text(TextId::TrackFilesToRead), {2})) + "\n" + noFix1 +
                  "\n" + noFix2 + "\n" + text(TextId::NoFixToDraw) + "\nVMAX:   MSLP:   ACE: 0\n" +
                  text(TextId::NoMapToSave) + "\nNo track map was saved; " + run.outputPath +
                  " holds the failure report.\n");
    // The report itself holds every message.
    EXPECT_EQ(readFileOrEmpty(run.outputPath),
              "~SUSPENDED - Track Map Failure.\r\n\r\n" + noFix1 + "\r\n" + noFix2 + "\r\n" +
                  text(TextId::NoFixToDraw) + "\r\n" + text(TextId::NoMapToSave) + "\r\n");
}

// A drawn map becomes the PNG at the output path, and the stages are timed
// only when asked.
TEST_F(BatchRunTest, TheMapIsWrittenAsPngAndTimingsOnlyWhenAsked) {
    run.trackFiles = {folder.put(
        "bwp012014.dat", "WP, 01, 2014090100,   , BEST,   0, 100N, 1000E, 35,  990, TS, \n")};
    EXPECT_EQ(runBatch(run, err), 0);
    Picture written;
    ASSERT_TRUE(written.loadFile(run.outputPath));
    EXPECT_EQ(written.formatId(), kPngFormatId);
    EXPECT_EQ(err.str().find("tcmap timing:"), std::string::npos);
    EXPECT_NE(err.str().find("VMAX: 35kts  MSLP: 990mb  ACE: 0.1225\n"), std::string::npos);

    std::ostringstream timed;
    run.printTimings = true;
    EXPECT_EQ(runBatch(run, timed), 0);
    for (const char* stage :
         {"settings", "map load", "files", "frame", "map painting", "layers", "output", "save"}) {
        EXPECT_NE(timed.str().find(std::string("tcmap timing: ") + stage + " "), std::string::npos)
            << stage;
    }
}

// Warnings join the failure report; progress lines and drawing errors only
// reach the terminal, every line of them, an empty one included.
TEST(BatchLog, WarningsJoinTheReportOtherLinesAreOnlyShown) {
    std::ostringstream err;
    BatchLog log(err);
    log.message({MessageKind::Progress, "Drawing ..", kProgressColour});
    log.message({MessageKind::Warning, "skipped a.dat", kWarningColour});
    log.message({MessageKind::DrawingError, "failed\r\n\r\nagain", kFailureColour});
    log.message({MessageKind::Warning, "two\r\n\r\nlines", kWarningColour});
    log.addFailure("Cannot write out.png: No space left on device\r\n");
    EXPECT_EQ(err.str(),
              "Drawing ..\nskipped a.dat\nfailed\n\nagain\ntwo\nlines\n"
              "Cannot write out.png: No space left on device\n");
    EXPECT_EQ(log.failureLog(),
              "skipped a.dat\r\ntwo\r\n\r\nlines\r\nCannot write out.png: No space left on "
              "device\r\n");
    EXPECT_EQ(splitLogLines("a\r\nb\n"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(splitLogLines(""), std::vector<std::string>{""});
}
