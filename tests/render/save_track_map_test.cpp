#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/temp_folder.h"
#include "files/file_io.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"
#include "render/canvas/picture.h"
#include "render/headless_view.h"
#include "render/job_log.h"
#include "render/map_output.h"
#include "support/fake_prompter.h"
#include "track/track_model.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

// A small map-like picture: every pixel a different opaque colour.
Picture testPicture(int width = 7, int height = 5) {
    Picture picture;
    EXPECT_EQ(picture.create(width, height, 0xFF0F0F0F, kBmpFormatId), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.pixels()[y * width + x] = 0xFF000000u | uint32_t(x * 30) << 16 | y * 40;
        }
    }
    return picture;
}

std::vector<uint8_t> encoded(const Picture& picture, std::string_view formatId) {
    std::vector<uint8_t> bytes;
    EXPECT_EQ(picture.encode(formatId, bytes), 0);
    return bytes;
}

std::string asString(const std::vector<uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

void expectSamePixels(const std::string& pngPath, const Picture& expected) {
    // A 24-bit PNG: bit depth 8, colour type 2 (RGB) in the header.
    const std::string bytes = readFileOrEmpty(pngPath);
    ASSERT_GT(bytes.size(), 26u) << pngPath;
    EXPECT_EQ(sniffFormatId({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}),
              kPngFormatId);
    EXPECT_EQ(bytes[24], 8);
    EXPECT_EQ(bytes[25], 2);
    Picture saved;
    ASSERT_TRUE(saved.loadFile(pngPath)) << pngPath;
    ASSERT_EQ(saved.width(), expected.width());
    ASSERT_EQ(saved.height(), expected.height());
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            EXPECT_EQ(saved.pixelArgb(x, y), expected.pixelArgb(x, y)) << x << "," << y;
        }
    }
}

// A finished job as the output stage leaves it: the scratch file, the
// panel's picture in map layout and the output format id.
struct SaveFixture {
    TempFolder run;
    AppState app;
    HeadlessView view;
    LanguagePack lang{TCMAP_SOURCE_DIR "/data", "en", "UTF-8", false};
    FakePrompter prompter;

    SaveFixture() {
        app.runFolder = run.path();
        ::mkdir(run.file("temp").c_str(), 0755);
        app.tempFilePath = run.file("temp/1a2b.tmp");
    }

    const FakePrompter::Shown* dialog() const {
        for (const auto& shown : prompter.shown) {
            if (shown.kind == "save") return &shown;
        }
        return nullptr;
    }
    std::vector<FakePrompter::Shown> boxes() const {
        std::vector<FakePrompter::Shown> result;
        for (const auto& shown : prompter.shown) {
            if (shown.kind == "message") result.push_back(shown);
        }
        return result;
    }

    void finishJob(const std::vector<uint8_t>& bytes, std::string_view formatId) {
        run.put("temp/1a2b.tmp", asString(bytes));
        view.setPanelPicture(bytes);
        view.setPictureLayout(kMapPictureLayout);
        app.outputFormatId = std::string(formatId);
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
    ASSERT_NE(f.dialog(), nullptr);
    EXPECT_EQ(f.dialog()->title, f.lang.text(69) + ":");
    EXPECT_EQ(f.dialog()->text, f.lang.text(70) + "\n\npng");  // filter, no start path, extension
    expectSamePixels(f.run.file("map.png"), map);
    // The scratch file holds the panel's picture again.
    EXPECT_EQ(readFileOrEmpty(f.app.tempFilePath), asString(encoded(map, kBmpFormatId)));
    EXPECT_EQ(f.view.statusPart(3), f.lang.text(113));
    EXPECT_EQ(f.prompter.waitCursorDepth, 0);
    EXPECT_TRUE(f.boxes().empty());

    // Saving again under another name gives the same file.
    EXPECT_TRUE(saveTrackMap(f.app, f.view, f.lang, &f.prompter));
    EXPECT_EQ(readFileOrEmpty(f.run.file("again.png")), readFileOrEmpty(f.run.file("map.png")));
}

TEST(SaveTrackMap, CopiesAPngPictureByteForByte) {
    SaveFixture f;
    // Bytes after the end of a PNG survive a copy, never a conversion.
    std::vector<uint8_t> png = encoded(testPicture(9, 4), kPngFormatId);
    png.insert(png.end(), {'t', 'a', 'i', 'l'});
    f.finishJob(png, kPngFormatId);
    f.run.put("old.png", "an older picture under the chosen name");
    f.prompter.paths = {f.run.file("old.png")};

    EXPECT_TRUE(saveTrackMap(f.app, f.view, f.lang, &f.prompter));
    EXPECT_EQ(readFileOrEmpty(f.run.file("old.png")), asString(png));
}

TEST(SaveTrackMap, SavesALargeMapFromItsScratchFileWithoutThePanel) {
    SaveFixture f;
    const Picture map = testPicture(11, 3);
    f.app.outputFormatId = std::string(kBmpFormatId);
    f.app.largePicturePath = f.run.put("temp/large.tmp", asString(encoded(map, kBmpFormatId)));
    f.prompter.paths = {f.run.file("large.png")};

    EXPECT_TRUE(saveTrackMap(f.app, f.view, f.lang, &f.prompter));
    expectSamePixels(f.run.file("large.png"), map);
    EXPECT_FALSE(pathExists(f.app.tempFilePath));  // the panel's case only
}

TEST(SaveTrackMap, RefusesWhenThePanelShowsNoMap) {
    SaveFixture f;
    f.prompter.paths = {f.run.file("map.png")};
    EXPECT_FALSE(saveTrackMap(f.app, f.view, f.lang, &f.prompter));  // empty panel

    f.finishJob(encoded(testPicture(), kBmpFormatId), kBmpFormatId);
    f.view.setPictureLayout(0);  // the idle picture, not a map
    EXPECT_FALSE(saveTrackMap(f.app, f.view, f.lang, &f.prompter));

    EXPECT_EQ(f.prompter.count("save"), 0u);
    ASSERT_EQ(f.boxes().size(), 2u);
    EXPECT_EQ(f.boxes()[0].text, f.lang.text(31));
    EXPECT_EQ(f.boxes()[0].title, f.lang.text(32));
    EXPECT_EQ(f.boxes()[0].icon, Prompter::Icon::Warning);
    EXPECT_EQ(f.view.statusPart(3), f.lang.text(82));
    EXPECT_FALSE(pathExists(f.run.file("map.png")));

    // Batch mode collects the message instead.
    f.app.batchOutputPath = f.run.file("batch.png");
    EXPECT_FALSE(saveTrackMap(f.app, f.view, f.lang, nullptr));
    EXPECT_EQ(f.app.failureLog(), f.lang.text(31) + "\r\n");
    EXPECT_EQ(f.boxes().size(), 2u);
}

TEST(SaveTrackMap, ACancelledDialogWritesNothing) {
    SaveFixture f;
    f.finishJob(encoded(testPicture(), kBmpFormatId), kBmpFormatId);
    f.run.put("temp/1a2b.tmp", "kept");
    f.prompter.paths = {std::nullopt};

    EXPECT_FALSE(saveTrackMap(f.app, f.view, f.lang, &f.prompter));
    EXPECT_EQ(f.prompter.count("save"), 1u);
    EXPECT_TRUE(f.boxes().empty());
    EXPECT_EQ(f.prompter.waitCursorDepth, 0);
    EXPECT_EQ(readFileOrEmpty(f.app.tempFilePath), "kept");
}

TEST(SaveTrackMap, ReportsFailedConversionsAndCopies) {
    SaveFixture f;
    // A scratch file that does not decode: the conversion's result code.
    f.app.outputFormatId = std::string(kBmpFormatId);
    f.app.largePicturePath = f.run.put("temp/broken.tmp", "BM not really a picture");
    f.prompter.paths = {f.run.file("map.png"), f.run.file("map.png")};
    EXPECT_FALSE(saveTrackMap(f.app, f.view, f.lang, &f.prompter));
    ASSERT_EQ(f.boxes().size(), 1u);
    EXPECT_EQ(f.boxes()[0].text, safeFormat(f.lang.text(33), {"-3"}));
    EXPECT_EQ(f.boxes()[0].title, f.lang.text(34));
    EXPECT_EQ(f.view.statusPart(3), f.lang.text(34));
    EXPECT_EQ(f.prompter.waitCursorDepth, 0);

    // A PNG scratch file that has gone: the copy fails.
    f.app.outputFormatId = std::string(kPngFormatId);
    f.app.largePicturePath = f.run.file("temp/gone.tmp");
    EXPECT_FALSE(saveTrackMap(f.app, f.view, f.lang, &f.prompter));
    ASSERT_EQ(f.boxes().size(), 2u);
    EXPECT_EQ(f.boxes()[1].text, safeFormat(f.lang.text(33), {"CopyError"}));
    EXPECT_FALSE(pathExists(f.run.file("map.png")));

    // Batch mode: the same message goes to the failure log.
    f.app.batchOutputPath = f.run.file("batch.png");
    EXPECT_FALSE(saveTrackMap(f.app, f.view, f.lang, nullptr));
    EXPECT_EQ(f.app.failureLog(), safeFormat(f.lang.text(33), {"CopyError"}) + "\r\n");
}

TEST(SaveTrackMap, AScratchFileThatCannotBeRewrittenFailsTheSave) {
    SaveFixture f;
    f.finishJob(encoded(testPicture(), kPngFormatId), kPngFormatId);
    f.app.tempFilePath = f.run.file("no-such-folder/1a2b.tmp");
    f.app.batchOutputPath = f.run.put("out.png", "old picture");

    EXPECT_FALSE(saveTrackMap(f.app, f.view, f.lang, nullptr));
    EXPECT_EQ(f.app.failureLog(), safeFormat(f.lang.text(33), {"CopyError"}) + "\r\n");
    EXPECT_EQ(readFileOrEmpty(f.app.batchOutputPath), "old picture");
}

TEST(FinishBatch, SavesTheMapAndRemovesTheScratchFile) {
    SaveFixture f;
    const Picture map = testPicture();
    f.finishJob(encoded(map, kBmpFormatId), kBmpFormatId);
    f.app.batchOutputPath = f.run.file("out.png");

    EXPECT_EQ(finishBatch(f.app, f.view, f.lang), 0);
    expectSamePixels(f.app.batchOutputPath, map);
    EXPECT_FALSE(pathExists(f.app.tempFilePath));
    EXPECT_EQ(f.app.failureLog(), "");
}

TEST(FinishBatch, TheFailureReportReplacesAnOldPicture) {
    SaveFixture f;
    f.run.put("temp/1a2b.tmp", "scratch of this run");
    f.app.batchOutputPath = f.run.put("out.png", "an old picture of another run");
    f.app.appendFailure(f.lang.text(89) + "\r\n");  // the job could not load its map

    EXPECT_EQ(finishBatch(f.app, f.view, f.lang), 1);
    EXPECT_EQ(readFileOrEmpty(f.app.batchOutputPath), "~SUSPENDED - Track Map Failure.\r\n\r\n" +
                                                          f.lang.text(89) + "\r\n" +
                                                          f.lang.text(31) + "\r\n");
    EXPECT_FALSE(pathExists(f.app.tempFilePath));
}

TEST(FinishBatch, AnOutputPathThatCannotBeWrittenStillEnds) {
    SaveFixture f;
    f.finishJob(encoded(testPicture(), kBmpFormatId), kBmpFormatId);
    f.app.batchOutputPath = f.run.file("missing-folder/out.png");
    EXPECT_EQ(finishBatch(f.app, f.view, f.lang), 1);
    EXPECT_FALSE(pathExists(f.app.batchOutputPath));

    // A FIFO at the output path must not block the report.
    SaveFixture g;
    g.app.batchOutputPath = g.run.file("fifo.png");
    ASSERT_EQ(::mkfifo(g.app.batchOutputPath.c_str(), 0644), 0);
    EXPECT_EQ(finishBatch(g.app, g.view, g.lang), 1);
    EXPECT_TRUE(isRegularFile(g.app.batchOutputPath));
}

TEST(FinishBatch, WritesThePngTheOutputStageEncodedBesideTheScratchFile) {
    SaveFixture f;
    StormStatistics stats;
    JobLog log(f.view, f.app, stats);
    const Picture map = testPicture(13, 6);
    f.view.setPictureLayout(kMapPictureLayout);  // as the job sets it at its start
    outputTrackMap(f.app, f.view, log, f.lang, map, 13, 6);
    EXPECT_TRUE(f.app.outputPng.empty());  // interactive: nothing handed over

    f.app.batchOutputPath = f.run.file("out.png");
    outputTrackMap(f.app, f.view, log, f.lang, map, 13, 6);
    ASSERT_FALSE(f.app.outputPng.empty());
    // Byte for byte what converting the scratch file gives.
    ASSERT_EQ(convertToPng(f.app.tempFilePath, f.run.file("converted.png"), 24), 1);
    EXPECT_EQ(readFileOrEmpty(f.run.file("converted.png")), asString(f.app.outputPng));

    EXPECT_EQ(finishBatch(f.app, f.view, f.lang), 0);
    EXPECT_EQ(readFileOrEmpty(f.app.batchOutputPath), asString(f.app.outputPng));
    EXPECT_FALSE(pathExists(f.app.tempFilePath));

    // A PNG that cannot be written fails like a conversion that could not write.
    SaveFixture g;
    JobLog gLog(g.view, g.app, stats);
    g.app.batchOutputPath = g.run.file("missing-folder/out.png");
    g.view.setPictureLayout(kMapPictureLayout);
    outputTrackMap(g.app, g.view, gLog, g.lang, map, 13, 6);
    ASSERT_FALSE(g.app.outputPng.empty());
    EXPECT_EQ(finishBatch(g.app, g.view, g.lang), 1);
    EXPECT_EQ(g.app.failureLog(), safeFormat(g.lang.text(33), {"-4"}) + "\r\n");
}
