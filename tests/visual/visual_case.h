// One reference case of tests/visual/: a folder holding the settings file, the
// track files, case.txt (how the job runs) and expected.png (what it drew
// when the case was recorded).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "render/draw_mode.h"

namespace tcmap::testing {

struct VisualCase {
    std::string name;    // the folder's name
    std::string folder;  // its full path
    DrawMode mode = DrawMode::Normal;
    std::vector<std::string> regionParts;  // Regional: north, west, height, width in degrees
    std::string language;                  // [Language] Select of the run; empty: the default
    std::vector<std::string> tracks;       // file names in the folder, in command-line order
    std::string settings = "settings.ini";
    std::string output = "png";
    std::string problem;  // why case.txt cannot be used; empty when it can

    std::string expectedPicture() const { return folder + "/expected.png"; }
};

// Reads case.txt of one folder. Lines are "key: value"; "#" starts a comment
// line. Keys: mode (Normal, Regional, Global), region (Regional only, four
// comma-separated parts as typed into the window), language, tracks
// (space-separated), settings, output (png). An unknown key or value is a
// problem, so a typo never silently changes what a case runs.
VisualCase readVisualCase(const std::string& folder);

// Every folder under `root` that holds a case.txt, sorted by name.
std::vector<VisualCase> findVisualCases(const std::string& root);

// GoogleTest prints a case by its folder's name.
inline void PrintTo(const VisualCase& c, std::ostream* out) {
    *out << c.name;
}

}  // namespace tcmap::testing
