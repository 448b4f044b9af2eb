// The end of a batch run, after its draw job: the map, or a failure report in
// its place, at the output path.
#pragma once

namespace tcmap {

struct AppState;
class MainView;
class LanguagePack;

// The end of a batch run: save the map, or write the failure report in place
// of whatever is at the output path; delete the scratch file. Returns the
// process exit code: 0 when a map was saved, 1 otherwise.
int finishBatch(AppState& app, MainView& view, const LanguagePack& lang);

}  // namespace tcmap
