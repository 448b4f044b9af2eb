// The Save command: the last finished map, taken from the panel or from the
// scratch file when it was too large to show, becomes a PNG file. PNG
// pictures are copied byte for byte; anything else is converted.
#include "app/save_track_map.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/gis_format.h"
#include "app/main_view.h"
#include "app/save_gis_map.h"
#include "app/save_vector_map.h"
#include "base/file_io.h"
#include "base/output_file.h"
#include "config/prompter.h"
#include "config/scratch_file.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"
#include "render/canvas/picture.h"
#include "render/layers/layer_log.h"

namespace tcmap {

namespace {

constexpr int kMessagePart = 3;
constexpr int kConversionDepth = 24;
constexpr int kConversionSuccess = 1;
constexpr const char* kCopyError = "CopyError";

std::string_view asText(const std::vector<uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Copies `source` to the output `destination`; a file there changes only when
// the whole copy reached the disk. `error` gets errno when the write fails.
bool copyToOutput(const std::string& source, const std::string& destination, int* error) {
    // A scratch file that cannot be read is the program's own trouble, not
    // the destination's: no reason is given for it.
    const std::optional<std::string> bytes = readFileBytes(source);
    return bytes && writeOutputFile(destination, *bytes, error);
}

// Shows a failed save. `value` says why: "CopyError" or a conversion result
// code; the file and the system's reason follow when the system gave one.
void reportSaveFailure(MainView& view, const LanguagePack& lang, Prompter& prompter,
                       const std::string& value, const std::string& destination, int error) {
    std::string message = safeFormat(lang.text(TextId::SaveFailed), {value});
    if (error != 0) {
        message += "\r\n" + safeFormat(lang.text(TextId::SaveFailedReason),
                                       {destination, std::string(std::strerror(error))});
    }
    const std::string title = lang.text(TextId::SaveFailedTitle);
    view.setStatusPart(kMessagePart, title);
    prompter.message(message, title, Prompter::Icon::Warning, Prompter::Buttons::Ok,
                     Prompter::Answer::Ok);
}

}  // namespace

bool saveTrackMap(const LastMap& last, const std::string& tempFilePath, MainView& view,
                  const LanguagePack& lang, Prompter& prompter) {
    view.setStatusPart(kMessagePart, lang.text(TextId::Ready));

    // The picture to save: the scratch file of a map too large to show, or
    // the map the panel shows.
    const bool fromPanel = last.largePicturePath.empty();
    std::vector<uint8_t> panelBytes;
    if (fromPanel) {
        panelBytes = view.panelPicture();
        if (panelBytes.empty() || view.pictureLayout() != kMapPictureLayout) {
            prompter.message(lang.text(TextId::NoMapToSave), lang.text(TextId::SaveMapTitle),
                             Prompter::Icon::Warning, Prompter::Buttons::Ok, Prompter::Answer::Ok);
            return false;
        }
    }
    const std::string source = fromPanel ? tempFilePath : last.largePicturePath;

    std::optional<std::string> chosen =
        prompter.chooseSavePath(lang.text(TextId::SaveDialogTitle) + ":",
                                lang.text(TextId::SaveDialogFilter), std::string(), "png");
    if (!chosen || chosen->empty()) return false;
    const std::string destination = std::move(*chosen);
    prompter.setWaitCursor(true);
    view.setStatusPart(kMessagePart, progressLine(lang.text(TextId::SavingMap)));

    std::string failure;
    int error = 0;
    const VectorFormat vectorFormat = vectorFormatOf(destination);
    // The panel's picture goes back into the scratch file first, so the file
    // saved is the picture shown. A scratch file that cannot be rewritten
    // would save an older picture, so that fails the save.
    if (isGisOutput(destination)) {
        failure = last.gis ? saveGisMap(last.gis->tracks, last.gis->forecastAreas, destination)
                           : "no storm was drawn";
    } else if (vectorFormat != VectorFormat::None) {
        // A vector map is drawn again from the job's tape, not from the picture.
        failure = saveVectorMap(last.drawing.get(), lang, destination, vectorFormat);
    } else if (fromPanel && !writeScratchFile(source, asText(panelBytes))) {
        failure = kCopyError;
    } else if (last.formatId == kPngFormatId) {
        // Already PNG: the panel's bytes are the scratch file's bytes.
        const bool copied = fromPanel ? writeOutputFile(destination, asText(panelBytes), &error)
                                      : copyToOutput(source, destination, &error);
        if (!copied) failure = kCopyError;
    } else {
        const int result = convertToPng(source, destination, kConversionDepth);
        if (result != kConversionSuccess) failure = std::to_string(result);
    }

    // The normal cursor is back before any message box shows.
    prompter.setWaitCursor(false);
    if (failure.empty()) {
        view.setStatusPart(kMessagePart, lang.text(TextId::MapSaved));
    } else {
        reportSaveFailure(view, lang, prompter, failure, destination, error);
    }
    return failure.empty();
}

}  // namespace tcmap
