// The three-line report of an output picture that could not be made: not
// created, the map not painted onto it, or not stored.
#pragma once

#include <cstdint>

namespace tcmap {

struct AppState;
class JobLog;
class LanguagePack;

// The failure text, the error-status text + ": " + the status text, and the
// advice. Batch mode: one failure-log entry. Otherwise three panel lines
// (failure, warning, orange failure colours) and the failure text in the
// info line.
void reportPictureFailure(AppState& app, JobLog& log, const LanguagePack& lang, int32_t status);

}  // namespace tcmap
