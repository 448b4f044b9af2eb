#include "render/picture_failure.h"

#include <string>

#include "config/app_state.h"
#include "i18n/language_pack.h"
#include "render/job_log.h"
#include "render/layers/draw_status.h"

namespace tcmap {

namespace {

constexpr int kTextFailed = 24;
constexpr int kTextStatus = 25;
constexpr int kTextAdvice = 26;

}  // namespace

void reportPictureFailure(AppState& app, JobLog& log, const LanguagePack& lang, int32_t status) {
    const std::string failed = lang.text(kTextFailed);
    const std::string statusLine = lang.text(kTextStatus) + ": " + statusText(status);
    const std::string advice = lang.text(kTextAdvice);
    if (app.isBatch()) {
        app.appendFailure(failed + "\r\n" + statusLine + "\r\n" + advice + "\r\n");
        return;
    }
    log.writeProgress(failed, kFailureColour);
    log.writeProgress(statusLine, kWarningColour);
    log.writeProgress(advice, kFailureLastColour);
    log.updateInfoLine(failed, true);
}

}  // namespace tcmap
