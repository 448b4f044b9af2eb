// The Save command: the last finished map, taken from the panel or from the
// scratch file when it was too large to show, becomes a PNG file. PNG
// pictures are copied byte for byte; anything else is converted.
#include <string>
#include <string_view>
#include <vector>

#include "app/save_track_map.h"
#include "app/save_vector_map.h"
#include "base/file_io.h"
#include "base/output_file.h"
#include "config/app_state.h"
#include "config/prompter.h"
#include "config/scratch_file.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"
#include "render/canvas/picture.h"
#include "render/job_log.h"
#include "render/main_view.h"

namespace tcmap {

namespace {

constexpr int kMessagePart = 3;
constexpr int kConversionDepth = 24;
constexpr int kConversionSuccess = 1;
constexpr int kPngNotWritten = -4;  // the conversion's code for a PNG not written
constexpr const char* kCopyError = "CopyError";

std::string_view asText(const std::vector<uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Copies `source` to the output `destination`; a file there changes only when
// the whole copy reached the disk.
bool copyToOutput(const std::string& source, const std::string& destination) {
    const std::optional<std::string> bytes = readFileBytes(source);
    return bytes && writeOutputFile(destination, *bytes);
}

// Shows (interactive) or collects (batch) a failed save. `value` says why:
// "CopyError" or a conversion result code.
void reportSaveFailure(AppState& app, MainView& view, const LanguagePack& lang, Prompter* prompter,
                       const std::string& value) {
    const std::string message = safeFormat(lang.text(TextId::SaveFailed), {value});
    if (prompter == nullptr) {
        app.appendFailure(message + "\r\n");
        return;
    }
    const std::string title = lang.text(TextId::SaveFailedTitle);
    view.setStatusPart(kMessagePart, title);
    prompter->message(message, title, Prompter::Icon::Warning, Prompter::Buttons::Ok,
                      Prompter::Answer::Ok);
}

}  // namespace

bool saveTrackMap(AppState& app, MainView& view, const LanguagePack& lang, Prompter* prompter) {
    const bool interactive = prompter != nullptr;
    if (interactive) view.setStatusPart(kMessagePart, lang.text(TextId::Ready));
    // Batch mode has no dialog: the destination is the output path.
    std::string destination = interactive ? std::string() : app.batchOutputPath;
    if (!interactive && destination.empty()) return false;

    // The picture to save: the scratch file of a map too large to show, or
    // the map the panel shows.
    const bool fromPanel = app.largePicturePath.empty();
    std::vector<uint8_t> panelBytes;
    if (fromPanel) {
        panelBytes = view.panelPicture();
        if (panelBytes.empty() || view.pictureLayout() != kMapPictureLayout) {
            if (interactive) {
                prompter->message(lang.text(TextId::NoMapToSave), lang.text(TextId::SaveMapTitle),
                                  Prompter::Icon::Warning, Prompter::Buttons::Ok,
                                  Prompter::Answer::Ok);
            } else {
                app.appendFailure(lang.text(TextId::NoMapToSave) + "\r\n");
            }
            return false;
        }
    }
    const std::string source = fromPanel ? app.tempFilePath : app.largePicturePath;

    if (interactive) {
        std::optional<std::string> chosen =
            prompter->chooseSavePath(lang.text(TextId::SaveDialogTitle) + ":",
                                     lang.text(TextId::SaveDialogFilter), std::string(), "png");
        if (!chosen || chosen->empty()) return false;
        destination = std::move(*chosen);
        prompter->setWaitCursor(true);
    }
    view.setStatusPart(kMessagePart, progressLine(lang.text(TextId::SavingMap)));

    // Batch mode: the job encoded the PNG of the scratch file's picture while
    // storing it, and nothing has touched the scratch file since.
    const bool handedOver = !interactive && !app.outputPng.empty() && source == app.tempFilePath;

    std::string failure;
    const VectorFormat vectorFormat = vectorFormatOf(destination);
    // The panel's picture goes back into the scratch file first, so the file
    // saved is the picture shown. A scratch file that cannot be rewritten
    // would save an older picture, so that fails the save. A handed-over
    // picture is in the scratch file already.
    if (vectorFormat != VectorFormat::None) {
        // A vector map is drawn again from the job's tape, not from the picture.
        failure = saveVectorMap(app, lang, destination, vectorFormat);
    } else if (fromPanel && !handedOver && !writeScratchFile(source, asText(panelBytes))) {
        failure = kCopyError;
    } else if (app.outputFormatId == kPngFormatId) {
        // Already PNG: the panel's bytes are the scratch file's bytes.
        const bool copied = fromPanel ? writeOutputFile(destination, asText(panelBytes))
                                      : copyToOutput(source, destination);
        if (!copied) failure = kCopyError;
    } else if (handedOver) {
        // What converting the scratch file gives, without decoding it again.
        if (!writeOutputFile(destination, asText(app.outputPng))) {
            failure = std::to_string(kPngNotWritten);
        }
    } else {
        const int result = convertToPng(source, destination, kConversionDepth);
        if (result != kConversionSuccess) failure = std::to_string(result);
    }

    // The normal cursor is back before any message box shows.
    if (interactive) prompter->setWaitCursor(false);
    if (failure.empty()) {
        if (interactive) view.setStatusPart(kMessagePart, lang.text(TextId::MapSaved));
    } else {
        reportSaveFailure(app, view, lang, prompter, failure);
    }
    return failure.empty();
}

}  // namespace tcmap
