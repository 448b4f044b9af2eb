// A finished map's drawing written as an SVG or PDF file: the vector branch
// of Save and of batch mode.
#pragma once

#include <string>

#include "render/canvas/vector_output.h"

namespace tcmap {

class DrawingTape;
class LanguagePack;

// Writes the drawing (null: the last job kept none) to `destination`.
// Returns the empty text on success, otherwise the reason to show in the
// save-failure message; `*writeError` (when given) is the system's errno when
// the file itself could not be written, else 0.
std::string saveVectorMap(const DrawingTape* drawing, const LanguagePack& lang,
                          const std::string& destination, VectorFormat format,
                          int* writeError = nullptr);

}  // namespace tcmap
