// The files a batch run reads besides its track files, each with the words
// that name it in a message: the settings, the language choice and files,
// the grid data, the font aliases, the map pictures of both styles, the
// program's other data files and the executable itself. A run must never
// write its map over any of them.
#pragma once

#include <string>
#include <vector>

#include "config/program_paths.h"

namespace tcmap {

struct RunInput {
    std::string path;
    std::string what;  // "the grid data", "a language file", ...
};

std::vector<RunInput> runInputs(const ProgramPaths& paths, const StyleChoice& style);

}  // namespace tcmap
