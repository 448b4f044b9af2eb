// The program's own fontconfig rules: the font families the program asks for
// by name ("Microsoft Yahei UI", "Consolas") resolve to installed CJK and
// monospace families, for Pango and Qt alike.
#pragma once

#include <string>

namespace tcmap {

// Loads fonts.conf from `runFolder` into the current fontconfig configuration,
// once per process; later calls only report whether that has happened. Call
// it before any text is laid out or a QApplication exists. False when the file
// is missing or broken.
bool loadFontAliases(const std::string& runFolder);

}  // namespace tcmap
