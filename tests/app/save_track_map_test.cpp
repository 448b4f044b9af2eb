#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <thread>
#include <vector>

#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/batch_log.h"
#include "app/batch_output.h"
#include "app/save_gis_map.h"
#include "app/save_track_map.h"
#include "base/file_io.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"
#include "render/canvas/picture.h"
#include "render/draw.h"
#include "support/fake_prompter.h"
#include "support/recording_view.h"
#include "support/temp_folder.h"

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

// A finished window job as its end leaves it.
struct SaveFixture {
    TempFolder run;
    LastMap last;
    std::string tempFilePath = run.file("temp/1a2b.tmp");
    RecordingView view;
    LanguagePack lang{TCMAP_SOURCE_DIR "/data", "en", "UTF-8", false};
    FakePrompter prompter;

    SaveFixture() {
        ::mkdir(run.file("temp").c_str(), 0755);
        view.setPictureLayout(kMapPictureLayout);  // the job sets it at its start
    }
    void finishJob(const std::string& bytes, std::string_view formatId) {
        run.put("temp/1a2b.tmp", bytes);
        view.setPanelPicture({bytes.begin(), bytes.end()});
        last.formatId = std::string(formatId);
    }
    bool save() { return saveTrackMap(last, tempFilePath, view, lang, prompter); }
    std::string failureText(const std::string& value) const {
        return safeFormat(lang.text(TextId::SaveFailed), {value});
    }
};

// A batch job's end: its result, and the messages its log collected.
struct BatchFixture {
    TempFolder run;
    LanguagePack lang{TCMAP_SOURCE_DIR "/data", "en", "UTF-8", false};
    std::ostringstream err;
    BatchLog log{err};
    DrawResult result;

    void drawn(const Picture& map) {
        result.outcome = DrawOutcome::Drawn;
        ASSERT_TRUE(result.picture.copyFrom(map));
    }
    BatchFinish finish(const std::string& output) { return finishBatch(result, output, lang, log); }
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

    EXPECT_TRUE(f.save());
    ASSERT_EQ(f.prompter.shown.size(), 1u);
    EXPECT_EQ(f.prompter.shown[0].kind, "save");
    EXPECT_EQ(f.prompter.shown[0].title, f.lang.text(TextId::SaveDialogTitle) + ":");
    EXPECT_EQ(f.prompter.shown[0].text,
              f.lang.text(TextId::SaveDialogFilter) + "\n\npng");  // filter, path, extension
    expectPngOf(f.run.file("map.png"), map);
    EXPECT_EQ(readFileOrEmpty(f.tempFilePath), encoded(map, kBmpFormatId));
    EXPECT_EQ(f.view.statusPart(3), f.lang.text(TextId::MapSaved));
    EXPECT_EQ(f.prompter.waitCursorDepth, 0);

    // Saving again under another name gives the same file.
    EXPECT_TRUE(f.save());
    EXPECT_EQ(readFileOrEmpty(f.run.file("again.png")), readFileOrEmpty(f.run.file("map.png")));
}

TEST(SaveTrackMap, CopiesAPngPictureByteForByte) {
    SaveFixture f;
    // Bytes after the end of a PNG survive a copy, never a conversion.
    const std::string png = encoded(testPicture(9, 4), kPngFormatId) + "tail";
    f.finishJob(png, kPngFormatId);
    f.prompter.paths = {f.run.put("old.png", "an older picture under the chosen name")};

    EXPECT_TRUE(f.save());
    EXPECT_EQ(readFileOrEmpty(f.run.file("old.png")), png);
}

TEST(SaveTrackMap, RefusesWhenThePanelShowsNoMapOrTheDialogIsCancelled) {
    SaveFixture f;
    f.prompter.paths = {f.run.file("map.png")};
    EXPECT_FALSE(f.save());  // empty panel
    f.finishJob(encoded(testPicture(), kBmpFormatId), kBmpFormatId);
    f.view.setPictureLayout(0);  // the idle picture, not a map
    EXPECT_FALSE(f.save());
    ASSERT_EQ(f.prompter.shown.size(), 2u);
    EXPECT_EQ(f.prompter.count("save"), 0u);
    EXPECT_EQ(f.prompter.shown[0].text, f.lang.text(TextId::NoMapToSave));
    EXPECT_EQ(f.prompter.shown[0].title, f.lang.text(TextId::SaveMapTitle));
    EXPECT_EQ(f.prompter.shown[0].icon, Prompter::Icon::Warning);

    f.view.setPictureLayout(kMapPictureLayout);
    f.run.put("temp/1a2b.tmp", "kept");
    f.prompter.paths = {std::nullopt};
    EXPECT_FALSE(f.save());
    EXPECT_EQ(f.prompter.shown.size(), 3u);  // the dialog, no box
    EXPECT_EQ(readFileOrEmpty(f.tempFilePath), "kept");
    EXPECT_FALSE(pathExists(f.run.file("map.png")));

    // Batch mode collects the message instead.
    BatchFixture b;
    EXPECT_EQ(b.finish(b.run.file("batch.png")).exitCode, 1);
    EXPECT_EQ(b.log.failureLog(), b.lang.text(TextId::NoMapToSave) + "\r\n");
}

TEST(SaveTrackMap, ReportsFailedConversionsCopiesAndScratchWrites) {
    SaveFixture f;
    // A too-large map's scratch file that does not decode: the result code.
    f.last.formatId = std::string(kBmpFormatId);
    f.last.largePicturePath = f.run.put("temp/broken.tmp", "BM not really a picture");
    f.prompter.paths = {f.run.file("map.png"), f.run.file("map.png")};
    EXPECT_FALSE(f.save());
    ASSERT_EQ(f.prompter.count("message"), 1u);
    EXPECT_EQ(f.prompter.shown[1].text, f.failureText("-3"));
    EXPECT_EQ(f.prompter.shown[1].title, f.lang.text(TextId::SaveFailedTitle));
    EXPECT_EQ(f.view.statusPart(3), f.lang.text(TextId::SaveFailedTitle));
    EXPECT_EQ(f.prompter.waitCursorDepth, 0);

    // A PNG scratch file that has gone: the copy fails.
    f.last.formatId = std::string(kPngFormatId);
    f.last.largePicturePath = f.run.file("temp/gone.tmp");
    EXPECT_FALSE(f.save());
    EXPECT_EQ(f.prompter.shown.back().text, f.failureText("CopyError"));
    EXPECT_FALSE(pathExists(f.run.file("map.png")));

    // A scratch file that cannot be rewritten would save an older picture.
    SaveFixture g;
    g.finishJob(encoded(testPicture(), kPngFormatId), kPngFormatId);
    g.tempFilePath = g.run.file("no-such-folder/1a2b.tmp");
    g.prompter.paths = {g.run.put("out.png", "old picture")};
    EXPECT_FALSE(g.save());
    EXPECT_EQ(g.prompter.shown.back().text, g.failureText("CopyError"));
    EXPECT_EQ(readFileOrEmpty(g.run.file("out.png")), "old picture");

    // A destination the system refuses is named, with the system's reason.
    SaveFixture h;
    h.finishJob(encoded(testPicture(), kPngFormatId), kPngFormatId);
    const std::string folder = h.run.file("maps");
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    h.prompter.paths = {folder};
    EXPECT_FALSE(h.save());
    EXPECT_EQ(h.prompter.shown.back().text,
              "The track map could not be saved. Error: CopyError\r\nFile: " + folder +
                  "\r\nReason: Is a directory");
}

TEST(SaveTrackMap, ANameOfAGisFileWritesTheDrawnStormsAsLayers) {
    SaveFixture f;
    f.finishJob(encoded(testPicture(), kPngFormatId), kPngFormatId);
    auto gis = std::make_shared<GisSource>();
    Track& track = gis->tracks.emplace_back();
    track.stormId = "AL182012";
    track.statistics = StormStatistics{80, 940, 2.5};
    for (int i = 0; i < 3; ++i) {
        Fix& fix = track.fixes.emplace_back();
        fix.time = "201210" + std::to_string(22 + i) + "00";
        fix.latitude = 15.0 + i;
        fix.longitude = -78.0;
        fix.wind = 30 + 10 * i;
        fix.fields = 28;
    }
    gis->forecastAreas.swath[0] = {GeoPolygon{{{15, -80}, {15, -76}, {18, -76}, {15, -80}}, {}}};
    f.last.gis = gis;
    f.prompter.paths = {f.run.file("sandy.geojson"), f.run.file("nothing.geojson")};

    EXPECT_TRUE(f.save());
    EXPECT_EQ(f.view.statusPart(3), f.lang.text(TextId::MapSaved));
    const nlohmann::json saved =
        nlohmann::json::parse(readFileOrEmpty(f.run.file("sandy.geojson")), nullptr, false);
    std::map<std::string, int> layers;
    for (const auto& feature : saved["features"]) ++layers[feature["properties"]["layer"]];
    EXPECT_EQ(layers, (std::map<std::string, int>{{"storms", 1}, {"fixes", 3}, {"swath", 1}}));

    // A job that kept no storm: the box says so, and no file is made.
    f.last.gis.reset();
    EXPECT_FALSE(f.save());
    EXPECT_EQ(f.prompter.shown.back().text, f.failureText("no storm was drawn"));
    EXPECT_FALSE(pathExists(f.run.file("nothing.geojson")));
}

TEST(FinishBatch, SavesTheMapOrReplacesTheOutputWithTheFailureReport) {
    BatchFixture f;
    const Picture map = testPicture();
    f.drawn(map);
    EXPECT_EQ(f.finish(f.run.file("out.png")).exitCode, 0);
    expectPngOf(f.run.file("out.png"), map);
    EXPECT_EQ(f.log.failureLog(), "");

    BatchFixture g;
    const std::string output = g.run.put("out.png", "an old picture of another run");
    // The job could not load its map.
    g.log.message({MessageKind::Warning, g.lang.text(TextId::MapNotLoaded), 0});
    EXPECT_EQ(g.finish(output).exitCode, 1);
    EXPECT_EQ(readFileOrEmpty(output), "~SUSPENDED - Track Map Failure.\r\n\r\n" +
                                           g.lang.text(TextId::MapNotLoaded) + "\r\n" +
                                           g.lang.text(TextId::NoMapToSave) + "\r\n");

    // Outputs that cannot be written end the run all the same, and say so.
    BatchFixture h;
    const BatchFinish unwritten = h.finish(h.run.file("missing-folder/out.png"));
    EXPECT_EQ(unwritten.exitCode, 1);
    EXPECT_FALSE(unwritten.reportWritten);
    EXPECT_EQ(unwritten.reportError, ENOENT);
    // A FIFO is written for the process reading it, and stays a FIFO.
    const std::string fifo = h.run.file("fifo.png");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    std::string received;
    std::thread reader([&] { received = readFifo(fifo); });
    const BatchFinish streamed = h.finish(fifo);
    reader.join();
    EXPECT_EQ(streamed.exitCode, 1);
    EXPECT_TRUE(streamed.reportWritten);
    EXPECT_EQ(received.substr(0, 10), "~SUSPENDED");
    struct stat info {};
    ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

// The picture could not be written: the report says why in the system's words.
TEST(FinishBatch, AFailedPictureWriteGivesTheSystemsReason) {
    BatchFixture f;
    Picture map = testPicture();
    map.setFormatId(kPngFormatId);  // a Global job on a PNG map: copied
    f.drawn(map);
    const std::string output = f.run.file("maps");
    ASSERT_EQ(::mkdir(output.c_str(), 0755), 0);
    EXPECT_EQ(f.finish(output).exitCode, 1);
    EXPECT_EQ(f.log.failureLog(),
              f.failureText("CopyError") + "\r\nCannot write " + output + ": Is a directory\r\n");
}

// What a batch run writes is byte for byte what converting the picture's BMP
// (the scratch picture the window keeps) gives; a PNG not written is the
// conversion's code for it.
TEST(FinishBatch, WritesThePngTheConversionOfTheScratchPictureGives) {
    BatchFixture f;
    const Picture map = testPicture(13, 6);
    ASSERT_EQ(map.save(f.run.file("scratch.tmp"), kBmpFormatId), 0);
    ASSERT_EQ(convertToPng(f.run.file("scratch.tmp"), f.run.file("converted.png"), 24), 1);
    const std::string png = readFileOrEmpty(f.run.file("converted.png"));
    f.drawn(map);

    EXPECT_EQ(f.finish(f.run.file("missing-folder/out.png")).exitCode, 1);
    EXPECT_EQ(f.log.failureLog().substr(0, f.failureText("-4").size() + 2),
              f.failureText("-4") + "\r\n");
    EXPECT_EQ(f.finish(f.run.file("out.png")).exitCode, 0);
    EXPECT_EQ(readFileOrEmpty(f.run.file("out.png")), png);
}
