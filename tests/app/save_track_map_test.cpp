#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <thread>
#include <vector>

#include "app/batch_finish.h"
#include "app/headless_view.h"
#include "app/save_track_map.h"
#include "base/file_io.h"
#include "config/app_state.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"
#include "render/canvas/picture.h"
#include "render/job_log.h"
#include "render/output_stage.h"
#include "support/fake_prompter.h"
#include "support/temp_folder.h"
#include "track/track_model.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

// A small picture whose pixels all differ.
Picture testPicture(int width = 7, int height = 5) {
    Picture picture;
    EXPECT_EQ(picture.create(width, height, 0xFF0F0F0F, kBmpFormatId), 0);
    for (int i = 0; i < width * height; ++i) picture.pixels()[i] = 0xFF000000u | i * 0x010305;
    return picture;
}

std::string encoded(const Picture& picture, std::string_view formatId) {
    std::vector<uint8_t> bytes;
    EXPECT_EQ(picture.encode(formatId, bytes), 0);
    return {bytes.begin(), bytes.end()};
}

// A 24-bit PNG (bit depth 8, colour type 2) of the same pixels.
void expectPngOf(const std::string& path, const Picture& expected) {
    const std::string bytes = readFileOrEmpty(path);
    ASSERT_GT(bytes.size(), 26u) << path;
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    EXPECT_EQ(bytes[24], 8);
    EXPECT_EQ(bytes[25], 2);
    Picture saved;
    ASSERT_TRUE(saved.loadFile(path));
    ASSERT_EQ(saved.width(), expected.width());
    ASSERT_EQ(saved.height(), expected.height());
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            EXPECT_EQ(saved.pixelArgb(x, y), expected.pixelArgb(x, y)) << x << "," << y;
        }
    }
}

std::string readFifo(const std::string& path) {
    std::string bytes;
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return bytes;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) bytes.append(buffer, n);
    ::close(fd);
    return bytes;
}

// A finished job as the output stage leaves it.
struct SaveFixture {
    TempFolder run;
    AppState app;
    HeadlessView view;
    LanguagePack lang{TCMAP_SOURCE_DIR "/data", "en", "UTF-8", false};
    FakePrompter prompter;

    SaveFixture() {
        ::mkdir(run.file("temp").c_str(), 0755);
        app.runFolder = run.path();
        app.tempFilePath = run.file("temp/1a2b.tmp");
        view.setPictureLayout(kMapPictureLayout);  // the job sets it at its start
    }
    void finishJob(const std::string& bytes, std::string_view formatId) {
        run.put("temp/1a2b.tmp", bytes);
        view.setPanelPicture({bytes.begin(), bytes.end()});
        app.outputFormatId = std::string(formatId);
    }
    std::string failureText(const std::string& value) const {
        return safeFormat(lang.text(TextId::SaveFailed), {value});
    }
};

}  // namespace

TEST(SaveTrackMap, ConvertsTheShownMapThroughTheRewrittenScratchFile) {
    SaveFixture f;
    const Picture map = testPicture();
    f.finishJob(encoded(map, kBmpFormatId), kBmpFormatId);
    f.run.put("temp/1a2b.tmp", "stale bytes of another picture");
    f.prompter.paths = {f.run.file("map.png"), f.run.file("again.png")};

    EXPECT_TRUE(saveTrackMap(f.app, f.view, f.lang, &f.prompter));
    ASSERT_EQ(f.prompter.shown.size(), 1u);
    EXPECT_EQ(f.prompter.shown[0].kind, "save");
    EXPECT_EQ(f.prompter.shown[0].title, f.lang.text(TextId::SaveDialogTitle) + ":");
    EXPECT_EQ(f.prompter.shown[0].text,
              f.lang.text(TextId::SaveDialogFilter) + "\n\npng");  // filter, path, extension
    expectPngOf(f.run.file("map.png"), map);
    EXPECT_EQ(readFileOrEmpty(f.app.tempFilePath), encoded(map, kBmpFormatId));
    EXPECT_EQ(f.view.statusPart(3), f.lang.text(TextId::MapSaved));
    EXPECT_EQ(f.prompter.waitCursorDepth, 0);

    // Saving again under another name gives the same file.
    EXPECT_TRUE(saveTrackMap(f.app, f.view, f.lang, &f.prompter));
    EXPECT_EQ(readFileOrEmpty(f.run.file("again.png")), readFileOrEmpty(f.run.file("map.png")));
}

TEST(SaveTrackMap, CopiesAPngPictureByteForByte) {
    SaveFixture f;
    // Bytes after the end of a PNG survive a copy, never a conversion.
    const std::string png = encoded(testPicture(9, 4), kPngFormatId) + "tail";
    f.finishJob(png, kPngFormatId);
    f.prompter.paths = {f.run.put("old.png", "an older picture under the chosen name")};

    EXPECT_TRUE(saveTrackMap(f.app, f.view, f.lang, &f.prompter));
    EXPECT_EQ(readFileOrEmpty(f.run.file("old.png")), png);
}

TEST(SaveTrackMap, RefusesWhenThePanelShowsNoMapOrTheDialogIsCancelled) {
    SaveFixture f;
    f.prompter.paths = {f.run.file("map.png")};
    EXPECT_FALSE(saveTrackMap(f.app, f.view, f.lang, &f.prompter));  // empty panel
    f.finishJob(encoded(testPicture(), kBmpFormatId), kBmpFormatId);
    f.view.setPictureLayout(0);  // the idle picture, not a map
    EXPECT_FALSE(saveTrackMap(f.app, f.view, f.lang, &f.prompter));
    ASSERT_EQ(f.prompter.shown.size(), 2u);
    EXPECT_EQ(f.prompter.count("save"), 0u);
    EXPECT_EQ(f.prompter.shown[0].text, f.lang.text(TextId::NoMapToSave));
    EXPECT_EQ(f.prompter.shown[0].title, f.lang.text(TextId::SaveMapTitle));
    EXPECT_EQ(f.prompter.shown[0].icon, Prompter::Icon::Warning);

    f.view.setPictureLayout(kMapPictureLayout);
    f.run.put("temp/1a2b.tmp", "kept");
    f.prompter.paths = {std::nullopt};
    EXPECT_FALSE(saveTrackMap(f.app, f.view, f.lang, &f.prompter));
    EXPECT_EQ(f.prompter.shown.size(), 3u);  // the dialog, no box
    EXPECT_EQ(readFileOrEmpty(f.app.tempFilePath), "kept");
    EXPECT_FALSE(pathExists(f.run.file("map.png")));

    // Batch mode collects the message instead.
    f.view.setPanelPicture({});
    f.app.batchOutputPath = f.run.file("batch.png");
    EXPECT_FALSE(saveTrackMap(f.app, f.view, f.lang, nullptr));
    EXPECT_EQ(f.app.failureLog(), f.lang.text(TextId::NoMapToSave) + "\r\n");
}

TEST(SaveTrackMap, ReportsFailedConversionsCopiesAndScratchWrites) {
    SaveFixture f;
    // A too-large map's scratch file that does not decode: the result code.
    f.app.outputFormatId = std::string(kBmpFormatId);
    f.app.largePicturePath = f.run.put("temp/broken.tmp", "BM not really a picture");
    f.prompter.paths = {f.run.file("map.png"), f.run.file("map.png")};
    EXPECT_FALSE(saveTrackMap(f.app, f.view, f.lang, &f.prompter));
    ASSERT_EQ(f.prompter.count("message"), 1u);
    EXPECT_EQ(f.prompter.shown[1].text, f.failureText("-3"));
    EXPECT_EQ(f.prompter.shown[1].title, f.lang.text(TextId::SaveFailedTitle));
    EXPECT_EQ(f.view.statusPart(3), f.lang.text(TextId::SaveFailedTitle));
    EXPECT_EQ(f.prompter.waitCursorDepth, 0);

    // A PNG scratch file that has gone: the copy fails.
    f.app.outputFormatId = std::string(kPngFormatId);
    f.app.largePicturePath = f.run.file("temp/gone.tmp");
    EXPECT_FALSE(saveTrackMap(f.app, f.view, f.lang, &f.prompter));
    EXPECT_EQ(f.prompter.shown.back().text, f.failureText("CopyError"));
    EXPECT_FALSE(pathExists(f.run.file("map.png")));

    // A scratch file that cannot be rewritten would save an older picture.
    SaveFixture g;
    g.finishJob(encoded(testPicture(), kPngFormatId), kPngFormatId);
    g.app.tempFilePath = g.run.file("no-such-folder/1a2b.tmp");
    g.app.batchOutputPath = g.run.put("out.png", "old picture");
    EXPECT_FALSE(saveTrackMap(g.app, g.view, g.lang, nullptr));
    EXPECT_EQ(g.app.failureLog(), g.failureText("CopyError") + "\r\n");
    EXPECT_EQ(readFileOrEmpty(g.app.batchOutputPath), "old picture");
}

TEST(FinishBatch, SavesTheMapOrReplacesTheOutputWithTheFailureReport) {
    SaveFixture f;
    const Picture map = testPicture();
    f.finishJob(encoded(map, kBmpFormatId), kBmpFormatId);
    f.app.batchOutputPath = f.run.file("out.png");
    EXPECT_EQ(finishBatch(f.app, f.view, f.lang), 0);
    expectPngOf(f.app.batchOutputPath, map);
    EXPECT_FALSE(pathExists(f.app.tempFilePath));
    EXPECT_EQ(f.app.failureLog(), "");

    SaveFixture g;
    g.run.put("temp/1a2b.tmp", "scratch of this run");
    g.app.batchOutputPath = g.run.put("out.png", "an old picture of another run");
    g.app.appendFailure(g.lang.text(TextId::MapNotLoaded) +
                        "\r\n");  // the job could not load its map
    EXPECT_EQ(finishBatch(g.app, g.view, g.lang), 1);
    EXPECT_EQ(readFileOrEmpty(g.app.batchOutputPath),
              "~SUSPENDED - Track Map Failure.\r\n\r\n" + g.lang.text(TextId::MapNotLoaded) +
                  "\r\n" + g.lang.text(TextId::NoMapToSave) + "\r\n");
    EXPECT_FALSE(pathExists(g.app.tempFilePath));

    // Outputs that cannot be written end the run all the same, and say so.
    SaveFixture h;
    h.app.batchOutputPath = h.run.file("missing-folder/out.png");
    const BatchFinish unwritten = finishBatchRun(h.app, h.view, h.lang);
    EXPECT_EQ(unwritten.exitCode, 1);
    EXPECT_FALSE(unwritten.reportWritten);
    EXPECT_EQ(unwritten.reportError, ENOENT);
    // A FIFO is written for the process reading it, and stays a FIFO.
    h.app.batchOutputPath = h.run.file("fifo.png");
    ASSERT_EQ(::mkfifo(h.app.batchOutputPath.c_str(), 0644), 0);
    std::string received;
    std::thread reader([&] { received = readFifo(h.app.batchOutputPath); });
    const BatchFinish streamed = finishBatchRun(h.app, h.view, h.lang);
    reader.join();
    EXPECT_EQ(streamed.exitCode, 1);
    EXPECT_TRUE(streamed.reportWritten);
    EXPECT_EQ(received.substr(0, 10), "~SUSPENDED");
    struct stat info {};
    ASSERT_EQ(::lstat(h.app.batchOutputPath.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

// The picture could not be written: the report says why in the system's words.
TEST(FinishBatch, AFailedPictureWriteGivesTheSystemsReason) {
    SaveFixture f;
    f.finishJob(encoded(testPicture(), kPngFormatId), kPngFormatId);
    f.app.batchOutputPath = f.run.file("maps");
    ASSERT_EQ(::mkdir(f.app.batchOutputPath.c_str(), 0755), 0);
    EXPECT_EQ(finishBatch(f.app, f.view, f.lang), 1);
    EXPECT_EQ(f.app.failureLog(), f.failureText("CopyError") + "\r\nCannot write " +
                                      f.app.batchOutputPath + ": Is a directory\r\n");
}

TEST(FinishBatch, WritesThePngTheOutputStageEncodedBesideTheScratchFile) {
    SaveFixture f;
    StormStatistics stats;
    JobLog log(f.view, f.app, stats);
    const Picture map = testPicture(13, 6);
    outputTrackMap(f.app, f.view, log, f.lang, map, 13, 6);
    EXPECT_TRUE(f.app.outputPng.empty());  // interactive: nothing handed over

    f.app.batchOutputPath = f.run.file("missing-folder/out.png");
    outputTrackMap(f.app, f.view, log, f.lang, map, 13, 6);
    ASSERT_FALSE(f.app.outputPng.empty());
    // Byte for byte what converting the scratch file gives.
    ASSERT_EQ(convertToPng(f.app.tempFilePath, f.run.file("converted.png"), 24), 1);
    const std::string png = readFileOrEmpty(f.run.file("converted.png"));
    EXPECT_EQ(png, std::string(f.app.outputPng.begin(), f.app.outputPng.end()));

    // Not written: the conversion's code for a PNG not written.
    EXPECT_FALSE(saveTrackMap(f.app, f.view, f.lang, nullptr));
    EXPECT_EQ(f.app.failureLog(), f.failureText("-4") + "\r\n");
    f.app.batchOutputPath = f.run.file("out.png");
    EXPECT_EQ(finishBatch(f.app, f.view, f.lang), 0);
    EXPECT_EQ(readFileOrEmpty(f.app.batchOutputPath), png);
}
