// INI-style settings store with the semantics every stored value relies on:
// case-insensitive section and key names, double quotes around a value
// removed, values cut at 10240 bytes, defaults for what is missing. Reads LF
// and CR LF files. A write changes only its own line and reaches the disk
// through a temporary file and a rename.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tcmap {

inline constexpr size_t kProfileValueLimit = 10240;

// One line of a settings file, parsed as read() parses it.
struct ProfileLine {
    enum class Kind {
        Section,  // "[name]" (the name up to "]", or to the end of the line)
        Key,      // name=value
        Other,    // anything else that is not blank: read() ignores it
    };
    Kind kind = Kind::Other;
    size_t number = 0;       // 1-based
    std::string_view name;   // section or key name, spaces and tabs trimmed
    std::string_view value;  // Key: the value trimmed, quotes still on; Other: the line
};

// A settings file's bytes as read() takes them, or why it takes none.
struct ProfileFile {
    enum class Status { Read, Missing, Unreadable };
    Status status = Status::Missing;
    std::string bytes;
};

class ProfileStore {
  public:
    // The file's bytes. Missing: no such path; Unreadable: a folder, a
    // device, a file that cannot be opened or one too large to be a settings
    // file. read() gives defaults for every file that is not Read.
    static ProfileFile load(const std::string& file);

    // Every line of `bytes` that is not blank, in order, with its number.
    // read() finds a key among these lines: the first section of its name,
    // the first key of its name there.
    static void forEachLine(std::string_view bytes,
                            const std::function<void(const ProfileLine&)>& visit);

    // What read() returns for a key line's value: the pair of double quotes
    // around it removed, cut at kProfileValueLimit bytes. `cut`, when given,
    // tells whether the value was longer.
    static std::string storedValue(std::string_view value, bool* cut = nullptr);

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
