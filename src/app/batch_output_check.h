// Checks of a batch run's output path made before anything is written: a
// path that cannot take a picture, or that would overwrite one of the run's
// own inputs, ends the run at once.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/run_inputs.h"

namespace tcmap {

struct BatchOutputRefusal {
    int exitCode;
    std::string message;  // one line, English, for standard error
};

// A folder (or another path that takes no bytes) is refused with exit code 1;
// a block device, a link another user planted in a shared folder, and the
// output being a file the run reads (the same file, also through a link or a
// second name: compared by device and inode) with exit code 2. The files read
// are the track files, the settings file named on the command line and
// `otherInputs` (runInputs).
std::optional<BatchOutputRefusal> checkBatchOutput(const std::string& output,
                                                   const std::vector<std::string>& trackFiles,
                                                   const std::string& namedSettings,
                                                   const std::vector<RunInput>& otherInputs = {});

}  // namespace tcmap
