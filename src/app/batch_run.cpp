#include "app/batch_run.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/batch_log.h"
#include "app/batch_output.h"
#include "app/chart_output.h"
#include "app/draw_setup.h"
#include "app/gis_format.h"
#include "app/gis_writer.h"
#include "app/save_vector_map.h"
#include "app/unexpected_error.h"
#include "app/window_output.h"
#include "base/file_io.h"
#include "base/output_file.h"
#include "base/text_rules.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"
#include "render/canvas/drawing_tape.h"
#include "render/canvas/font_aliases.h"
#include "render/canvas/picture.h"
#include "render/draw.h"
#include "render/job_log.h"
#include "render/layers/layer_log.h"

namespace tcmap {

namespace {

using Clock = std::chrono::steady_clock;

// Where the failure report went, or why it went nowhere.
void printReportOutcome(const std::string& output, const BatchFinish& finish, std::ostream& err) {
    const std::string where = output == "-" ? std::string("standard output") : output;
    if (finish.reportWritten) {
        err << "No track map was saved; " << where << " holds the failure report.\n";
    } else {
        err << "No track map was saved, and the failure report could not be written to " << where
            << ": " << outputErrorText(output, finish.reportError) << ".\n";
    }
}

// A map too large for the window to show gets the line saying so, in batch
// mode too: the log is the one of every job.
void reportSize(const DrawResult& result, const LanguagePack& lang, BatchLog& log) {
    if (!result.drawn()) return;
    if (ShowLimit{}.exceededBy(result.picture.width(), result.picture.height())) {
        log.message({MessageKind::Progress, lang.text(TextId::MapTooLarge), kTooLargeColour});
    }
}

BatchFinish runJob(const BatchRun& run, const LanguagePack& lang, BatchLog& log,
                   std::ostream& err) {
    const Clock::time_point settingsStart = Clock::now();
    DrawRequest request = makeDrawRequest(run.paths, run.language, run.style, run.mode);
    request.region = run.region;
    request.tracks = trackFileInputs(run.trackFiles);
    request.mapCache = run.mapCache;
    if (run.mapPixelLimit > 0) request.mapPixelLimit = run.mapPixelLimit;
    // Only a vector map is drawn again from the job's drawing.
    request.keepTape = vectorFormatOf(run.outputPath) != VectorFormat::None;
    request.keepTracks = isGisOutput(run.outputPath);
    request.makePicture = !request.keepTracks;
    const Clock::duration settingsTime = Clock::now() - settingsStart;

    std::optional<GisWriterWarmUp> gdalWarmUp;
    if (request.keepTracks) gdalWarmUp.emplace();
    DrawResult result = run.drawMap(request, log);
    reportSize(result, lang, log);
    if (run.printTimings) {
        result.timings.add(JobStage::Settings, settingsTime);
        result.timings.print(err);
    }
    err << infoLineText(result.total) << '\n';
    err.flush();

    const Clock::time_point saveStart = Clock::now();
    BatchFinish finish = finishBatch(result, run.outputPath, lang, log);
    // The chart the settings ask for goes beside the map; a chart that
    // cannot be written fails the run like a map that cannot.
    if (const std::string& chart = request.settings.annotations.chartOutput;
        !chart.empty() && result.drawn()) {
        if (const std::string failure = writeChartFile(chart, run.trackFiles, request);
            !failure.empty()) {
            err << "tcmap: no chart written to " << chart << ": " << failure << "\n";
            finish.exitCode = 1;
            finish.chartFailed = true;
        }
    }
    if (run.printTimings) {
        const std::chrono::duration<double, std::milli> elapsed = Clock::now() - saveStart;
        err << "tcmap timing: save " << formatG(elapsed.count(), 9) << " ms\n";
    }
    return finish;
}

}  // namespace

int runBatch(const BatchRun& run, std::ostream& err) {
    // Before any text is laid out: the font families the program asks for
    // by name resolve to installed ones.
    loadFontAliases(folderOf(run.paths.programFile("fonts.conf")));

    const LanguagePack lang(run.paths, run.language);
    BatchLog log(err);
    BatchFinish finish;
    std::thread worker([&] {
        runReportingErrors([&] { finish = runJob(run, lang, log, err); }, err, run.errorWait);
    });
    worker.join();

    if (finish.exitCode != 0 && !finish.chartFailed) {
        printReportOutcome(run.outputPath, finish, err);
    }
    err.flush();
    return finish.exitCode;
}

}  // namespace tcmap
