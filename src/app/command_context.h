// What the `draw` and `list` commands take from start-up: the folders, the
// locale's language, the map cache and the machine.
#pragma once

#include <cstddef>
#include <string>

#include "config/program_paths.h"

namespace tcmap {

class MapCache;

struct CommandContext {
    ProgramPaths paths;
    std::string messageLocale;        // LC_ALL / LC_MESSAGES / LANG
    MapCache* mapCache = nullptr;     // null: every map decoded anew
    size_t cores = 1;                 // drawings at once by default
    bool progressOnTerminal = false;  // standard error is a terminal: a progress bar
};

}  // namespace tcmap
