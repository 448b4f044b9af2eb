// Reading a track file line by line without holding the file: a fixed
// buffer that is refilled as the lines are consumed, so a file of hundreds of
// megabytes costs no more memory than its longest line. A line holding a NUL
// byte is unusable (the readers skip and count it) but the file goes on after
// it; carriage returns are no part of a line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "base/text_rules.h"

namespace tcmap {

// The lines of a track file or text, one at a time.
class LineSource {
  public:
    virtual ~LineSource() = default;
    // The next line without its line break and carriage returns; valid until
    // the next call. False at the end.
    virtual bool next(std::string_view& line) = 0;
    // The number of the line `next` gave last, from 1.
    int64_t lineNumber() const { return lineNumber_; }
    // Whether the line `next` gave last held a NUL byte.
    bool lineHasNul() const { return lineHasNul_; }

  protected:
    int64_t lineNumber_ = 0;
    bool lineHasNul_ = false;
};

// The lines of a file, read as they are asked for.
class FileLines final : public LineSource {
  public:
    // A file that cannot be opened (missing, a folder, a device, a FIFO) has
    // no lines.
    explicit FileLines(const std::string& path);
    ~FileLines() override;
    FileLines(const FileLines&) = delete;
    FileLines& operator=(const FileLines&) = delete;

    bool next(std::string_view& line) override;

  private:
    bool fill();
    bool nextOverlong(std::string_view& line);

    std::FILE* file_ = nullptr;
    size_t chunk_ = size_t{1} << 20;  // bytes a read asks for
    std::string buffer_;
    size_t start_ = 0;  // first unread byte of buffer_
    bool atEnd_ = false;
    std::string line_;
};

// The lines of a text in memory, split at line feeds once every carriage
// return is gone.
class TextLines final : public LineSource {
  public:
    explicit TextLines(std::string_view text);
    TextLines(const TextLines&) = delete;
    TextLines& operator=(const TextLines&) = delete;
    bool next(std::string_view& line) override;

  private:
    std::string storage_;
    PieceCursor cursor_;
};

// The first line of the file (at most a few kilobytes of it); empty when
// the file cannot be read.
std::string firstLineOf(const std::string& path);

}  // namespace tcmap
