// The end of a batch run, after its draw job: the map, or a failure report in
// its place, at the output path.
#pragma once

namespace tcmap {

struct AppState;
class MainView;
class LanguagePack;

struct BatchFinish {
    int exitCode = 1;            // 0 when a map was saved, 1 otherwise
    bool reportWritten = false;  // a failure report reached the output
    int reportError = 0;         // errno of the report's write when it did not
};

// The end of a batch run: save the map, or write the failure report in place
// of whatever is at the output path; delete the scratch file.
BatchFinish finishBatchRun(AppState& app, MainView& view, const LanguagePack& lang);

// finishBatchRun's exit code.
int finishBatch(AppState& app, MainView& view, const LanguagePack& lang);

}  // namespace tcmap
