// Test data paths and a scratch folder for the track tests.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "base/file_io.h"

namespace tcmap::test {

inline std::string trackDataPath(std::string_view name) {
    return std::string(TCMAP_TEST_DATA_DIR) + "/track/" + std::string(name);
}

inline std::string readTrackData(std::string_view name) {
    return readFileOrEmpty(trackDataPath(name));
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
