// The request of a draw job, from what a run knows: its folders, language
// and style, the draw mode and the track files. The settings of the style
// are read from the settings file when the request is made.
#pragma once

#include <string>
#include <vector>

#include "config/program_paths.h"
#include "render/draw.h"

namespace tcmap {

DrawRequest makeDrawRequest(const ProgramPaths& paths, const LanguageChoice& language,
                            const StyleChoice& style, DrawMode mode);

// Track files to be read at the job's file stage.
std::vector<TrackInput> trackFileInputs(const std::vector<std::string>& files);

}  // namespace tcmap
