#include "render/draw_job.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "base/text_rules.h"
#include "config/app_state.h"
#include "config/job_settings.h"
#include "config/program_folders.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"
#include "render/canvas/cairo_canvas.h"
#include "render/canvas/canvas.h"
#include "render/canvas/decoded_map_cache.h"
#include "render/canvas/drawing_tape.h"
#include "render/canvas/picture.h"
#include "render/canvas/vector_output.h"
#include "render/draw_job_options.h"
#include "render/fix_rules.h"
#include "render/job_log.h"
#include "render/job_timings.h"
#include "render/layers/fix_table.h"
#include "render/layers/grid_layer.h"
#include "render/layers/layer.h"
#include "render/layers/legend_layer.h"
#include "render/layers/track_layer.h"
#include "render/layers/wind_radii_layer.h"
#include "render/main_view.h"
#include "render/map_frame.h"
#include "render/map_path.h"
#include "render/output_stage.h"
#include "render/picture_failure.h"
#include "track/archive_kind.h"
#include "track/archive_reader.h"
#include "track/archive_selection.h"
#include "track/atcf_reader.h"
#include "track/storm_statistics.h"
#include "track/track_file.h"
#include "track/track_model.h"
#include "track/wind_radii.h"

namespace tcmap {

namespace {

// The layers of a map, in the order they are drawn over it.
constexpr Layer kLayers[] = {
    &drawGridLayer,       // latitude/longitude grid
    &drawLegendLayer,     // colour-scale legend
    &drawWindRadiiLayer,  // wind radii
    &drawTrackLayer,      // track lines, fix markers with their lines, TCV points and labels
    &drawMarkerLayer,     // Wendrel markers drawn on top of all lines
};

std::shared_ptr<Canvas> openCairoCanvas(Picture& output, const std::string& language) {
    auto canvas = std::make_shared<CairoCanvas>(output);
    canvas->setTextLanguage(language);
    return canvas;
}

class DrawJob {
  public:
    DrawJob(AppState& app, MainView& view, DrawMode mode, const DrawJobOptions& options)
        : app_(app),
          view_(view),
          mode_(mode),
          options_(options),
          lang_(LanguagePack::fromState(app)),
          log_(view, app, stats_) {}

    DrawJob(const DrawJob&) = delete;
    DrawJob& operator=(const DrawJob&) = delete;

    // The end steps run on every path, an escaping exception included.
    ~DrawJob() {
        try {
            end();
        } catch (...) {
        }
    }

    void run() {
        start();
        timings_.start(JobStage::Settings);
        settings_ = readJobSettings(app_.settingsPath, tcv_);
        timings_.start(JobStage::MapLoad);
        if (!loadMap()) return;
        timings_.start(JobStage::Files);
        loadFiles();
        timings_.start(JobStage::Frame);
        if (!checkFixes() || !createOutput()) return;
        timings_.start(JobStage::MapPainting);
        if (!paint()) return;
        timings_.start(JobStage::Layers);
        drawLayers();
        timings_.start(JobStage::Output);
        writeProgressLine(TextId::WritingMap, true);
        outputTrackMap(app_, view_, log_, lang_, output_, frame_.outputWidth, frame_.outputHeight);
        if (tape_) app_.lastDrawing = std::move(tape_);
    }

    // Releases the drawing objects (the canvas before the picture it draws
    // on) and gives the window back.
    void end() {
        if (ended_) return;
        ended_ = true;
        timings_.stop();
        canvas_.reset();
        tapeCanvas_.reset();
        tape_.reset();
        map_.release();
        output_.release();
        finishMapCacheWrites();
        view_.enableMenus(true);
        app_.jobRunning = false;
        view_.refreshTitle();
        if (options_.timings != nullptr) *options_.timings = timings_;
        if (timingsRequested()) timings_.print(std::cerr);
    }

  private:
    void writeProgressLine(const std::string& message, bool infoLine) {
        const std::string line = progressLine(message);
        log_.writeProgress(line, kProgressColour);
        if (infoLine) log_.updateInfoLine(line, true);
    }
    void writeProgressLine(TextId id, bool infoLine) {
        writeProgressLine(lang_.text(id), infoLine);
    }

    // A warning the user must see: the panel, or the failure log in batch
    // mode; also the info line.
    void warn(const std::string& message) {
        log_.reportMessage(message, kWarningColour);
        log_.updateInfoLine(message, true);
    }

    void start() {
        app_.jobRunning = true;
        tcv_ = app_.styleIsTcv;
        view_.clearPanel();
        view_.setPictureLayout(kMapPictureLayout);
        view_.setTextPosition(0, 0);
        writeProgressLine(TextId::DrawingStarted, true);
        stats_.reset();
        app_.largePicturePath.clear();
        app_.lastDrawing.reset();
        view_.refreshTitle();
    }

    bool loadMap() {
        const std::string path =
            resolveMapPath(tcv_ ? app_.mapPath1 : app_.mapPath, app_.runFolder, app_.dataFolder);
        mapPath_ = path;
        writeProgressLine(safeFormat(lang_.text(TextId::LoadingMap), {path}), true);
        loadMapPicture(map_, path);
        if (map_.width() <= 0 || map_.height() <= 0) {
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
            presetFrame(frame_, mode_, app_.regionParts);
        }
        return true;
    }

    void loadFiles() {
        const std::vector<std::string> files = app_.trackFiles;
        const int64_t fileCount = static_cast<int64_t>(files.size());
        log_.writeProgress(
            progressLine(safeFormat(lang_.text(TextId::TrackFilesToRead), {fileCount})),
            kProgressColour);
        // Looked up once: a job may list thousands of files.
        const std::string reading = lang_.text(TextId::ReadingFile);
        const std::string noLine = lang_.text(TextId::NoUsableFix);
        const std::string forecastSkipped = lang_.text(TextId::UnsupportedFile);

        FixCollector collector(fixes_, frame_, mode_, tcv_, settings_);
        const ArchiveSelection selection(settings_.archiveYears, settings_.archiveBasins,
                                         settings_.archiveStorms);
        for (const std::string& path : files) {
            // An archive is known by its content, whatever its name.
            if (const ArchiveKind archive = archiveKind(path); archive != ArchiveKind::None) {
                log_.updateInfoLine(progressLine(safeFormat(reading, {path})), true);
                loadArchive(path, archive, selection, collector);
                continue;
            }
            const TrackFileKind kind = trackFileKind(path);
            if (!tcv_ && kind == TrackFileKind::ForecastFile) {
                log_.reportMessage(safeFormat(forecastSkipped, {path}), kWarningColour);
                continue;
            }
            log_.updateInfoLine(progressLine(safeFormat(reading, {path})), true);
            const Track track = readAtcfFile(path, kind);
            if (track.statistics) addToRun(stats_, *track.statistics);
            collector.beginFile(kind, track.fixes.size());
            for (const Fix& fix : track.fixes) collector.addFix(fix);
            if (track.fixes.empty()) {
                log_.reportMessage(safeFormat(noLine, {path}), kWarningColour);
                continue;
            }
            keepRadii(track);
            collector.endFileWithLines();
        }
    }

    // Each storm of an archive is taken as if it were a best-track file of
    // its own: its own statistics pass, frame reset and track end.
    void loadArchive(const std::string& path, ArchiveKind archive,
                     const ArchiveSelection& selection, FixCollector& collector) {
        const std::unique_ptr<ArchiveReader> reader = openArchive(path, archive, selection);
        int64_t storms = 0;
        int64_t drawn = 0;
        ArchiveStorm storm;
        while (reader->next(storm)) {
            ++storms;
            if (!storm.selected) continue;
            const Track& track = storm.track;
            if (track.statistics) addToRun(stats_, *track.statistics);
            collector.beginFile(TrackFileKind::BestTrackFile, track.fixes.size());
            for (const Fix& fix : track.fixes) collector.addFix(fix);
            if (track.fixes.empty()) continue;
            ++drawn;
            keepRadii(track);
            collector.endFileWithLines();
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
            canvas_ = options_.openCanvas ? options_.openCanvas(output_)
                                          : openCairoCanvas(output_, app_.langCode);
            status = canvas_ ? canvas_->lastStatus() : status::kGenericError;
        }
        if (status != status::kOk) {
            reportPictureFailure(app_, log_, lang_, status);
            return false;
        }
        if (wantsTape()) {
            tape_ =
                std::make_shared<DrawingTape>(canvas_->width(), canvas_->height(), app_.langCode);
            tapeCanvas_ = std::make_shared<TapeCanvas>(canvas_, tape_);
            canvas_ = tapeCanvas_;
        }
        return true;
    }

    // Interactive jobs keep their drawing for whatever Save is asked for; a
    // batch job only when its output is a vector file.
    bool wantsTape() const {
        return !app_.isBatch() || vectorFormatOf(app_.batchOutputPath) != VectorFormat::None;
    }

    // The map as the frame shows it becomes the tape's background, taken once;
    // everything drawn from here on is recorded over it.
    void startTape() {
        if (!tape_) return;
        Picture background;
        if (!background.copyFrom(output_)) {
            tape_.reset();  // no memory for it: this job gives no vector map
            return;
        }
        const bool jpegMap = map_.formatId() == kJpegFormatId;
        std::vector<uint8_t> jpegFile;
        // The Global map is the whole map file: its own bytes embed best.
        if (jpegMap && mode_ == DrawMode::Global) {
            if (auto bytes = readFileBytes(mapPath_)) jpegFile.assign(bytes->begin(), bytes->end());
        }
        tape_->setBackground(std::move(background), jpegMap, std::move(jpegFile));
        tapeCanvas_->startRecording();
    }

    bool paint() {
        writeProgressLine(TextId::DrawingMap, true);
        if (mode_ == DrawMode::Global) {  // the output is the map itself
            startTape();
            return true;
        }
        const int32_t status = paintMap(*canvas_, map_, frame_);
        if (status != status::kOk) {
            reportPictureFailure(app_, log_, lang_, status);
            return false;
        }
        startTape();
        return true;
    }

    void drawLayers() {
        map_.release();
        const LayerInput input{
            settings_, tcv_, frame_, fixes_, radii_, lang_, programFilePath(app_, "GridData")};
        for (const Layer layer : kLayers) layer(input, *canvas_, log_);
    }

    AppState& app_;
    MainView& view_;
    const DrawMode mode_;
    const DrawJobOptions& options_;
    const LanguagePack lang_;
    StormStatistics stats_;
    JobLog log_;
    bool tcv_ = false;
    JobSettings settings_;
    FixTable fixes_;
    MapFrame frame_;
    std::vector<RadiiRecord> radii_;  // picked from every track that had fixes
    std::string mapPath_;
    Picture map_;
    Picture output_;
    std::shared_ptr<Canvas> canvas_;
    std::shared_ptr<DrawingTape> tape_;       // what the job draws, when kept
    std::shared_ptr<TapeCanvas> tapeCanvas_;  // records onto tape_
    JobTimings timings_;
    bool ended_ = false;
};

}  // namespace

void runDrawJob(AppState& app, MainView& view, DrawMode mode, const DrawJobOptions& options) {
    DrawJob job(app, view, mode, options);
    job.run();
    job.end();
}

void runDrawJob(AppState& app, MainView& view, DrawMode mode) {
    runDrawJob(app, view, mode, DrawJobOptions{});
}

}  // namespace tcmap
