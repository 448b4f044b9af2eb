// The per-run scratch picture in the run folder's temp folder, and the
// clean-up of those earlier runs left behind. Many runs may share one run
// folder at once: each reserves its own file by creating it exclusively and
// holds a lock on it until it ends, and a clean-up removes only files whose
// lock nobody holds.
#pragma once

#include <string>
#include <string_view>

namespace tcmap {

// A fresh path runFolder/temp/<hex>.tmp. Creates the temp folder (a failure is
// ignored) but not the file. The number is the steady clock in milliseconds
// plus a counter that grows with every request, so two requests in the same
// millisecond differ; it is raised further while a file of that name exists.
std::string newScratchName(const std::string& runFolder);

// Like newScratchName, but the file is created (exclusively, so a name no
// other process has) and locked for the rest of this process's life. When the
// temp folder cannot hold it the name is still formed, unreserved.
std::string reserveScratchFile(const std::string& runFolder);

// Replaces the scratch file's content, through the reservation when this
// process holds one for `path`. False on any failure.
bool writeScratchFile(const std::string& path, std::string_view bytes);

// Deletes `path` only when it names a regular file ending in ".tmp" (any
// case) that lies directly in runFolder/temp, and either this process
// reserved it or no live run holds it. Anything else, including links,
// "temp/../name.tmp" and files in other folders, is left alone.
void deleteStaleTempFile(const std::string& path, const std::string& runFolder);

// Deletes every scratch file in runFolder/temp that no live run holds: those
// of runs that were killed or crashed.
void sweepStaleScratchFiles(const std::string& runFolder);

}  // namespace tcmap
