// Batch mode from what the start-up settled to the exit code: the job on a
// worker thread, its log on standard error, the info line, then the map at
// the output path (PNG, or SVG or PDF by its name) or the failure report in
// its place. Nothing here creates a window or needs a display.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "app/unexpected_error.h"
#include "config/program_paths.h"
#include "render/draw.h"

namespace tcmap {

class MapCache;

struct BatchRun {
    ProgramPaths paths;  // settingsPath: the settings file the job reads
    LanguageChoice language;
    StyleChoice style;
    std::string outputPath;
    std::vector<std::string> trackFiles;
    // Batch mode draws Normal; the reference pictures run the window's other
    // modes through the same steps.
    DrawMode mode = DrawMode::Normal;
    std::vector<std::string> region;
    MapCache* mapCache = nullptr;  // null: every map decoded anew
    bool printTimings = false;     // TCMAP_TIMINGS=1: how long each stage took
    int64_t mapPixelLimit = 0;     // TCMAP_MAP_PIXEL_LIMIT; 0: the drawing's default
    // How long the report of an unexpected error stays before the process
    // ends: not at all, a script is waiting for the exit.
    std::chrono::milliseconds errorWait = kBatchErrorWait;
    // The drawing itself: draw() unless a test stands in for it.
    std::function<DrawResult(const DrawRequest&, DrawProgress&)> drawMap = draw;
};

// Returns the exit code: 0 when the map was saved, 1 otherwise. An exception
// escaping the job is reported as an unexpected error (exit code 255).
int runBatch(const BatchRun& run, std::ostream& err);

}  // namespace tcmap
