// The per-run scratch picture in the run folder's temp folder, and the
// clean-up of the one a previous run left behind.
#pragma once

#include <string>

namespace tcmap {

// A fresh path runFolder/temp/<hex>.tmp. Creates the temp folder (a failure is
// ignored) but not the file. The number is the steady clock in milliseconds
// plus a counter that grows with every request, so two requests in the same
// millisecond differ; it is raised further while a file of that name exists.
std::string newScratchName(const std::string& runFolder);

// Deletes `path` only when it names a regular file ending in ".tmp" (any
// case) that lies directly in runFolder/temp. Anything else, including links,
// "temp/../name.tmp" and files in other folders, is left alone.
void deleteStaleTempFile(const std::string& path, const std::string& runFolder);

}  // namespace tcmap
