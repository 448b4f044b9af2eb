// A finished map leaves the draw job here: the scratch file and the panel's
// picture at the end of every job, the PNG file on Save, and the batch ending
// with its failure report.
#pragma once

#include <cstdint>

namespace tcmap {

struct AppState;
class MainView;
class JobLog;
class LanguagePack;
class Picture;
class Prompter;

// The output stage of a job (job thread): encode `output` into the scratch
// file in its own format, then show it, or log text 30 when it is larger than
// 8000 x 6000.
void outputTrackMap(AppState& app, MainView& view, JobLog& log, const LanguagePack& lang,
                    const Picture& output, int32_t outputWidth, int32_t outputHeight);

// The Save command. Interactive (`prompter` given): dialogs and message
// boxes. Batch (`prompter` null): saves to app.batchOutputPath and collects
// failures in the failure log. True when a picture was written.
bool saveTrackMap(AppState& app, MainView& view, const LanguagePack& lang, Prompter* prompter);

// The end of a batch run: save the map, or write the failure report in place
// of whatever is at the output path; delete the scratch file. Returns the
// process exit code: 0 when a map was saved, 1 otherwise.
int finishBatch(AppState& app, MainView& view, const LanguagePack& lang);

}  // namespace tcmap
