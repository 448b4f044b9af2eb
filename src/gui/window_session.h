// What the main window keeps for as long as it is open: where the program
// runs, the language and style, the track files of the next job, the file
// chooser's state, and what the last job left for Save. `main` creates it
// and passes it by reference; tests make their own. Settings themselves are
// not cached here: the windows read Settings.ini when they need a value.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/save_track_map.h"
#include "config/program_paths.h"
#include "i18n/language_pack.h"
#include "render/draw_mode.h"

namespace tcmap {

class MapCache;

struct WindowSession {
    ProgramPaths paths;
    LanguageChoice language;   // fixed at start-up (the first-run question may set it)
    StyleChoice style;         // the settings window and the change-map command change it
    std::string tempFilePath;  // this run's scratch picture file
    std::string programVersion;

    std::vector<std::string> trackFiles;        // track files of the next draw job
    std::vector<std::string> commandLineFiles;  // drawn when the window first opens
    std::string lastDir;                        // last folder of the file chooser
    std::vector<std::string> regionParts;       // region of a Regional job, as entered

    bool idlePictureOn = true;
    int graphicsToken = 0;
    std::atomic<bool> jobRunning{false};

    // What the last finished job left for the Save command. Written by the
    // job thread before it clears jobRunning; Save is refused while a job runs.
    LastMap lastMap;
    // Drawing errors reported so far: the count goes on from job to job.
    int64_t drawingErrors = 0;
    MapCache* mapCache = nullptr;  // decoded maps kept between jobs
    bool printTimings = false;     // TCMAP_TIMINGS=1: each job's stages on standard error

    // File chooser: the mode its caller opens it in (append to trackFiles or
    // replace them), and whether the last one was confirmed. Callers take
    // that outcome from the chooser's own result, not from here.
    bool chooserAppend = false;
    bool chooserAccepted = false;
    // The chooser's size and the widths either side of its split, as the
    // user left them (0 and empty until a chooser has closed).
    int chooserWidth = 0;
    int chooserHeight = 0;
    std::vector<int> chooserSplit;
    std::atomic<int> searchState{0};
    // Subfolder search: the number of files found so far (read by the
    // chooser's status label while the search thread adds to it), and whether
    // the search thread runs.
    std::atomic<size_t> foundFileCount{0};
    std::atomic<bool> searchRunning{false};

    LanguagePack languagePack() const { return LanguagePack(paths, language); }
};

class MainView;

// A draw job of the session (app/window_job.h), run to its end.
void runSessionJob(WindowSession& session, MainView& view, DrawMode mode);

}  // namespace tcmap
