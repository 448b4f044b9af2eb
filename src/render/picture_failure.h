// The three-line report of an output picture that could not be made: not
// created, the map not painted onto it, or not stored.
#pragma once

#include <cstdint>

namespace tcmap {

struct AppState;
class JobLog;
class LanguagePack;

// Texts 24, 25 + ": " + the status text, 26. Batch mode: one failure-log
// entry. Otherwise three panel lines (failure, warning, orange failure
// colours) and text 24 in the info line.
void reportPictureFailure(AppState& app, JobLog& log, const LanguagePack& lang, int32_t status);

}  // namespace tcmap
