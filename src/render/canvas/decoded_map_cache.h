// Decoded map pictures kept between runs. Decoding a 7200 x 3600 map costs
// far more than reading its pixels back, so the first run stores the decoded
// pixels in the user's cache folder and later runs read that file. Within one
// process (the window) the last map stays decoded while its file is unchanged.
//
// The folder is used only when it is the user's own, not a link, and nobody
// else may write to it; otherwise maps are decoded every time (said once on
// standard error). A cache file is read only when it is a plain file of the
// user's, opened without following a link or waiting on a FIFO. It names its
// source by path, size, modification time, inode and device, and carries a
// checksum per block of rows, checked as the rows are read into memory of
// their own: a file that differs, is short, damaged, changed or cut short
// (even while in use) means the map is decoded afresh and the entry written
// again. Files are written under a locked temporary name and renamed into
// place, so a killed run never leaves a file a later run trusts, and its
// temporary file is swept at the next start. Without a folder no file is
// kept; the last map still stays decoded.
#pragma once

#include <chrono>
#include <memory>
#include <string>

namespace tcmap {

class Picture;

class MapCache {
  public:
    // A source changed this recently may change again within the same
    // timestamp tick without its size, time or inode showing it: it is not
    // stored or kept.
    static constexpr std::chrono::nanoseconds kSettleTime = std::chrono::seconds(2);

    // All cache files together stay within this many bytes (and the newest
    // few maps); a map larger than that is never stored.
    static constexpr int64_t kByteBudget = int64_t{1} << 30;

    // `folder`: where cache files go, created when needed ($XDG_CACHE_HOME/tcmap
    // in the program); empty keeps no files.
    explicit MapCache(std::string folder, std::chrono::nanoseconds settleTime = kSettleTime,
                      int64_t byteBudget = kByteBudget);
    // Waits for the cache files still being written.
    ~MapCache();
    MapCache(const MapCache&) = delete;
    MapCache& operator=(const MapCache&) = delete;

    const std::string& folder() const { return folder_; }

    // Loads the map picture at `path` like Picture::loadFile (same result,
    // same pixels), through the cache. Safe from several threads at once.
    bool load(Picture& picture, const std::string& path);

    // Waits until the cache files `load` started are written (a drawing calls
    // this when it ends; the write overlaps the rest of the drawing).
    void finishWrites();

    // Forgets the map kept decoded (for tests and low memory).
    void forget();

  private:
    class State;
    std::string folder_;
    std::chrono::nanoseconds settleTime_;
    int64_t byteBudget_;
    std::unique_ptr<State> state_;
};

// Loads the map at `path` through `cache`, or decodes it when there is none.
bool loadMapPicture(Picture& picture, const std::string& path, MapCache* cache);

}  // namespace tcmap
