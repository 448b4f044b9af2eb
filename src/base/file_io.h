// Whole-file reading and writing with the safety every caller needs: only
// regular files are read (a folder, device or FIFO reads as nothing and never
// blocks), and a replaced file reaches the disk through a temporary file and a
// rename, so a crash never leaves it half written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tcmap {

// The bytes of a regular file; nullopt when it is missing, unreadable or not a
// regular file.
std::optional<std::string> readFileBytes(const std::string& path);

// The bytes of a regular file, or the empty text when it cannot be read.
std::string readFileOrEmpty(const std::string& path);

// Size of a regular file in bytes; -1 when there is none.
int64_t fileSize(const std::string& path);

bool isRegularFile(const std::string& path);
bool pathExists(const std::string& path);

// Replace the file's content: write an unnamed temporary file in its folder
// (a locked, recognisable ".<name>.tcmap-*.part" where the file system has no
// unnamed files), flush it to the disk and rename it over the file, so a kill
// leaves the old file whole and nothing a later write does not sweep away.
// A link at `path` is replaced itself; callers resolve links first. False
// with errno set (and the old file untouched) when any step fails.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

// Write the file in place, replacing its content (for outputs the caller
// checks afterwards). False on any failure.
bool writeFileReplacing(const std::string& path, std::string_view bytes);

// Writes all of `bytes` to the open descriptor. False with errno set.
bool writeToDescriptor(int fd, std::string_view bytes);

// The folder part of a path (before the last '/' or '\\'), or "".
std::string folderOf(std::string_view path);
// The name part of a path (after the last '/' or '\\'), or the whole path.
std::string nameOf(std::string_view path);

}  // namespace tcmap
