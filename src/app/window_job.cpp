#include "app/window_job.h"

#include <chrono>
#include <iostream>

#include "app/draw_setup.h"
#include "app/main_view.h"
#include "app/region_box.h"
#include "app/settings_warnings.h"
#include "app/window_output.h"
#include "i18n/safe_format.h"
#include "render/draw.h"
#include "render/layers/layer_log.h"

namespace tcmap {

namespace {

// The window back to the user on every way out of a job.
class JobEnd {
  public:
    JobEnd(std::atomic<bool>& jobRunning, MainView& view) : jobRunning_(jobRunning), view_(view) {}
    ~JobEnd() {
        view_.enableMenus(true);
        jobRunning_ = false;
        view_.refreshTitle();
    }
    JobEnd(const JobEnd&) = delete;
    JobEnd& operator=(const JobEnd&) = delete;

  private:
    std::atomic<bool>& jobRunning_;
    MainView& view_;
};

}  // namespace

void runWindowJob(const WindowJob& job, MainView& view, DrawMode mode) {
    using Clock = std::chrono::steady_clock;
    job.jobRunning = true;
    const JobEnd end(job.jobRunning, view);
    view.clearPanel();
    view.setJobMessages({});
    view.setChartPicture({});
    view.setPictureLayout(kMapPictureLayout);
    view.setTextPosition(0, 0);
    job.lastMap = LastMap{};
    view.refreshTitle();

    const Clock::time_point settingsStart = Clock::now();
    DrawRequest request = makeDrawRequest(job.paths, job.language, job.style, mode);
    request.region = job.region;
    request.tracks = trackFileInputs(job.trackFiles);
    request.mapCache = job.mapCache;
    request.keepTape = true;    // whatever Save is asked for, a vector file too
    request.keepTracks = true;  // for the intensity chart beside the map
    request.drawingErrorsBefore = job.drawingErrors;
    const Clock::duration settingsTime = Clock::now() - settingsStart;

    ViewProgress progress(view);
    DrawResult result = draw(request, progress);
    if (result.drawingErrors > job.drawingErrors) {
        // The log keeps the drawing library's own words; the messages say
        // which setting is the likely cause, in the user's language.
        for (std::string& cause : invalidSettingValues(job.paths.settingsPath, request.language)) {
            result.messages.push_back({MessageKind::Warning, std::move(cause), kWarningColour});
        }
    }
    job.drawingErrors = result.drawingErrors;
    if (mode == DrawMode::Regional && result.drawn() &&
        !regionHoldsFix(result.tracks, job.region)) {
        // A region beside the tracks would show bare sea and land as if the
        // files held nothing: say so instead of showing that map.
        const std::string notice =
            safeFormat(request.language.text(TextId::RegionNoFix), {joinRegionParts(job.region)});
        result.messages.push_back({MessageKind::Warning, notice, kWarningColour});
        result.outcome = DrawOutcome::NoFix;
        view.writeLine(notice, kWarningColour);
        view.setStatusPart(kStatusParts - 1, notice);
    }
    view.setJobMessages(jobWarnings(result));
    if (result.drawn()) {
        showDrawnMap(result, job.lastMap, job.tempFilePath, view, request.language);
        view.setChartPicture(windowChart(result, request));
    }
    if (job.printTimings) {
        result.timings.add(JobStage::Settings, settingsTime);
        result.timings.print(std::cerr);
    }
}

}  // namespace tcmap
