// Where the program keeps its files. Two ways to run, one rule:
//  - portable: the executable's folder holds a Settings.ini and can be
//    written; every file lives beside the executable (a build's run/ folder,
//    an unpacked archive);
//  - installed: anything else (/usr/bin/tcmap). The user's settings live in
//    the XDG config folder, the scratch file in the runtime or cache folder,
//    and the read-only files that come with the program in ../share/tcmap.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/kill_test_hooks.h"

namespace tcmap {

struct ProgramFolders {
    bool portable = true;
    std::string executableFolder;  // folder of the executable
    // The user's folder: Settings.ini, Language.ini and the user's own
    // language files, GridData, fonts.conf and maps. ProgramPaths::runFolder.
    std::string userFolder;
    // Read-only files that come with the program, used where the user's
    // folder has no file of that name. The user's folder when portable.
    std::string dataFolder;
    // The folder whose temp/ subfolder holds the scratch picture.
    std::string scratchRoot;
    // Per-user cache of decoded maps (never needed to run; safe to delete):
    // $XDG_CACHE_HOME/tcmap, else ~/.cache/tcmap; empty when TCMAP_NO_CACHE
    // turns the cache off or no home is known.
    std::string cacheFolder;
};

// Switches read once from the environment at start-up.
struct EnvironmentOptions {
    bool printTimings = false;    // TCMAP_TIMINGS=1: how long each stage of a job took
    KillTestHooks killTestHooks;  // TCMAP_TEST_HOLD_WRITE, TCMAP_TEST_NO_TMPFILE
    // TCMAP_FIFO_WAIT_MS: how long a FIFO output waits for its reader.
    std::chrono::milliseconds fifoWait{10000};
    // TCMAP_MAP_PIXEL_LIMIT: most pixels a map picture may declare; 0 keeps
    // the drawing's default.
    int64_t mapPixelLimit = 0;
    // The locale's message language: LC_ALL, else LC_MESSAGES, else LANG
    // (the first that is set), as "zh_CN.UTF-8"; empty when none is.
    std::string messageLocale;
};

// Reads one environment variable; empty when unset.
using EnvironmentLookup = std::function<std::string(const char* name)>;

// The process environment, with HOME falling back to the password database.
std::string processEnvironment(const char* name);

EnvironmentOptions readEnvironmentOptions(
    const EnvironmentLookup& environment = processEnvironment);

// Decides portable or installed for an executable in `executableFolder`.
// XDG variables that are empty or not absolute are ignored, as the XDG rules
// ask. Nothing is created or written.
ProgramFolders findProgramFolders(const std::string& executableFolder,
                                  const EnvironmentLookup& environment = processEnvironment);

// The path of a read-only program file (a language file, GridData,
// fonts.conf, a relative map path): the user's folder when it has its own,
// else the data folder's. When neither has it, the user's path, so a message
// names the place where the user would put it.
std::string programFilePath(std::string_view userFolder, std::string_view dataFolder,
                            std::string_view name);

// Installed run, first step that writes: creates the user's folder and the
// scratch root (private to the user) and copies Settings.ini and Language.ini
// from the data folder when the user has none yet. A portable run is left
// alone. False when the user's Settings.ini is still missing afterwards.
bool prepareUserFolders(const ProgramFolders& folders);

// The folders, one "name: path" line each, for "--paths".
std::string describeProgramFolders(const ProgramFolders& folders);

}  // namespace tcmap
