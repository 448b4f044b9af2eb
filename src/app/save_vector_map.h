// The Save command's vector branch: the last job's drawing written as an SVG
// or PDF file.
#pragma once

#include <string>

#include "render/canvas/vector_output.h"

namespace tcmap {

struct AppState;
class LanguagePack;

// Writes the last job's drawing to `destination`. Returns the empty text on
// success, otherwise the reason to show in the save-failure message.
std::string saveVectorMap(const AppState& app, const LanguagePack& lang,
                          const std::string& destination, VectorFormat format);

}  // namespace tcmap
