// A finished map leaves the draw job here: the scratch file and the panel's
// picture at the end of every job.
#pragma once

#include <cstdint>

namespace tcmap {

struct AppState;
class MainView;
class JobLog;
class LanguagePack;
class Picture;

// The output stage of a job (job thread): encode `output` into the scratch
// file in its own format, then show it, or log the map-too-large text when it is larger than
// 8000 x 6000.
void outputTrackMap(AppState& app, MainView& view, JobLog& log, const LanguagePack& lang,
                    const Picture& output, int32_t outputWidth, int32_t outputHeight);

}  // namespace tcmap
