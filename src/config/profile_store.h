// INI-style settings store with the semantics every stored value relies on:
// case-insensitive section and key names, double quotes around a value
// removed, values cut at 10240 bytes, defaults for what is missing. Reads LF
// and CR LF files. A write changes only its own line and reaches the disk
// through a temporary file and a rename.
#pragma once

#include <string>
#include <string_view>

namespace tcmap {

inline constexpr size_t kProfileValueLimit = 10240;

class ProfileStore {
  public:
    // The stored value, or `fallback` when the file, section or key is
    // missing. An empty file name, section or key reads the empty text.
    static std::string read(const std::string& file, std::string_view section, std::string_view key,
                            std::string_view fallback);

    // Create or replace one value, creating the file and section as needed.
    // Refuses (returns false, file unchanged) a value holding a line break or
    // NUL, an empty section or key, or a failed write.
    static bool write(const std::string& file, std::string_view section, std::string_view key,
                      std::string_view value);
};

}  // namespace tcmap
