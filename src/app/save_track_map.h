// The Save command: the last finished map, copied or converted to PNG, or
// drawn again as a vector map, to the file the user names.
#pragma once

#include <memory>
#include <string>

namespace tcmap {

class DrawingTape;
struct GisSource;
class LanguagePack;
class MainView;
class Prompter;

// What the last finished job left for Save.
struct LastMap {
    // The scratch file holding the map when it was too large to show; empty
    // when the panel shows the map.
    std::string largePicturePath;
    // The format the scratch file and the panel's picture are in.
    std::string formatId;
    // What the job drew, replayable, for a vector file; null when it drew no map.
    std::shared_ptr<const DrawingTape> drawing;
    // The storms it drew and its forecast areas, for a GIS file.
    std::shared_ptr<const GisSource> gis;
};

// The Save command: a save dialog, then the map from the panel (or from the
// scratch file `tempFilePath` when it was too large to show); message boxes
// for what fails. True when a picture was written.
bool saveTrackMap(const LastMap& last, const std::string& tempFilePath, MainView& view,
                  const LanguagePack& lang, Prompter& prompter);

}  // namespace tcmap
