// A private folder for the targets whose reader takes a path: each input is
// written to a file there before the reader opens it. The folder lives as long
// as the fuzzing process and is removed when it ends.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace tcmap::fuzz {

class ScratchFolder {
  public:
    static ScratchFolder& instance() {
        static ScratchFolder folder;
        return folder;
    }

    const std::string& path() const { return path_; }

    // Writes the bytes to <folder>/<name> and returns the file's path. A
    // plain write: the folder is private and lives only as long as the
    // process, and the program's safe replacing write flushes each file to
    // the disk, which would cost most of the fuzzer's time.
    std::string put(const std::string& name, std::string_view bytes) const {
        const std::string file = path_ + "/" + name;
        std::FILE* out = std::fopen(file.c_str(), "wb");
        if (out == nullptr) std::abort();
        // An empty input has no data pointer to hand to fwrite.
        const bool written =
            bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
        if (std::fclose(out) != 0 || !written) std::abort();
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
