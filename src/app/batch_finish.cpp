// The end of a batch run: the map at the output path, or a failure report in
// its place, so a script never mistakes an old picture for this run's map.
#include <string>

#include "app/batch_finish.h"
#include "app/save_track_map.h"
#include "base/file_io.h"
#include "config/app_state.h"
#include "config/scratch_file.h"

namespace tcmap {

namespace {

constexpr const char* kFailureHeader = "~SUSPENDED - Track Map Failure.\r\n\r\n";

}  // namespace

int finishBatch(AppState& app, MainView& view, const LanguagePack& lang) {
    const bool saved = saveTrackMap(app, view, lang, nullptr);
    if (!saved) {
        const std::string report = kFailureHeader + app.failureLog();
        // Through a rename when the folder allows it; otherwise in place, but
        // only over a regular file (opening a FIFO to write would block).
        if (!writeFileAtomically(app.batchOutputPath, report) &&
            isRegularFile(app.batchOutputPath)) {
            writeFileReplacing(app.batchOutputPath, report);
        }
    }
    deleteStaleTempFile(app.tempFilePath, app.scratchHome());
    return saved ? 0 : 1;
}

}  // namespace tcmap
