// A draw job of the main window, run to its end on the calling thread (the
// window puts it on a thread of its own): the panel cleared, the drawing
// with its progress in the panel and the status bar, the map stored, shown
// and kept for Save, and the window given back.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "app/save_track_map.h"
#include "config/program_paths.h"
#include "render/draw_mode.h"

namespace tcmap {

class MainView;
class MapCache;

// What a window's job reads and leaves of the window's session.
struct WindowJob {
    const ProgramPaths& paths;
    const LanguageChoice& language;
    const StyleChoice& style;
    const std::string& tempFilePath;  // the run's scratch picture
    const std::vector<std::string>& trackFiles;
    const std::vector<std::string>& region;  // Regional jobs
    MapCache* mapCache = nullptr;
    bool printTimings = false;
    std::atomic<bool>& jobRunning;
    LastMap& lastMap;
    int64_t& drawingErrors;  // the count goes on from job to job
};

// Reads the settings and the track files at the job's stages. Sets
// jobRunning while it runs and always ends with the end-of-job steps (menus
// enabled, jobRunning cleared, title refreshed), an escaping exception
// included.
void runWindowJob(const WindowJob& job, MainView& view, DrawMode mode);

}  // namespace tcmap
