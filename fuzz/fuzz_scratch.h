// A private folder for the targets whose reader takes a path: each input is
// written to a file there before the reader opens it. The folder lives as long
// as the fuzzing process and is removed when it ends.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/file_io.h"

namespace tcmap::fuzz {

class ScratchFolder {
  public:
    static ScratchFolder& instance() {
        static ScratchFolder folder;
        return folder;
    }

    const std::string& path() const { return path_; }

    // Writes the bytes to <folder>/<name> and returns the file's path.
    std::string put(const std::string& name, std::string_view bytes) const {
        const std::string file = path_ + "/" + name;
        if (!writeFileReplacing(file, bytes)) std::abort();
        return file;
    }

  private:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tcmap-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    std::string path_;
};

inline std::string_view asText(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace tcmap::fuzz
