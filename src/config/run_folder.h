// The run folder: the folder of the executable, beside which the settings,
// language files, grid data and the temp folder live.
#pragma once

#include <string>

namespace tcmap {

// Folder of the running executable without a trailing "/" (so an executable
// in "/" gives ""); "." when the executable's path cannot be found.
std::string runFolder();

}  // namespace tcmap
