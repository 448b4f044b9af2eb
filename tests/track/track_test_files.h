// Test data paths and a scratch folder for the track tests.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "base/file_io.h"
#include "track/atcf_reader.h"
#include "track/track_text.h"

namespace tcmap::test {

inline std::string trackDataPath(std::string_view name) {
    return std::string(TCMAP_TEST_DATA_DIR) + "/track/" + std::string(name);
}

inline std::string readTrackData(std::string_view name) {
    return readFileOrEmpty(trackDataPath(name));
}

// The track text of bytes read as a best track or as a forecast: each line
// followed by CR LF, as the readers once wrote it.
inline std::string trackTextOf(std::string_view bytes, TrackFileKind kind) {
    std::string text;
    for (const std::string& line : trackTextLines(readAtcfText(bytes, kind))) text += line + "\r\n";
    return text;
}
inline std::string bestTrackText(std::string_view bytes) {
    return trackTextOf(bytes, TrackFileKind::BestTrackFile);
}
inline std::string forecastText(std::string_view bytes) {
    return trackTextOf(bytes, TrackFileKind::ForecastFile);
}
// The radii text of bytes read as a best track, for a radii selection.
inline std::string radiiTextOf(std::string_view bytes, int32_t selection, bool tcvRule) {
    return radiiText(readAtcfText(bytes, TrackFileKind::BestTrackFile), selection, tcvRule);
}

// A fresh folder removed with its content when the test ends.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tcmap_track_XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string path(std::string_view name) const { return path_ + "/" + std::string(name); }
    std::string write(std::string_view name, std::string_view bytes) const {
        const std::string file = path(name);
        writeFileReplacing(file, bytes);
        return file;
    }

  private:
    std::string path_;
};

}  // namespace tcmap::test
