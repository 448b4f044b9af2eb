#include "render/picture_failure.h"

#include <cstring>
#include <string>

#include "i18n/language_pack.h"
#include "render/job_log.h"
#include "render/layers/draw_status.h"

namespace tcmap {

std::array<DrawMessage, 3> pictureFailureMessages(const LanguagePack& lang, int32_t status) {
    return {DrawMessage{MessageKind::Warning, lang.text(TextId::PictureFailed), kFailureColour},
            DrawMessage{MessageKind::Warning,
                        lang.text(TextId::ErrorStatus) + ": " + statusText(status), kWarningColour},
            DrawMessage{MessageKind::Warning, lang.text(TextId::PictureFailureAdvice),
                        kFailureLastColour}};
}

std::array<DrawMessage, 3> pictureWriteFailureMessages(const LanguagePack& lang,
                                                       const std::string& path, int error) {
    std::array<DrawMessage, 3> lines = pictureFailureMessages(lang, status::kSystemError);
    lines[1].text = lang.text(TextId::ErrorStatus) + ": " + std::strerror(error);
    lines[2].text = "The picture could not be written to " + path + ".";
    return lines;
}

void reportPictureFailure(JobLog& log, const LanguagePack& lang, int32_t status) {
    const std::array<DrawMessage, 3> lines = pictureFailureMessages(lang, status);
    for (const DrawMessage& line : lines) log.reportMessage(line.text, line.colour);
    log.updateInfoLine(lines[0].text, true);
}

}  // namespace tcmap
