#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "base/text_rules.h"
#include "config/job_settings.h"
#include "config/map_path.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"
#include "render/canvas/picture.h"
#include "render/draw.h"
#include "render/fix_rules.h"
#include "render/job_log.h"
#include "render/job_timings.h"
#include "render/layers/layer_log.h"
#include "support/recording_canvas.h"
#include "support/recording_view.h"
#include "support/temp_folder.h"
#include "track/atcf_reader.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

// A best-track fix as the reader gives it: basin and number from the id, the
// type code when given (a record of 11 fields, else 9).
Fix fix(const std::string& id, const std::string& time, double lat, double lon, int wind,
        const std::string& type = "TS") {
    Fix f;
    f.basin = id.substr(0, std::min<size_t>(2, id.size()));
    f.number = id.substr(f.basin.size());
    f.time = time;
    f.latitude = lat;
    f.longitude = lon;
    f.wind = wind;
    f.type = type;
    f.fields = type.empty() ? 9 : 11;
    return f;
}

// A record too short to be placed: `fields` fields.
Fix shortFix(const std::string& id, int fields) {
    Fix f = fix(id, "201409010600", 10, 130, 35);
    f.fields = fields;
    return f;
}

// Runs the fix rules over tracks of fixes on a 360 x 180 map.
class FixRulesTest : public ::testing::Test {
  protected:
    FixTable fixes;
    MapFrame frame;
    JobSettings settings;

    void SetUp() override {
        frame.mapWidth = 360;
        frame.mapHeight = 180;
        settings.skipInvest = false;
    }

    void collect(DrawMode mode, bool tcv, const std::vector<std::vector<Fix>>& files,
                 TrackFileKind kind = TrackFileKind::BestTrackFile) {
        FixCollector collector(fixes, frame, mode, tcv, settings);
        for (const auto& track : files) {
            collector.beginFile(kind);
            for (const Fix& f : track) collector.addFix(f);
            if (!track.empty()) collector.endFileWithLines();
        }
    }

    std::vector<int32_t> bounds() const { return {frame.minX, frame.minY, frame.maxX, frame.maxY}; }
};

}  // namespace

TEST_F(FixRulesTest, RowsOfTheFixTable) {
    settings.allPoints = true;
    Fix at = fix("@", "201409010600", 10.0, 130.0, 35, "TS");
    Fix late = fix("wp01", "2014090100", 13.5, -170.0, 15, "XX");
    collect(DrawMode::Normal, false,
            {{at, shortFix("WP01", 7), shortFix("", 0), shortFix("@", 4),
              fix("wp01", "201409010600", 10.0, 130.0, 35, "TS"),
              fix("wp01", "201409010300", 11.0, 129.0, 40, "SS"),
              fix("WP01", "201409011200", 12.0, 128.0, 20, ""),  // nine fields: no type code
              late}});
    ASSERT_EQ(fixes.size(), 4u);
    EXPECT_EQ(fixes.seq, (std::vector<int64_t>{0, 1, 2, 3}));
    EXPECT_EQ(fixes.x, (std::vector<double>{130, 129, 128, 190}));
    EXPECT_EQ(fixes.y, (std::vector<double>{80, 79, 78, 76.5}));
    EXPECT_EQ(fixes.cls, (std::vector<int32_t>{0, 2, 1, 1}));  // no type and 20 kt: NonTropical
    EXPECT_EQ(fixes.type, (std::vector<std::string>{"TS", "SS", "", "XX"}));
    EXPECT_EQ(fixes.time, (std::vector<std::string>{"201409010600", "201409010300", "201409011200",
                                                    "2014090100"}));
    EXPECT_EQ(fixes.stormId, (std::vector<std::string>{"WP01", "WP01", "WP01", "WP01"}));
    EXPECT_EQ(fixes.kind, (std::vector<int32_t>(4, 1)));
    EXPECT_EQ(fixes.wind, (std::vector<int32_t>{35, 40, 20, 15}));
    EXPECT_EQ(fixes.continues, (std::vector<int32_t>{1, 1, 1, 0}));
    // With AllPoints the off-hour fix is marked, the others are not.
    EXPECT_EQ(fixes.synoptic, (std::vector<int32_t>{1, 0, 1, 0}));

    // A forecast point's time is its hour, whatever the cycle.
    fixes = FixTable{};
    frame.resetBounds();
    Fix point = fix("AL09", "2017082515", 26.7, -96.0, 95, "XX");
    point.forecastHour = 12;
    collect(DrawMode::Normal, true, {{point}}, TrackFileKind::ForecastFile);
    EXPECT_EQ(fixes.time, std::vector<std::string>{"12"});
    EXPECT_EQ(fixes.kind, std::vector<int32_t>{2});
}

// A line of prose given as a track file reads as records of a few fields with
// spaces inside them. Such a record is no fix, whatever its words would have
// made of the tokens of a line of track text.
TEST_F(FixRulesTest, ProseIsNoFix) {
    const Track prose = readAtcfText(
        "column layout (fields 0 to 27). Positions, winds, pressures, types and the 34/50/64 kt\n"
        "a b c d e f g h i j k l m n o p\n",
        TrackFileKind::OtherFile);
    ASSERT_EQ(prose.fixes.size(), 1u);
    collect(DrawMode::Normal, false, {prose.fixes});
    EXPECT_TRUE(fixes.empty());
    EXPECT_TRUE(frame.boundsAllZero());
}

TEST_F(FixRulesTest, OffHourFixesWithoutAllPoints) {
    // Wendrel style without AllPoints: the 03 UTC fix is not taken and does
    // not extend the frame, but it is the previous fix and, as the first line,
    // it starts the frame.
    collect(
        DrawMode::Normal, false,
        {{fix("WP01", "201409010300", 10.0, -179.0, 35), fix("WP01", "201409010600", 10.0, 0.0, 35),
          fix("WP01", "201409011200", 12.0, -178.0, 40)}});
    ASSERT_EQ(fixes.size(), 2u);
    EXPECT_EQ(fixes.x[0], 359);  // put beside the 03 UTC fix at 179°W
    EXPECT_EQ(fixes.synoptic, (std::vector<int32_t>{1, 1}));
    EXPECT_EQ(bounds(), (std::vector<int32_t>{181, 78, 359, 80}));

    // MultipleFile 2 moves the frame to every line, taken or not.
    fixes = FixTable{};
    frame.resetBounds();
    settings.frameReset = FrameReset::LastFixOnly;
    collect(DrawMode::Normal, false,
            {{fix("WP01", "201409010600", 10.0, 100.0, 35),
              fix("WP01", "201409010300", 20.0, 120.0, 35)}});
    EXPECT_EQ(fixes.size(), 1u);
    EXPECT_EQ(bounds(), (std::vector<int32_t>{120, 70, 120, 70}));
}

TEST_F(FixRulesTest, TrackEndsAtEveryFileThatGaveLines) {
    collect(DrawMode::Global, false,
            {{fix("WP01", "201409010600", 10.0, 100.0, 35),
              fix("WP01", "201409011200", 11.0, 101.0, 35)},
             {},
             // Lines, but none taken: the previous file's last fix stays the end.
             {fix("WP02", "201409010300", 10.0, 100.0, 35)},
             {fix("WP03", "201409010600", 10.0, 100.0, 35),
              fix("WP03", "201409011200", 10.0, 100.0, 35)}});
    EXPECT_EQ(fixes.continues, (std::vector<int32_t>{1, 0, 1, 0}));
    // Outside Normal mode the fixes never touch the frame.
    EXPECT_TRUE(frame.boundsAllZero());
}

TEST_F(FixRulesTest, ResetPerFileKeepsTheFrameOfFilesWithoutUsableLines) {
    settings.frameReset = FrameReset::EachFile;
    FixCollector collector(fixes, frame, DrawMode::Normal, false, settings);
    collector.beginFile(TrackFileKind::BestTrackFile);
    collector.addFix(fix("WP01", "201409010600", 10.0, 100.0, 35));
    collector.addFix(fix("WP01", "201409011200", 20.0, 110.0, 35));
    collector.endFileWithLines();
    const std::vector<int32_t> first = {100, 70, 110, 80};
    EXPECT_EQ(bounds(), first);

    // A file that cannot be read, and one with only unusable fixes.
    collector.beginFile(TrackFileKind::BestTrackFile);
    collector.beginFile(TrackFileKind::BestTrackFile);
    collector.addFix(fix("@", "201409010600", 10.0, -1.0, 35));
    collector.addFix(shortFix("WP02", 4));
    collector.endFileWithLines();
    EXPECT_EQ(bounds(), first);
    EXPECT_EQ(frame.previousFix.x, 110);

    // The next file with a usable line starts the frame again.
    collector.beginFile(TrackFileKind::BestTrackFile);
    collector.addFix(fix("WP03", "201409010600", 40.0, -60.0, 35));
    collector.addFix(fix("WP03", "201409011200", 41.0, -59.0, 35));
    EXPECT_EQ(bounds(), (std::vector<int32_t>{300, 49, 301, 50}));
    EXPECT_EQ(fixes.size(), 4u);
}

TEST_F(FixRulesTest, EarlyDisturbanceIsSkippedInTheFirstFileOnly) {
    settings.skipInvest = true;
    FixCollector collector(fixes, frame, DrawMode::Normal, false, settings);
    collector.beginFile(TrackFileKind::BestTrackFile);
    collector.addFix(fix("WP01", "201409010000", 5.0, 160.0, 15, "DB"));
    collector.addFix(fix("WP01", "201409010600", 6.0, 150.0, 35, "TS"));
    collector.addFix(fix("WP01", "201409011200", 7.0, 149.0, 15, "DB"));
    // The disturbance at 160°E left the frame at the first tropical fix.
    EXPECT_EQ(bounds(), (std::vector<int32_t>{149, 83, 150, 84}));
    EXPECT_TRUE(collector.skipInvestActive());
    collector.endFileWithLines();
    EXPECT_FALSE(collector.skipInvestActive());

    // A later file's disturbance fixes enter the frame.
    collector.beginFile(TrackFileKind::BestTrackFile);
    collector.addFix(fix("WP02", "201409020000", 30.0, 170.0, 15, "DB"));
    collector.addFix(fix("WP02", "201409020600", 31.0, 171.0, 35, "TS"));
    EXPECT_EQ(bounds(), (std::vector<int32_t>{149, 59, 171, 84}));
    EXPECT_EQ(fixes.size(), 5u);

    // A first file of only NonTropical fixes keeps them all, and so does a
    // forecast, whatever its fixes.
    for (const auto& [kind, type] : {std::pair{TrackFileKind::BestTrackFile, "LO"},
                                     std::pair{TrackFileKind::ForecastFile, "TS"}}) {
        fixes = FixTable{};
        frame.resetBounds();
        collect(DrawMode::Normal, true,
                {{fix("WP01", "201409010000", 5.0, 160.0, 15, "DB"),
                  fix("WP01", "201409010600", 6.0, 150.0, 40, type)}},
                kind);
        EXPECT_EQ(bounds(), (std::vector<int32_t>{150, 84, 160, 85})) << type;
    }
}

namespace {

// One b-deck record.
std::string bestRecord(const std::string& number, const std::string& time, const std::string& lat,
                       const std::string& lon, int wind, const std::string& type = "TS") {
    return "WP, " + number + ", " + time + ",   , BEST,   0, " + lat + ", " + lon + ", " +
           std::to_string(wind) + ",  990, " + type + ", \n";
}

// One a-deck record.
std::string forecastRecord(int hour, const std::string& lat, const std::string& lon, int wind) {
    return "AL, 09, 2017082512,   , OFCL, " + std::to_string(hour) + ", " + lat + ", " + lon +
           ", " + std::to_string(wind) + ",  990, TS, \n";
}

// A run folder with the English texts, a 360 x 180 map (one degree, one
// pixel) and small frame settings, drawn on a recording canvas.
class DrawJobTest : public ::testing::Test {
  protected:
    TempFolder folder;
    std::string settingsPath;
    bool tcv = false;
    std::string mapPath;
    std::vector<std::string> trackFiles;
    std::vector<std::string> region;
    bool keepTracks = false;
    bool makePicture = true;
    std::unique_ptr<ProgressRecorder> view;
    std::shared_ptr<RecordingCanvas> canvas;
    std::function<std::shared_ptr<Canvas>(Picture&)> openCanvas;
    DrawResult result;

    void SetUp() override {
        folder.put("en.lang", readFileOrEmpty(std::string(TCMAP_SOURCE_DIR) + "/data/en.lang"));
        settingsPath = folder.file("Settings.ini");
        Picture map;
        ASSERT_EQ(map.create(360, 180, 0xFF204060, kPngFormatId), status::kOk);
        ASSERT_EQ(map.save(folder.file("map.png"), kPngFormatId), status::kOk);
        mapPath = folder.file("map.png");
        useSettings("");
        openCanvas = [this](Picture& output) {
            canvas = std::make_shared<RecordingCanvas>(output.width(), output.height());
            return canvas;
        };
        view = std::make_unique<ProgressRecorder>();
    }

    // `more` lines, then margins 10 x 5 and a minimum size of 50 x 20 (the
    // first value of a key wins).
    void useSettings(const std::string& more) {
        folder.put("Settings.ini", "[Borvane4]\n" + more +
                                       "WidthSpace=10\nHeightSpace=5\nWidth=50\nHeight=20\n"
                                       "WidthSpace1=10\nHeightSpace1=5\nWidth1=50\nHeight1=20\n");
    }

    LanguagePack lang() const { return LanguagePack(folder.path(), "en", "UTF-8", false); }
    std::string text(TextId id) const { return lang().text(id); }
    std::string withPath(TextId id, const std::string& path) const {
        return safeFormat(text(id), {path});
    }

    void run(DrawMode mode = DrawMode::Normal) {
        DrawRequest request;
        request.style = tcv ? RenderStyle::Tcv : RenderStyle::Wendrel;
        request.mode = mode;
        request.region = region;
        request.settings = readJobSettings(settingsPath, tcv);
        request.mapPath = resolveMapPath(mapPath, folder.path());
        request.language = lang();
        request.textLanguage = "en";
        for (const std::string& file : trackFiles) request.tracks.push_back({file, nullptr});
        request.openCanvas = openCanvas;
        request.keepTracks = keepTracks;
        request.makePicture = makePicture;
        canvas.reset();
        view = std::make_unique<ProgressRecorder>();
        result = draw(request, *view);
    }

    std::vector<std::vector<float>> mapCopies() const {
        std::vector<std::vector<float>> copies;
        if (!canvas) return copies;
        for (const RecordedCall& call : canvas->callsOf(CanvasOp::DrawPicture)) {
            copies.push_back(call.coords);
        }
        return copies;
    }

    bool logHas(const std::string& line) const {
        const std::vector<std::string> lines = view->lineTexts();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

}  // namespace

TEST_F(DrawJobTest, NormalJobWritesItsStagesAndDrawsTheMap) {
    const std::string track =
        folder.put("bwp012014.dat", bestRecord("01", "2014090100", "100N", "1000E", 35) +
                                        bestRecord("01", "2014090106", "200N", "1100E", 45));
    trackFiles = {track};
    run();

    const std::vector<std::string> expected = {
        progressLine(text(TextId::DrawingStarted)),
        progressLine(withPath(TextId::LoadingMap, mapPath)),
        progressLine(safeFormat(text(TextId::TrackFilesToRead), {1})),
        progressLine(text(TextId::ComputingFrame)),
        progressLine(text(TextId::DrawingMap)),
        progressLine(text(TextId::DrawingTracks)),
        progressLine(text(TextId::WritingMap)),
    };
    EXPECT_EQ(view->lineTexts(), expected);
    for (const LogLine& line : view->lines()) EXPECT_EQ(line.colour, kProgressColour) << line.text;
    EXPECT_EQ(view->statusPart(3), progressLine(text(TextId::WritingMap)));
    EXPECT_EQ(view->statusPart(0), "VMAX: 45kts");
    EXPECT_EQ(result.outcome, DrawOutcome::Drawn);
    EXPECT_EQ(result.total.peakWind, 45);
    ASSERT_EQ(result.storms.size(), 1u);
    EXPECT_EQ(result.storms[0].stormId, "WP01");
    EXPECT_EQ(result.storms[0].source, track);

    // Fixes span 100..110 x 70..80; 30 x 20 with margins grows to the
    // minimum width 50, centred: minX 90, minY 70, so the map sits at
    // (10 - 90, 5 - 70). The copy one map width right lies beyond the picture.
    EXPECT_EQ(result.picture.width(), 50);
    EXPECT_EQ(result.picture.height(), 20);
    EXPECT_EQ(result.picture.formatId(), kBmpFormatId);
    EXPECT_EQ(mapCopies(), (std::vector<std::vector<float>>{{-80, -65, 360, 180}}));
    ASSERT_FALSE(canvas->calls().empty());
    EXPECT_EQ(canvas->calls().front().op, CanvasOp::DrawPicture);
    EXPECT_TRUE(result.timings.reached(JobStage::Output));
    EXPECT_EQ(result.tape, nullptr);  // not asked for
}

// A GIS file takes the tracks and statistics, not the picture: a job that
// asks for none keeps the same fixes, in a normal and a regional job, without
// opening a canvas.
TEST_F(DrawJobTest, AJobWithoutAPictureKeepsTheSameTracks) {
    trackFiles = {
        folder.put("bwp012014.dat", bestRecord("01", "2014090100", "100N", "1000E", 35) +
                                        bestRecord("01", "2014090106", "200N", "1100E", 45) +
                                        bestRecord("01", "2014090112", "350N", "1200E", 60))};
    keepTracks = true;
    const struct {
        DrawMode mode;
        std::vector<std::string> region;
        size_t fixes;
    } rows[] = {{DrawMode::Normal, {}, 3}, {DrawMode::Regional, {"30", "90", "30", "40"}, 3}};
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.mode));
        region = row.region;
        makePicture = true;
        run(row.mode);
        ASSERT_EQ(result.outcome, DrawOutcome::Drawn);
        const DrawResult withPicture = std::move(result);
        makePicture = false;
        run(row.mode);
        ASSERT_EQ(result.outcome, DrawOutcome::Drawn);
        EXPECT_EQ(canvas, nullptr);
        EXPECT_EQ(result.picture.width(), 0);
        ASSERT_EQ(result.tracks.size(), 1u);
        ASSERT_EQ(withPicture.tracks.size(), 1u);
        ASSERT_EQ(withPicture.tracks[0].fixes.size(), row.fixes);
        ASSERT_EQ(result.tracks[0].fixes.size(), row.fixes);
        for (size_t i = 0; i < row.fixes; ++i) {
            EXPECT_EQ(result.tracks[0].fixes[i].time, withPicture.tracks[0].fixes[i].time);
        }
        EXPECT_EQ(result.total.peakWind, withPicture.total.peakWind);
        EXPECT_EQ(result.total.ace, withPicture.total.ace);
        EXPECT_FALSE(logHas(progressLine(text(TextId::DrawingMap))));
        EXPECT_TRUE(logHas(progressLine(text(TextId::WritingMap))));
    }
}

TEST_F(DrawJobTest, FilesWithoutFixes) {
    const std::string missing = folder.file("gone.dat");
    const std::string empty = folder.put("empty.dat", "no records here\n");
    ASSERT_EQ(::mkdir(folder.file("folder.dat").c_str(), 0700), 0);
    trackFiles = {missing, empty, folder.file("folder.dat")};
    run();
    std::vector<std::string> warnings;
    for (const LogLine& line : view->lines()) {
        if (line.colour == kWarningColour) warnings.push_back(line.text);
    }
    const std::vector<std::string> expected = {
        withPath(TextId::NoUsableFix, missing), withPath(TextId::NoUsableFix, empty),
        withPath(TextId::NoUsableFix, folder.file("folder.dat")), text(TextId::NoFixToDraw)};
    EXPECT_EQ(warnings, expected);
    // They are all warnings: what a batch run's failure report collects.
    EXPECT_EQ(view->textsOf(MessageKind::Warning), expected);
    EXPECT_EQ(view->statusPart(3), text(TextId::NoFixToDraw));
    EXPECT_FALSE(logHas(progressLine(text(TextId::ComputingFrame))));
    EXPECT_EQ(result.outcome, DrawOutcome::NoFix);
    EXPECT_TRUE(result.picture.empty());
    EXPECT_EQ(canvas, nullptr);

    // A Global job has its frame preset and draws the bare map.
    run(DrawMode::Global);
    EXPECT_EQ(result.picture.width(), 360);
    EXPECT_EQ(result.picture.height(), 180);
    EXPECT_EQ(result.picture.pixelArgb(100, 100), 0xFF204060u);
    EXPECT_EQ(result.picture.formatId(), kPngFormatId);  // the copy keeps the map's format
    EXPECT_TRUE(mapCopies().empty());                    // the output is the map itself
    EXPECT_FALSE(logHas(text(TextId::NoFixToDraw)));
}

TEST_F(DrawJobTest, ForecastFilesDependOnTheStyle) {
    const std::string forecast =
        folder.put("aal092017.fst",
                   forecastRecord(0, "267N", "960W", 95) + forecastRecord(12, "277N", "970W", 90));
    trackFiles = {forecast};
    run();
    EXPECT_TRUE(logHas(withPath(TextId::UnsupportedFile, forecast)));
    EXPECT_TRUE(logHas(text(TextId::NoFixToDraw)));
    EXPECT_EQ(view->statusPart(0), "VMAX: ");

    tcv = true;
    run();
    EXPECT_FALSE(logHas(withPath(TextId::UnsupportedFile, forecast)));
    EXPECT_TRUE(result.drawn());
    EXPECT_EQ(view->statusPart(0), "VMAX: ");  // forecasts never count
    EXPECT_TRUE(result.storms.empty());
}

// A cut of NHC's real a-deck of Sandy (2012), every aid of its first three
// forecast times and of 29 October: 267 of its rows are intensity-only aids
// whose position reads "0N, 0W" or "0N, 0E". They give no fix, so nothing is
// drawn near 0°N 0° and the frame holds the storm only.
TEST_F(DrawJobTest, ForecastRowsWithoutAPositionNeverReachZeroZero) {
    const std::string path = TCMAP_TEST_DATA_DIR "/track/atcf/aal182012-cut.fst";
    // The storm's extent on the map (one pixel per degree), from the rows
    // that have a position.
    double west = 360, east = 0, north = 180, south = 0;
    size_t placeholders = 0;
    for (const std::string& line : splitText(readFileOrEmpty(path), "\n")) {
        const std::vector<std::string> fields = splitText(line, ",");
        if (fields.size() < 8) continue;
        const double lat = readNumber(fields[6]) / 10, lon = readNumber(fields[7]) / 10;
        if (lat == 0 && lon == 0) {
            ++placeholders;
            continue;
        }
        const double x = fields[7].find('W') != std::string::npos ? 360 - lon : lon;
        const double y = 90 - (fields[6].find('S') != std::string::npos ? -lat : lat);
        west = std::min(west, x), east = std::max(east, x);
        north = std::min(north, y), south = std::max(south, y);
    }
    ASSERT_EQ(placeholders, 267u);

    tcv = true;
    trackFiles = {path};
    run();
    const Picture& map = result.picture;
    ASSERT_FALSE(map.empty());
    ASSERT_FALSE(mapCopies().empty());
    const std::vector<float> main = mapCopies().back();  // painted last
    const double left = -main[0], top = -main[1];
    // Margins 10 x 5 around the fixes.
    EXPECT_GE(left, west - 11);
    EXPECT_LE(left + map.width(), east + 11);
    EXPECT_GE(top, north - 6);
    EXPECT_LE(top + map.height(), south + 6);

    // 0°N 0° lies on both edges of the map.
    size_t checked = 0;
    auto farFromZero = [&](double x, double y, const RecordedCall& call) {
        ++checked;
        const double mapX = x + left, mapY = y + top;
        for (const double zeroX : {0.0, 360.0}) {
            EXPECT_GT(std::hypot(mapX - zeroX, mapY - 90), 5.0)
                << opName(call.op) << " " << call.text << " at " << mapX << "," << mapY;
        }
    };
    for (const RecordedCall& call : canvas->calls()) {
        switch (call.op) {
            case CanvasOp::DrawLine:
                farFromZero(call.coords[0], call.coords[1], call);
                farFromZero(call.coords[2], call.coords[3], call);
                break;
            case CanvasOp::FillEllipse:
            case CanvasOp::DrawEllipse:
                farFromZero(call.coords[0] + call.coords[2] / 2,
                            call.coords[1] + call.coords[3] / 2, call);
                break;
            case CanvasOp::DrawText:
                farFromZero(call.coords[0], call.coords[1], call);
                break;
            default:
                break;
        }
    }
    EXPECT_GT(checked, 1000u);
}

TEST_F(DrawJobTest, ResetPerFileFollowsTheLastFileWithFixes) {
    useSettings("MultipleFile=1\n");
    trackFiles = {folder.put("bwp012014.dat", bestRecord("01", "2014090100", "100N", "1000E", 35)),
                  folder.put("bwp022014.dat", bestRecord("02", "2014090100", "200N", "1200E", 35)),
                  folder.file("bwp032014.dat")};
    run();
    EXPECT_TRUE(logHas(withPath(TextId::NoUsableFix, folder.file("bwp032014.dat"))));
    EXPECT_FALSE(logHas(text(TextId::NoFixToDraw)));
    // The frame is the second storm's: minX 120 - 15, minY 70 - 5.
    EXPECT_EQ(mapCopies(), (std::vector<std::vector<float>>{{-95, -60, 360, 180}}));
}

TEST_F(DrawJobTest, MapsThatCannotBeLoadedFailWithoutBlocking) {
    trackFiles = {folder.put("bwp012014.dat", bestRecord("01", "2014090100", "100N", "1000E", 35))};
    ASSERT_EQ(::mkfifo(folder.file("fifo.png").c_str(), 0600), 0);
    folder.put("broken.png", "\x89PNG\r\n\x1a\n not really");
    for (const std::string& path :
         {folder.file("missing.png"), folder.path(), folder.file("fifo.png"),
          folder.file("broken.png"), std::string("/dev/zero"), std::string()}) {
        mapPath = path;
        run();
        EXPECT_EQ(view->lineTexts().back(), text(TextId::MapNotLoaded)) << path;
        EXPECT_EQ(view->lines().back().colour, kWarningColour);
        EXPECT_EQ(view->textsOf(MessageKind::Warning),
                  std::vector<std::string>{text(TextId::MapNotLoaded)});
        EXPECT_FALSE(logHas(progressLine(safeFormat(text(TextId::TrackFilesToRead), {1}))));
        EXPECT_EQ(canvas, nullptr);
        EXPECT_EQ(result.outcome, DrawOutcome::MapNotLoaded);
        EXPECT_TRUE(result.timings.reached(JobStage::MapLoad));
        EXPECT_FALSE(result.timings.reached(JobStage::Files));
    }

    // A relative path names a file in the run folder.
    mapPath = "map.png";
    run();
    EXPECT_TRUE(logHas(progressLine(withPath(TextId::LoadingMap, folder.file("map.png")))));
    EXPECT_TRUE(result.drawn());
    EXPECT_EQ(resolveMapPath("/abs/map.png", "/run"), "/abs/map.png");
    EXPECT_EQ(resolveMapPath("maps/world.png", "/run"), "/run/maps/world.png");
    EXPECT_EQ(resolveMapPath("", "/run"), "");
}

TEST_F(DrawJobTest, PicturesThatCannotBeMadeFailTheJobCleanly) {
    trackFiles = {folder.put("bwp012014.dat", bestRecord("01", "2014090100", "100N", "1000E", 35))};
    const auto expectFailure = [&](const std::string& status, const std::string& why) {
        const std::vector<std::string> lines = view->lineTexts();
        ASSERT_GE(lines.size(), 3u) << why;
        const std::vector<std::string> report = {text(TextId::PictureFailed),
                                                 text(TextId::ErrorStatus) + ": " + status,
                                                 text(TextId::PictureFailureAdvice)};
        EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()), report) << why;
        // The three lines are what a batch run's failure report collects.
        EXPECT_EQ(view->textsOf(MessageKind::Warning), report) << why;
        EXPECT_EQ(view->statusPart(3), text(TextId::PictureFailed)) << why;
        EXPECT_EQ(result.outcome, DrawOutcome::PictureFailed) << why;
        EXPECT_TRUE(result.picture.empty()) << why;
    };

    useSettings("Width=2000000000\n");
    run();
    expectFailure("内存溢出", "minimum width 2e9");
    useSettings("WidthSpace=-100\nWidth=-5\n");
    run();
    expectFailure("无效的参数", "negative margins");

    useSettings("");
    region = {"60", "100", "60", "80000"};
    run(DrawMode::Regional);
    expectFailure("内存溢出", "region 80000 degrees wide");

    // Painting the map fails: the status of the failed copy is reported.
    openCanvas = [this](Picture& output) {
        canvas = std::make_shared<RecordingCanvas>(output.width(), output.height());
        canvas->failCallOf(CanvasOp::DrawPicture, 0, status::kOutOfMemory);
        return canvas;
    };
    run();
    expectFailure("内存溢出", "map copy failed");
    EXPECT_FALSE(logHas(progressLine(text(TextId::DrawingTracks))));
}

TEST_F(DrawJobTest, StageTimings) {
    trackFiles = {folder.put("bwp012014.dat", bestRecord("01", "2014090100", "100N", "1000E", 35))};
    run();
    // Every stage but the settings, which the caller reads before the job.
    for (size_t i = 0; i < kJobStageCount; ++i) {
        const auto stage = static_cast<JobStage>(i);
        EXPECT_EQ(result.timings.reached(stage), stage != JobStage::Settings) << i;
    }
    JobTimings timings = result.timings;
    timings.add(JobStage::Settings, std::chrono::milliseconds(3));
    std::ostringstream printed;
    timings.print(printed);
    for (size_t i = 0; i < kJobStageCount; ++i) {
        const std::string name(jobStageName(static_cast<JobStage>(i)));
        EXPECT_NE(printed.str().find("tcmap timing: " + name + " "), std::string::npos) << name;
    }
    const std::string text = printed.str();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::ptrdiff_t{kJobStageCount});
    EXPECT_NE(text.find("tcmap timing: settings 3 ms"), std::string::npos);
}

// Drawing errors are counted on from the count the caller keeps, and a track
// read before reaches the map as a file read at the file stage does.
TEST_F(DrawJobTest, ErrorCountGoesOnAndTracksReadBefore) {
    const std::string records = bestRecord("01", "2014090100", "100N", "1000E", 35) +
                                bestRecord("01", "2014090106", "200N", "1100E", 45);
    const std::string track = folder.put("bwp012014.dat", records);
    openCanvas = [this](Picture& output) {
        canvas = std::make_shared<RecordingCanvas>(output.width(), output.height());
        canvas->failCallOf(CanvasOp::FillEllipse, 0, status::kGenericError);
        return canvas;
    };
    DrawRequest request;
    request.settings = readJobSettings(settingsPath, false);
    request.mapPath = mapPath;
    request.language = lang();
    request.openCanvas = openCanvas;
    request.drawingErrorsBefore = 41;
    request.tracks = {{track, nullptr}};
    ProgressRecorder first;
    const DrawResult fromFile = draw(request, first);
    EXPECT_EQ(fromFile.drawingErrors, 42);
    ASSERT_EQ(first.textsOf(MessageKind::DrawingError).size(), 1u);
    EXPECT_EQ(first.textsOf(MessageKind::DrawingError)[0],
              "An error occurred while using GDI+: Count = 42 Position = #2.3.1/Point Text = "
              "通用错误");

    request.drawingErrorsBefore = fromFile.drawingErrors;
    request.tracks = {{"Vongfong", std::make_shared<const Track>(
                                       readAtcfText(records, TrackFileKind::BestTrackFile))}};
    ProgressRecorder second;
    const DrawResult fromTrack = draw(request, second);
    EXPECT_EQ(fromTrack.drawingErrors, 43);
    EXPECT_EQ(fromTrack.total.peakWind, 45);
    ASSERT_TRUE(fromTrack.drawn());
    ASSERT_TRUE(fromFile.drawn());
    EXPECT_EQ(fromTrack.picture.width(), fromFile.picture.width());
    EXPECT_EQ(second.lineTexts().size(), first.lineTexts().size());
}

// The same jobs on the Cairo canvas, checked at a few pixels.
class DrawJobCairoTest : public DrawJobTest {
  protected:
    void SetUp() override {
        DrawJobTest::SetUp();
        openCanvas = nullptr;
        // West half red, east half blue, so each map copy shows where it lies.
        Picture map;
        ASSERT_EQ(map.create(360, 180, 0xFFFF0000, kPngFormatId), status::kOk);
        for (int y = 0; y < 180; ++y) {
            for (int x = 180; x < 360; ++x) map.pixels()[y * 360 + x] = 0xFF0000FF;
        }
        ASSERT_EQ(map.save(mapPath, kPngFormatId), status::kOk);
    }
};

TEST_F(DrawJobCairoTest, MapCopiesMeetAtTheSeam) {
    trackFiles = {
        folder.put("bal012014.dat", bestRecord("01", "2014090100", "100N", "50E", 35) +
                                        bestRecord("01", "2014090106", "100N", "50W", 35))};
    run();
    // Output x maps to map x - 25: the left 25 columns come from the east end
    // of the map, painted one map width to the left.
    const Picture& map = result.picture;
    ASSERT_EQ(map.width(), 50);
    ASSERT_EQ(map.height(), 20);
    EXPECT_EQ(map.pixelArgb(0, 1), 0xFF0000FFu);
    EXPECT_EQ(map.pixelArgb(24, 1), 0xFF0000FFu);
    EXPECT_EQ(map.pixelArgb(25, 18), 0xFFFF0000u);
    EXPECT_EQ(map.pixelArgb(49, 18), 0xFFFF0000u);
}

TEST_F(DrawJobCairoTest, AbsurdSettingsEndInAMapOrAFailureLine) {
    trackFiles = {
        folder.put("bwp012014.dat", bestRecord("01", "2014090100", "100N", "1000E", 35) +
                                        bestRecord("01", "2014090103", "110N", "990E", 40) +
                                        bestRecord("01", "2014090106", "120N", "980E", 50))};
    for (const bool style : {false, true}) {
        tcv = style;
        useSettings(
            "Track=1e30\nTrack1=1e30\nPoint=-5\nPriority=2\nDrawLegends=9\n"
            "DrawLegends1=9\nDrawRad=1\nDrawRad1=1\nAllPoints=1\nAllPoints1=1\n");
        run();
        EXPECT_TRUE(result.drawn()) << tcv;
        useSettings(
            "Track=-1e308\nTrack1=nan\nPoint=1e308\nWidthSpace=-40\nHeightSpace=-3\n"
            "WidthSpace1=-40\nHeightSpace1=-3\n");
        run();
        EXPECT_TRUE(result.drawn()) << tcv;
        useSettings("Width=2000000000\nWidth1=2000000000\n");
        run();
        EXPECT_EQ(view->statusPart(3), text(TextId::PictureFailed)) << tcv;
        EXPECT_EQ(result.outcome, DrawOutcome::PictureFailed) << tcv;
    }
}
