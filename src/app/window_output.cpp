#include "app/window_output.h"

#include <cerrno>
#include <string_view>
#include <vector>

#include "app/save_gis_map.h"
#include "config/scratch_file.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"
#include "render/canvas/canvas.h"
#include "render/canvas/picture.h"
#include "render/intensity_chart.h"
#include "render/job_log.h"
#include "render/layers/layer_log.h"
#include "render/picture_failure.h"

namespace tcmap {

void ViewProgress::message(const DrawMessage& message) {
    view_.writeLine(message.text, message.colour);
}

void ViewProgress::infoLine(const StormStatistics& statistics, const std::string* message) {
    view_.setStatusPart(0, peakWindText(statistics));
    view_.setStatusPart(1, lowestPressureText(statistics));
    view_.setStatusPart(2, aceText(statistics));
    if (message != nullptr) view_.setStatusPart(3, *message);
}

std::vector<std::string> jobWarnings(const DrawResult& result) {
    std::vector<std::string> warnings;
    for (const DrawMessage& message : result.messages) {
        if (message.kind != MessageKind::Progress) warnings.push_back(message.text);
    }
    return warnings;
}

std::vector<uint8_t> windowChart(const DrawResult& result, const DrawRequest& request) {
    // Beyond a few dozen storms the lines are a tangle, and a whole archive
    // would only slow the job's end: no chart then.
    constexpr size_t kStormLimit = 40;
    ChartRequest chart;
    for (const Track& track : result.tracks) {
        if (track.kind != TrackFileKind::ForecastFile)
            chart.tracks.push_back(std::make_shared<const Track>(track));
    }
    if (chart.tracks.empty() || chart.tracks.size() > kStormLimit) return {};
    chart.language = request.language;
    chart.textLanguage = request.textLanguage;
    chart.tcv = request.style == RenderStyle::Tcv;
    chart.newColour = request.settings.newColour;
    const DrawResult drawn = drawIntensityChart(chart);
    std::vector<uint8_t> encoded;
    if (!drawn.drawn() || drawn.picture.encode(kPngFormatId, encoded) != status::kOk) return {};
    return encoded;
}

void showDrawnMap(DrawResult& result, LastMap& last, const std::string& tempFilePath,
                  MainView& view, const LanguagePack& lang, ShowLimit limit) {
    ViewProgress progress(view);
    const Picture& map = result.picture;
    last.formatId = map.formatId();
    last.drawing = result.tape;
    last.gis = std::make_shared<const GisSource>(GisSource{result.tracks, result.forecastAreas});

    // Encoded once: the same bytes go to the scratch file and to the panel.
    std::vector<uint8_t> encoded;
    int32_t stored = map.encode(last.formatId, encoded);
    int writeError = 0;
    if (stored == status::kOk) {
        const std::string_view bytes(reinterpret_cast<const char*>(encoded.data()), encoded.size());
        if (!writeScratchFile(tempFilePath, bytes)) {
            stored = status::kSystemError;
            writeError = errno;
        }
    }
    if (stored != status::kOk) {
        // Nothing is shown and no large picture is named, so Save finds no
        // map instead of an older one. A full or locked folder is named with
        // the system's reason.
        const auto lines = writeError != 0
                               ? pictureWriteFailureMessages(lang, tempFilePath, writeError)
                               : pictureFailureMessages(lang, stored);
        for (const DrawMessage& line : lines) progress.message(line);
        progress.infoLine(result.total, &lines[0].text);
        return;
    }

    if (limit.exceededBy(map.width(), map.height())) {
        const std::string tooLarge = lang.text(TextId::MapTooLarge);
        progress.message({MessageKind::Progress, tooLarge, kTooLargeColour});
        progress.infoLine(result.total, &tooLarge);
        last.largePicturePath = tempFilePath;
        return;
    }
    view.setPanelPicture(std::move(encoded));
    const size_t warnings = jobWarnings(result).size();
    const std::string ready = warnings == 0 ? lang.text(TextId::Ready)
                                            : safeFormat(lang.text(TextId::ReadyWithWarnings),
                                                         {static_cast<int64_t>(warnings)});
    progress.infoLine(result.total, &ready);
}

}  // namespace tcmap
