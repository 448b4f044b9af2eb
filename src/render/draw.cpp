#include "render/draw.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/file_io.h"
#include "base/text_rules.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"
#include "render/agency_comparison.h"
#include "render/canvas/cairo_canvas.h"
#include "render/canvas/canvas.h"
#include "render/canvas/decoded_map_cache.h"
#include "render/canvas/drawing_tape.h"
#include "render/canvas/picture.h"
#include "render/canvas/vector_world.h"
#include "render/fix_rules.h"
#include "render/forecast_products.h"
#include "render/job_log.h"
#include "render/layers/agency_layer.h"
#include "render/layers/fix_table.h"
#include "render/layers/forecast_area_layer.h"
#include "render/layers/grid_layer.h"
#include "render/layers/grid_numbers_layer.h"
#include "render/layers/layer.h"
#include "render/layers/legend_layer.h"
#include "render/layers/spaghetti_layer.h"
#include "render/layers/storm_names_layer.h"
#include "render/layers/title_block.h"
#include "render/layers/track_layer.h"
#include "render/layers/wind_radii_layer.h"
#include "render/map_frame.h"
#include "render/picture_failure.h"
#include "render/vector_land.h"
#include "track/archive_kind.h"
#include "track/archive_reader.h"
#include "track/archive_selection.h"
#include "track/atcf_reader.h"
#include "track/forecast_deck.h"
#include "track/storm_statistics.h"
#include "track/track_file.h"
#include "track/track_model.h"
#include "track/wind_radii.h"

namespace tcmap {

namespace {

// The layers of a map, in the order they are drawn over it; the forecast
// areas (swath, cone) go between the legend and the wind radii, the model
// spaghetti over the tracks, and what names the map over everything.
constexpr Layer kLayersUnderAreas[] = {
    &drawGridLayer,         // latitude/longitude grid
    &drawGridNumbersLayer,  // latitude/longitude values along the edges
    &drawLegendLayer,       // colour-scale legend
};
constexpr Layer kLayers[] = {
    &drawWindRadiiLayer,  // wind radii
    &drawTrackLayer,      // track lines, fix markers with their lines, TCV points and labels
    &drawMarkerLayer,     // Wendrel markers drawn on top of all lines
};
constexpr Layer kLayersOnTop[] = {
    &drawAgencyLayer,      // agencies' legend and their largest differences
    &drawStormNamesLayer,  // each storm's name by its track
    &drawTitleLayer,       // who and what the map shows, over everything
};

std::shared_ptr<Canvas> openCairoCanvas(Picture& output, const std::string& language) {
    auto canvas = std::make_shared<CairoCanvas>(output);
    canvas->setTextLanguage(language);
    return canvas;
}

class DrawJob {
  public:
    DrawJob(const DrawRequest& request, DrawProgress& progress)
        : request_(request),
          mode_(request.mode),
          tcv_(request.style == RenderStyle::Tcv),
          settings_(request.settings),
          lang_(request.language),
          log_(progress, result_.total, result_.messages, request.drawingErrorsBefore),
          forecast_(settings_, lang_, request.coneRadiiPath,
                    [this](const std::string& message, bool warning) {
                        if (warning) {
                            log_.reportMessage(message, kWarningColour);
                        } else {
                            log_.writeProgress(progressLine(message), kProgressColour);
                        }
                    }),
          agencies_(request.settings.agencies) {}

    DrawJob(const DrawJob&) = delete;
    DrawJob& operator=(const DrawJob&) = delete;

    DrawResult run() {
        writeProgressLine(TextId::DrawingStarted, true);
        timings_.start(JobStage::MapLoad);
        if (loadMap()) {
            timings_.start(JobStage::Files);
            loadFiles();
            compareAgencies();
            timings_.start(JobStage::Frame);
            if (checkFixes() && drawPicture()) {
                timings_.start(JobStage::Output);
                writeProgressLine(TextId::WritingMap, true);
                result_.outcome = DrawOutcome::Drawn;
            }
        }
        return finish();
    }

  private:
    // The output picture, the map on it and the layers over it; nothing when
    // the job asked for no picture.
    bool drawPicture() {
        if (!request_.makePicture) return true;
        if (!createOutput()) return false;
        timings_.start(JobStage::MapPainting);
        if (!paint()) return false;
        timings_.start(JobStage::Layers);
        drawLayers();
        return true;
    }

    // Releases the drawing objects (the canvas before the picture it draws
    // on) and hands over what the job made.
    DrawResult finish() {
        timings_.stop();
        canvas_.reset();
        tapeCanvas_.reset();
        map_.release();
        if (request_.mapCache != nullptr) request_.mapCache->finishWrites();
        if (result_.drawn()) {
            result_.picture = std::move(output_);
            result_.tape = std::move(tape_);
            if (request_.keepTracks) keepForecastAreas();
        }
        output_.release();
        tape_.reset();
        result_.drawingErrors = log_.drawingErrors();
        result_.timings = timings_;
        return std::move(result_);
    }

    void writeProgressLine(const std::string& message, bool infoLine) {
        const std::string line = progressLine(message);
        log_.writeProgress(line, kProgressColour);
        if (infoLine) log_.updateInfoLine(line, true);
    }
    void writeProgressLine(TextId id, bool infoLine) {
        writeProgressLine(lang_.text(id), infoLine);
    }

    // A warning the user must see, also in the info line.
    void warn(const std::string& message) {
        log_.reportMessage(message, kWarningColour);
        log_.updateInfoLine(message, true);
    }

    bool loadMap() {
        const std::string& path = request_.mapPath;
        writeProgressLine(safeFormat(lang_.text(TextId::LoadingMap), {path}), true);
        // A picture declaring absurd dimensions (a few hundred kilobytes of
        // file may ask for gigabytes of pixels) is refused unread.
        if (const auto size = declaredPictureSizeOfFile(path);
            size && size->pixels() > request_.mapPixelLimit) {
            result_.outcome = DrawOutcome::MapNotLoaded;
            warn("The map picture " + path + " declares " + std::to_string(size->width) + " x " +
                 std::to_string(size->height) + " pixels, more than the limit of " +
                 std::to_string(request_.mapPixelLimit) + "; it is not loaded.");
            return false;
        }
        loadMapPicture(map_, path, request_.mapCache);
        if (map_.width() <= 0 || map_.height() <= 0) {
            result_.outcome = DrawOutcome::MapNotLoaded;
            warn(lang_.text(TextId::MapNotLoaded));
            return false;
        }
        frame_.mapWidth = map_.width();
        frame_.mapHeight = map_.height();
        if (mode_ == DrawMode::Normal) {
            frame_.marginX = settings_.marginX;
            frame_.marginY = settings_.marginY;
            frame_.minWidth = settings_.minWidth;
            frame_.minHeight = settings_.minHeight;
        } else {
            presetFrame(frame_, mode_, request_.region);
        }
        return true;
    }

    void loadFiles() {
        const std::vector<TrackInput>& inputs = request_.tracks;
        const int64_t fileCount = static_cast<int64_t>(inputs.size());
        log_.writeProgress(
            progressLine(safeFormat(lang_.text(TextId::TrackFilesToRead), {fileCount})),
            kProgressColour);
        // Looked up once: a job may list thousands of files.
        const std::string reading = lang_.text(TextId::ReadingFile);
        const std::string forecastSkipped = lang_.text(TextId::UnsupportedFile);

        FixCollector collector(fixes_, frame_, mode_, tcv_, settings_);
        const ArchiveSelection selection(settings_.archiveYears, settings_.archiveBasins,
                                         settings_.archiveStorms);
        for (const TrackInput& input : inputs) {
            const std::string& path = input.path;
            if (input.track) {
                if (skipsForecast(*input.track, path, forecastSkipped)) continue;
                log_.updateInfoLine(progressLine(safeFormat(reading, {path})), true);
                addTrack(*input.track, path, collector);
                continue;
            }
            // An archive is known by its content, whatever its name.
            if (const ArchiveKind archive = archiveKind(path); archive != ArchiveKind::None) {
                log_.updateInfoLine(progressLine(safeFormat(reading, {path})), true);
                loadArchive(path, archive, selection, collector);
                continue;
            }
            const TrackFileKind kind = atcfKind(path);
            if (!tcv_ && kind == TrackFileKind::ForecastFile) {
                reportForecastSkipped(path, forecastSkipped);
                continue;
            }
            log_.updateInfoLine(progressLine(safeFormat(reading, {path})), true);
            if (kind == TrackFileKind::ForecastFile && drawsOneCycle(settings_)) {
                const ForecastDeck deck = readForecastDeckFile(path);
                const std::string cycle = forecast_.addDeck(path, deck);
                if (!cycle.empty()) noteForecast(path, deck, cycle);
                continue;
            }
            const Track track = readAtcfFile(path, kind);
            addTrack(track, path, collector);
            if (kind != TrackFileKind::ForecastFile) {
                forecast_.addBestTrack(track);
            } else if (settings_.cone) {
                forecast_.addLatestCone(path, readForecastDeckFile(path));
            }
        }
        if (mode_ == DrawMode::Normal) forecast_.growFrame(frame_);
    }

    // Tracks of one storm from several agencies: their differences in the
    // log, their line styles for the layers.
    void compareAgencies() {
        agencyScene_ = agencies_.finish(storms_, fixes_, lang_, [this](const std::string& line) {
            log_.writeProgress(line, kProgressColour);
        });
    }

    // A best track of an agency the settings leave out is not drawn.
    bool leftOut(const Track& track) const {
        return track.kind == TrackFileKind::BestTrackFile && !agencies_.draws(track);
    }

    // An ATCF file's kind by its name, except that a file of any name whose
    // records hold forecast aids is an a-deck.
    static TrackFileKind atcfKind(const std::string& path) {
        const TrackFileKind kind = trackFileKind(path);
        if (kind == TrackFileKind::ForecastFile) return kind;
        return fileHoldsForecastRecords(path) ? TrackFileKind::ForecastFile : kind;
    }

    // The Wendrel style draws no forecasts.
    bool skipsForecast(const Track& track, const std::string& path, const std::string& text) {
        if (tcv_ || track.kind != TrackFileKind::ForecastFile) return false;
        reportForecastSkipped(path, text);
        return true;
    }

    void reportForecastSkipped(const std::string& path, const std::string& text) {
        log_.reportMessage(safeFormat(text, {path}), kWarningColour);
        log_.reportMessage(safeFormat(lang_.text(TextId::ForecastNeedsTcv), {path}),
                           kWarningColour);
    }

    // A track of a file: its statistics, its fixes, and a warning when it has
    // none.
    void addTrack(const Track& track, const std::string& path, FixCollector& collector) {
        if (leftOut(track)) return;
        reportSkippedFixes(track.skipped, path);
        if (!addStorm(track, collector)) {
            log_.reportMessage(safeFormat(lang_.text(TextId::NoUsableFix), {path}), kWarningColour);
        }
    }

    // One line per file: the record skipped, or how many and the first.
    void reportSkippedFixes(const SkippedFixes& skipped, const std::string& path) {
        if (skipped.count == 0) return;
        const std::string first =
            "line " + std::to_string(skipped.firstLine) + " (" + skipped.firstReason + ")";
        log_.reportMessage(skipped.count == 1
                               ? path + ": the record at " + first + " cannot be a fix; skipped."
                               : path + ": " + std::to_string(skipped.count) +
                                     " records that cannot be fixes skipped, the first at " +
                                     first + ".",
                           kWarningColour);
    }

    // A track's statistics and fixes; false when it has no fix. A track with
    // fixes ends there: no line joins its last fix to the next track's.
    bool addStorm(const Track& track, FixCollector& collector) {
        if (track.statistics) {
            addToRun(result_.total, *track.statistics);
            StormSummary summary;
            summary.source = track.source;
            summary.stormId = track.stormId;
            summary.name = track.name;
            summary.statistics = *track.statistics;
            summary.basin = track.basin;
            summary.fixes = track.fixes.size();
            if (!track.fixes.empty()) {
                summary.firstTime = track.fixes.front().time;
                summary.lastTime = track.fixes.back().time;
            }
            result_.storms.push_back(std::move(summary));
        }
        collector.beginFile(track.kind, track.fixes.size());
        const size_t firstFix = fixes_.size();
        std::vector<Fix> accepted;
        const bool converting = agencies_.convertsWinds();
        for (const Fix& fix : track.fixes) {
            const size_t before = fixes_.size();
            if (converting) {
                Fix mapped = fix;
                mapped.wind = agencies_.mapWind(track, fix.wind);
                collector.addFix(mapped);
            } else {
                collector.addFix(fix);
            }
            if (request_.keepTracks && fixes_.size() > before) accepted.push_back(fix);
        }
        const size_t stormsBefore = storms_.size();
        noteStorm(track, firstFix);
        if (storms_.size() > stormsBefore) agencies_.keep(track, stormsBefore);
        if (track.fixes.empty()) return false;
        keepRadii(track);
        collector.endFileWithLines();
        if (request_.keepTracks && !accepted.empty()) keepTrack(track, accepted);
        return true;
    }

    // The storm of a one-cycle forecast, for the title: its aids are not
    // rows of the fix table, so it has none.
    void noteForecast(const std::string& path, const ForecastDeck& deck, const std::string& cycle) {
        MapStorm storm;
        storm.stormId = deck.basin + deck.number + (deck.year > 0 ? std::to_string(deck.year) : "");
        storm.basin = deck.basin;
        storm.agency = "ATCF";
        storm.source = path;
        storm.forecast = true;
        storm.firstTime = cycle;
        storm.lastTime = cycle;
        storm.firstFix = fixes_.size();
        storms_.push_back(std::move(storm));
    }

    // Who the storm is and which rows of the fix table it gave, for the
    // title, the storm names and the chart.
    void noteStorm(const Track& track, size_t firstFix) {
        if (fixes_.size() <= firstFix) return;
        MapStorm storm;
        storm.stormId = stormIdWithYear(track.stormId, track.fixes.front().time);
        storm.name = track.name;
        storm.basin = track.basin;
        storm.agency = track.agency;
        storm.source = track.source;
        storm.forecast = track.kind == TrackFileKind::ForecastFile;
        storm.firstTime = track.fixes.front().time;
        storm.lastTime = track.fixes.back().time;
        storm.statistics = track.statistics;
        storm.firstFix = firstFix;
        storm.fixCount = fixes_.size() - firstFix;
        storms_.push_back(std::move(storm));
    }

    // A copy of the track as the map shows it, for the outputs that write
    // the storms themselves rather than the picture.
    // The areas only: the aids' tracks are kept with the other tracks.
    void keepForecastAreas() {
        const ForecastScene& scene = forecast_.scene();
        result_.forecastAreas.coneDays1to3 = scene.coneDays1to3;
        result_.forecastAreas.coneDays4to5 = scene.coneDays4to5;
        result_.forecastAreas.swath = scene.swath;
    }

    void keepTrack(const Track& track, std::vector<Fix>& accepted) {
        Track& kept = result_.tracks.emplace_back();
        kept.kind = track.kind;
        kept.source = track.source;
        kept.agency = track.agency;
        kept.stormId = track.stormId;
        kept.name = track.name;
        kept.basin = track.basin;
        kept.statistics = track.statistics;
        kept.fixes = std::move(accepted);
    }

    // Each storm of an archive is taken as if it were a best-track file of
    // its own: its own statistics, frame reset and track end.
    void loadArchive(const std::string& path, ArchiveKind archive,
                     const ArchiveSelection& selection, FixCollector& collector) {
        const std::unique_ptr<ArchiveReader> reader = openArchive(path, archive, selection);
        int64_t storms = 0;
        int64_t drawn = 0;
        ArchiveStorm storm;
        while (reader->next(storm)) {
            ++storms;
            if (!storm.selected || leftOut(storm.track)) continue;
            if (addStorm(storm.track, collector)) ++drawn;
        }
        const ArchiveProblems& problems = reader->problems();
        if (problems.skippedRows > 0) {
            log_.reportMessage(safeFormat(lang_.text(TextId::ArchiveRowsSkipped),
                                          {path, problems.skippedRows, problems.firstSkippedLine}),
                               kWarningColour);
        }
        if (!problems.cutShortStorm.empty()) {
            log_.reportMessage(safeFormat(lang_.text(TextId::ArchiveStormCutShort),
                                          {path, problems.cutShortStorm}),
                               kWarningColour);
        }
        log_.writeProgress(
            safeFormat(lang_.text(TextId::ArchiveStormsDrawn), {path, drawn, storms}),
            kProgressColour);
    }

    // The radii records the radii setting picks from a track that had fixes.
    void keepRadii(const Track& track) {
        for (const RadiiRecord* record :
             selectRadii(track, static_cast<int32_t>(settings_.radii), tcv_)) {
            radii_.push_back(*record);
        }
    }

    bool checkFixes() {
        log_.updateInfoLine("", false);
        if (frame_.boundsAllZero()) {
            result_.outcome = DrawOutcome::NoFix;
            warn(lang_.text(TextId::NoFixToDraw));
            return false;
        }
        writeProgressLine(TextId::ComputingFrame, true);
        if (mode_ == DrawMode::Normal) frame_.computeOutputSize();
        return true;
    }

    bool createOutput() {
        int32_t status = createOutputPicture(output_, map_, mode_, frame_);
        if (status == status::kOk) {
            canvas_ = request_.openCanvas ? request_.openCanvas(output_)
                                          : openCairoCanvas(output_, request_.textLanguage);
            status = canvas_ ? canvas_->lastStatus() : status::kGenericError;
        }
        if (status != status::kOk) {
            result_.outcome = DrawOutcome::PictureFailed;
            reportPictureFailure(log_, lang_, status);
            return false;
        }
        if (request_.keepTape) {
            tape_ = std::make_shared<DrawingTape>(canvas_->width(), canvas_->height(),
                                                  request_.textLanguage);
            tapeCanvas_ = std::make_shared<TapeCanvas>(canvas_, tape_);
            canvas_ = tapeCanvas_;
        }
        return true;
    }

    // The map as the frame shows it becomes the tape's background, taken once;
    // everything drawn from here on is recorded over it.
    void startTape() {
        if (!tape_) return;
        if (recordVectorLandOnTape()) {
            tapeCanvas_->startRecording();
            return;
        }
        Picture background;
        if (!background.copyFrom(output_)) {
            tape_.reset();  // no memory for it: this job gives no vector map
            return;
        }
        const bool jpegMap = map_.formatId() == kJpegFormatId;
        std::vector<uint8_t> jpegFile;
        // The Global map is the whole map file: its own bytes embed best.
        if (jpegMap && mode_ == DrawMode::Global) {
            if (auto bytes = readFileBytes(request_.mapPath)) {
                jpegFile.assign(bytes->begin(), bytes->end());
            }
        }
        tape_->setBackground(std::move(background), jpegMap, std::move(jpegFile));
        tapeCanvas_->startRecording();
    }

    // With VectorLand on the bundled map, the tape draws the land as paths in
    // place of the picture. A vector world that cannot be read is said, and
    // the picture is embedded as before.
    bool recordVectorLandOnTape() {
        if (!settings_.vectorLand || request_.vectorWorldPath.empty()) return false;
        std::string error;
        const std::optional<VectorWorld> world = VectorWorld::load(request_.vectorWorldPath, error);
        if (!world) {
            warn(safeFormat(lang_.text(TextId::VectorWorldNotRead),
                            {request_.vectorWorldPath, error}));
            return false;
        }
        recordVectorLand(*tape_, *world,
                         vectorLandView(frame_, mode_, tape_->width(), tape_->height()));
        return true;
    }

    bool paint() {
        writeProgressLine(TextId::DrawingMap, true);
        if (mode_ == DrawMode::Global) {  // the output is the map itself
            startTape();
            return true;
        }
        const int32_t status = paintMap(*canvas_, map_, frame_);
        if (status != status::kOk) {
            result_.outcome = DrawOutcome::PictureFailed;
            reportPictureFailure(log_, lang_, status);
            return false;
        }
        startTape();
        return true;
    }

    void drawLayers() {
        map_.release();
        const LayerInput input{
            settings_, tcv_,     frame_,       fixes_, radii_, lang_, request_.gridDataPath,
            storms_,   &output_, &agencyScene_};
        for (const Layer layer : kLayersUnderAreas) layer(input, *canvas_, log_);
        const ForecastScene& forecast = forecast_.scene();
        if (forecast.hasAreas()) drawForecastAreaLayer(forecast, input, *canvas_, log_);
        for (const Layer layer : kLayers) layer(input, *canvas_, log_);
        drawSpaghettiLayer(forecast, input, *canvas_, log_);
        for (const Layer layer : kLayersOnTop) layer(input, *canvas_, log_);
    }

    const DrawRequest& request_;
    const DrawMode mode_;
    const bool tcv_;
    const JobSettings& settings_;
    const LanguagePack& lang_;
    DrawResult result_;
    JobLog log_;
    ForecastProducts forecast_;  // cycles, cone and swath of the forecaster's map
    FixTable fixes_;
    MapFrame frame_;
    std::vector<RadiiRecord> radii_;  // picked from every track that had fixes
    std::vector<MapStorm> storms_;    // every track that gave the table fixes
    AgencyComparison agencies_;       // which agencies, their winds and differences
    AgencyScene agencyScene_;         // what the layers draw of them
    Picture map_;
    Picture output_;
    std::shared_ptr<Canvas> canvas_;
    std::shared_ptr<DrawingTape> tape_;       // what the job draws, when kept
    std::shared_ptr<TapeCanvas> tapeCanvas_;  // records onto tape_
    JobTimings timings_;
};

}  // namespace

DrawResult draw(const DrawRequest& request, DrawProgress& progress) {
    DrawJob job(request, progress);
    return job.run();
}

}  // namespace tcmap
