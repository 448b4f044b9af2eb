// The end of a batch run: the map at the output path, or a failure report in
// its place, so a script never mistakes an old picture for this run's map.
#include <cerrno>
#include <cstring>
#include <string>

#include "app/batch_finish.h"
#include "app/save_track_map.h"
#include "base/file_io.h"
#include "base/output_file.h"
#include "config/app_state.h"
#include "config/scratch_file.h"

namespace tcmap {

namespace {

constexpr const char* kFailureHeader = "~SUSPENDED - Track Map Failure.\r\n\r\n";

// Writes the report; false with errno set when it reached nothing.
bool writeFailureReport(const std::string& path, const std::string& report) {
    if (writeOutputFile(path, report)) return true;
    const int error = errno;
    // A folder that takes no new file may still hold a writable old one:
    // written in place, but only over a regular file.
    const OutputTarget target = resolveOutput(path);
    if (target.kind == OutputKind::File && isRegularFile(target.path) &&
        writeFileReplacing(target.path, report)) {
        return true;
    }
    errno = error;
    return false;
}

}  // namespace

BatchFinish finishBatchRun(AppState& app, MainView& view, const LanguagePack& lang) {
    clearOutputError();
    BatchFinish finish;
    const bool saved = saveTrackMap(app, view, lang, nullptr);
    finish.exitCode = saved ? 0 : 1;
    if (!saved) {
        // The system's reason, when the picture itself could not be written.
        if (const int error = lastOutputError()) {
            app.appendFailure("Cannot write " + app.batchOutputPath + ": " + std::strerror(error) +
                              "\r\n");
        }
        finish.reportWritten =
            writeFailureReport(app.batchOutputPath, kFailureHeader + app.failureLog());
        if (!finish.reportWritten) finish.reportError = errno;
    }
    deleteStaleTempFile(app.tempFilePath, app.scratchHome());
    return finish;
}

int finishBatch(AppState& app, MainView& view, const LanguagePack& lang) {
    return finishBatchRun(app, view, lang).exitCode;
}

}  // namespace tcmap
