// Writes a drawn map to its path as `draw` does: a PNG, or an SVG or PDF by
// its name, through the replacing write, so a path holds the old file or the
// whole new map, never a part of one, and never a failure report.
#pragma once

#include <string>

namespace tcmap {

class LanguagePack;
struct DrawResult;

// "" when written; else why not, in one line.
std::string writeMapFile(const DrawResult& result, const std::string& path,
                         const LanguagePack& lang);

// Why a drawing made no map: its warnings, one line.
std::string failureReason(const DrawResult& result);

}  // namespace tcmap
