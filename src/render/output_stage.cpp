#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "base/file_io.h"
#include "config/app_state.h"
#include "config/scratch_file.h"
#include "i18n/language_pack.h"
#include "render/canvas/canvas.h"
#include "render/canvas/picture.h"
#include "render/job_log.h"
#include "render/main_view.h"
#include "render/output_stage.h"
#include "render/picture_failure.h"

namespace tcmap {

namespace {

// Largest picture the panel shows; a larger one is only stored.
constexpr int32_t kShowLimitWidth = 8000;
constexpr int32_t kShowLimitHeight = 6000;

// Largest picture whose PNG is encoded beside the scratch file in batch mode;
// a larger one is converted from the scratch file by the save, which keeps
// the memory a huge picture needs as low as before.
constexpr int64_t kPngHandOverPixels = int64_t{64} << 20;

bool wantsPngHandOver(const AppState& app, const Picture& output) {
    return app.isBatch() && output.formatId() != kPngFormatId &&
           int64_t{output.width()} * output.height() <= kPngHandOverPixels;
}

}  // namespace

void outputTrackMap(AppState& app, MainView& view, JobLog& log, const LanguagePack& lang,
                    const Picture& output, int32_t outputWidth, int32_t outputHeight) {
    app.outputFormatId = output.formatId();
    app.outputPng.clear();

    // Batch mode: the PNG the save writes is encoded on a second thread while
    // the scratch file is stored (both only read the picture).
    std::vector<uint8_t> png;
    int32_t pngStatus = status::kGenericError;
    std::jthread pngEncoder;
    if (wantsPngHandOver(app, output)) {
        try {
            pngEncoder = std::jthread([&] { pngStatus = output.encode(kPngFormatId, png); });
        } catch (const std::system_error&) {
            // No thread: the save converts the scratch file instead.
        }
    }

    // Encoded once: the same bytes go to the scratch file and to the panel.
    std::vector<uint8_t> encoded;
    int32_t stored = output.encode(app.outputFormatId, encoded);
    if (stored == status::kOk) {
        const std::string_view bytes(reinterpret_cast<const char*>(encoded.data()), encoded.size());
        if (!writeScratchFile(app.tempFilePath, bytes)) stored = status::kSystemError;
    }
    if (pngEncoder.joinable()) pngEncoder.join();
    if (stored == status::kOk && pngStatus == status::kOk) app.outputPng = std::move(png);
    if (stored != status::kOk) {
        // Nothing is shown and largePicturePath stays empty, so Save finds no
        // map instead of an older one.
        reportPictureFailure(app, log, lang, stored);
        return;
    }

    if (outputWidth > kShowLimitWidth || outputHeight > kShowLimitHeight) {
        const std::string tooLarge = lang.text(TextId::MapTooLarge);
        log.writeProgress(tooLarge, kTooLargeColour);
        log.updateInfoLine(tooLarge, true);
        app.largePicturePath = app.tempFilePath;
        return;
    }
    view.setPanelPicture(std::move(encoded));
    log.updateInfoLine(lang.text(TextId::Ready), true);
}

}  // namespace tcmap
