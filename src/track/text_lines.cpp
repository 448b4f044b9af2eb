#include "track/text_lines.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "track/record_fields.h"

namespace tcmap {

namespace {

// Reads are up to a megabyte; a smaller file is read in one piece of its own
// size, since most track files are a few kilobytes and a draw job or a
// folder search opens hundreds of them.
constexpr size_t kChunk = 1 << 20;
constexpr size_t kSmallestChunk = 4096;
// No real row comes near this; a file without line breaks must not be
// taken into memory whole.
constexpr size_t kLineLimit = 4 << 20;
// The longest header any archive kind has is far below this; a first line
// longer than it is not an archive header anyway.
constexpr size_t kFirstLineLimit = 16384;

std::FILE* openRegularFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
    return std::fopen(path.c_str(), "rb");
}

}  // namespace

FileLines::FileLines(const std::string& path) : file_(openRegularFile(path)) {
    atEnd_ = file_ == nullptr;
    struct stat info {};
    if (file_ != nullptr && ::fstat(::fileno(file_), &info) == 0 && info.st_size >= 0) {
        // One more byte than the size, so the first read also meets the end.
        chunk_ = std::clamp(static_cast<size_t>(info.st_size) + 1, kSmallestChunk, kChunk);
    }
}

FileLines::~FileLines() {
    if (file_ != nullptr) std::fclose(file_);
}

bool FileLines::fill() {
    if (atEnd_) return false;
    buffer_.erase(0, start_);
    start_ = 0;
    const size_t kept = buffer_.size();
    buffer_.resize(kept + chunk_);
    const size_t got = std::fread(buffer_.data() + kept, 1, chunk_, file_);
    buffer_.resize(kept + got);
    if (got == 0) atEnd_ = true;
    return got > 0;
}

bool FileLines::next(std::string_view& line) {
    size_t end = buffer_.find('\n', start_);
    while (end == std::string::npos && !atEnd_) {
        const size_t searched = buffer_.size() - start_;
        if (searched > kLineLimit) return nextOverlong(line);
        fill();
        end = buffer_.find('\n', start_ + searched);
    }
    if (end == std::string::npos) {
        if (start_ >= buffer_.size()) return false;
        end = buffer_.size();
    }
    line_.assign(buffer_, start_, end - start_);
    start_ = std::min(end + 1, buffer_.size());
    std::erase(line_, '\r');
    ++lineNumber_;
    lineHasNul_ = line_.find('\0') != std::string::npos;
    line = line_;
    return true;
}

// Keeps the beginning of an overlong line (the readers find it unusable) and
// drops the rest of it.
bool FileLines::nextOverlong(std::string_view& line) {
    line_.assign(buffer_, start_, kLineLimit);
    buffer_.clear();
    start_ = 0;
    while (true) {
        const size_t end = buffer_.find('\n');
        if (end != std::string::npos) {
            start_ = end + 1;
            break;
        }
        buffer_.clear();
        if (!fill()) break;
    }
    ++lineNumber_;
    lineHasNul_ = line_.find('\0') != std::string::npos;
    line = line_;
    return true;
}

TextLines::TextLines(std::string_view text)
    : cursor_(withoutCarriageReturns(text, storage_), "\n") {}

bool TextLines::next(std::string_view& line) {
    if (!cursor_.next(line)) return false;
    ++lineNumber_;
    lineHasNul_ = line.find('\0') != std::string_view::npos;
    return true;
}

std::string firstLineOf(const std::string& path) {
    std::FILE* file = openRegularFile(path);
    if (file == nullptr) return {};
    std::string head(kFirstLineLimit, '\0');
    head.resize(std::fread(head.data(), 1, head.size(), file));
    std::fclose(file);
    head.resize(std::min(head.find_first_of(std::string_view("\n\0", 2)), head.size()));
    std::erase(head, '\r');
    return head;
}

}  // namespace tcmap
