// Reading an archive line by line without holding the file: a fixed buffer
// that is refilled as the lines are consumed, so a file of hundreds of
// megabytes costs no more memory than its longest line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace tcmap {

class ArchiveLines {
  public:
    // A file that cannot be opened (missing, a folder, a device) has no lines.
    explicit ArchiveLines(const std::string& path);
    ~ArchiveLines();
    ArchiveLines(const ArchiveLines&) = delete;
    ArchiveLines& operator=(const ArchiveLines&) = delete;

    // The next line without its line break and carriage returns; valid until
    // the next call. False at the end of the file or at its first NUL byte,
    // where the text of a track file ends.
    bool next(std::string_view& line);

    // The number of the line `next` gave last, from 1.
    int64_t lineNumber() const { return lineNumber_; }

  private:
    bool fill();
    bool nextOverlong(std::string_view& line);

    std::FILE* file_ = nullptr;
    std::string buffer_;
    size_t start_ = 0;  // first unread byte of buffer_
    bool atEnd_ = false;
    std::string line_;
    int64_t lineNumber_ = 0;
};

// The first line of the file (at most a few kilobytes of it); empty when
// the file cannot be read.
std::string firstLineOf(const std::string& path);

}  // namespace tcmap
