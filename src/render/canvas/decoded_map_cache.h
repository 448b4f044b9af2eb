// Decoded map pictures kept between runs. Decoding a 7200 x 3600 map costs
// far more than drawing a frame of it, so the first run stores the decoded
// pixels in the user's cache folder and later runs map that file into memory,
// touching only the rows and columns they draw. Within one process (the
// window) the last map stays decoded while its file is unchanged.
//
// A cache file names its source by path, size, modification time, inode and
// device; any difference, or a cache file that is short, damaged or of another
// layout, means the map is decoded afresh. Files are written under a
// temporary name and renamed into place, so a killed run never leaves a file a
// later run trusts. TCMAP_NO_CACHE=1, or a folder that cannot be written,
// turns the cache off.
#pragma once

#include <string>

namespace tcmap {

class Picture;

// Loads the map picture at `path` like Picture::loadFile (same result, same
// pixels), through the cache when it is on.
bool loadMapPicture(Picture& picture, const std::string& path);

// Waits until cache files started by loadMapPicture are written (a job calls
// this when it ends; the write overlaps the rest of the job).
void finishMapCacheWrites();

// The cache folder ($XDG_CACHE_HOME/tcmap, else ~/.cache/tcmap); empty when
// the cache is off or no folder is known. Does not create it.
std::string mapCacheFolder();

// Forgets the map the process keeps decoded (for tests and low memory).
void forgetKeptMap();

}  // namespace tcmap
