// Batch mode from the filled program state to the exit code: the Normal draw
// job on a worker thread with a windowless view that echoes its log, the info
// line, then the PNG at the output path or the failure report in its place.
// Nothing here creates a window or needs a display.
#pragma once

#include <functional>
#include <iosfwd>

namespace tcmap {

struct AppState;
class MainView;

// Runs one draw job to its end on the calling thread.
using BatchJob = std::function<void(AppState&, MainView&)>;

// Runs `job` on a worker thread, echoing its log lines to `err`; prints the
// info line and any collected messages there, then finishes the batch.
// Returns the exit code: 0 when the map was saved, 1 otherwise. An exception
// escaping the job is reported as an unexpected error (exit code 255).
int runBatch(AppState& app, std::ostream& err, const BatchJob& job);

}  // namespace tcmap
