#include "app/batch_output.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/batch_log.h"
#include "app/gis_format.h"
#include "app/save_gis_map.h"
#include "app/save_vector_map.h"
#include "base/file_io.h"
#include "base/output_file.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"
#include "render/canvas/drawing_tape.h"
#include "render/canvas/picture.h"
#include "render/draw.h"

namespace tcmap {

namespace {

constexpr const char* kFailureHeader = "~SUSPENDED - Track Map Failure.\r\n\r\n";

// The value the save-failure message names when a PNG cannot be written: the
// code the conversion of the scratch picture gave, or "CopyError" when the
// map already was a PNG (a Global job on a PNG map) and was copied.
constexpr const char* kPngNotWritten = "-4";
constexpr const char* kCopyError = "CopyError";

// Writes the report; false with errno set when it reached nothing.
bool writeFailureReport(const std::string& path, const std::string& report) {
    if (writeOutputFile(path, report)) return true;
    const int error = errno;
    // A folder that takes no new file may still hold a writable old one:
    // written in place, but only over a regular file, and only when the
    // folder refused the new file; a full disk or a failing device could cut
    // the report short over the old file, which then stays whole instead.
    const bool folderRefused = error == EACCES || error == EPERM || error == EROFS;
    const OutputTarget target = resolveOutput(path);
    if (folderRefused && target.kind == OutputKind::File && isRegularFile(target.path) &&
        writeFileReplacing(target.path, report)) {
        return true;
    }
    errno = error;
    return false;
}

// The map at the output path; the reason why not in the failure log.
bool saveMap(const DrawResult& result, const std::string& output, const LanguagePack& lang,
             BatchLog& log, int& writeError) {
    if (!result.drawn()) {
        log.addFailure(lang.text(TextId::NoMapToSave) + "\r\n");
        return false;
    }
    std::string failure;
    if (isGisOutput(output)) {
        std::vector<std::string> notes;
        failure = saveGisMap(result, output, {}, &notes);
        for (const std::string& note : notes) log.message({MessageKind::Progress, note, 0});
    } else if (const VectorFormat vector = vectorFormatOf(output); vector != VectorFormat::None) {
        failure = saveVectorMap(result.tape.get(), lang, output, vector, &writeError);
    } else {
        std::vector<uint8_t> png;
        const bool copied = result.picture.formatId() == kPngFormatId;
        if (result.picture.encode(kPngFormatId, png) != 0 ||
            !writeOutputFile(
                output, std::string_view(reinterpret_cast<const char*>(png.data()), png.size()),
                &writeError)) {
            failure = copied ? kCopyError : kPngNotWritten;
        }
    }
    if (failure.empty()) return true;
    log.addFailure(safeFormat(lang.text(TextId::SaveFailed), {failure}) + "\r\n");
    return false;
}

}  // namespace

BatchFinish finishBatch(const DrawResult& result, const std::string& output,
                        const LanguagePack& lang, BatchLog& log) {
    BatchFinish finish;
    int writeError = 0;
    if (saveMap(result, output, lang, log, writeError)) {
        finish.exitCode = 0;
        return finish;
    }
    // The system's reason, when the picture itself could not be written.
    if (writeError != 0) {
        log.addFailure("Cannot write " + output + ": " + outputErrorText(output, writeError) +
                       "\r\n");
    }
    // A FIFO nobody reads takes no report either: not waited for twice.
    if (writeError == ENXIO) {
        finish.reportError = writeError;
        return finish;
    }
    finish.reportWritten = writeFailureReport(output, kFailureHeader + log.failureLog());
    if (!finish.reportWritten) finish.reportError = errno;
    return finish;
}

}  // namespace tcmap
