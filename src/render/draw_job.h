// One run of the drawing routine: settings, map picture and track files in,
// a finished track map out (scratch file and the panel's picture). It talks to
// the window only through MainView.
#pragma once

#include "render/draw_mode.h"

namespace tcmap {

struct AppState;
class MainView;

// Runs a draw job to its end on the calling thread; the callers put it on a
// worker thread of its own. Sets app.jobRunning while it runs and always ends
// with the end-of-job steps (menus enabled, jobRunning cleared, title
// refreshed). Batch mode: the caller runs finishBatch afterwards.
void runDrawJob(AppState& app, MainView& view, DrawMode mode);

}  // namespace tcmap
