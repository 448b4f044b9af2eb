#include "render/picture_failure.h"

#include <string>

#include "config/app_state.h"
#include "i18n/language_pack.h"
#include "render/job_log.h"
#include "render/layers/draw_status.h"

namespace tcmap {

void reportPictureFailure(AppState& app, JobLog& log, const LanguagePack& lang, int32_t status) {
    const std::string failed = lang.text(TextId::PictureFailed);
    const std::string statusLine = lang.text(TextId::ErrorStatus) + ": " + statusText(status);
    const std::string advice = lang.text(TextId::PictureFailureAdvice);
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
