#include "config/profile_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <optional>
#include <thread>

#include "base/file_io.h"

namespace tcmap {

namespace {

// Settings files are small. One beyond this size is not a settings file: it
// reads as defaults and is never rewritten, so no input drives an unbounded
// allocation on every lookup.
constexpr int64_t kProfileFileLimit = int64_t{32} << 20;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string_view trimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

// One line of a settings file. [begin, end) is its text without the line
// break (a CR before the LF belongs to the break); `next` is where the
// following line starts; `hasBreak` is false only for a last line without LF.
struct IniLine {
    size_t begin = 0;
    size_t end = 0;
    size_t next = 0;
    bool hasBreak = false;
};

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;
    std::string_view value;
};

// A line whose first non-blank character is "[" names a section (up to "]",
// or to the end of the line when there is none); any other line holding "="
// is key=value; everything else carries nothing.
ParsedLine parseLine(std::string_view text) {
    const std::string_view trimmed = trimBlanks(text);
    if (!trimmed.empty() && trimmed.front() == '[') {
        std::string_view name = trimmed.substr(1);
        const size_t close = name.find(']');
        if (close != std::string_view::npos) name = name.substr(0, close);
        return {LineKind::Section, trimBlanks(name), {}};
    }
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) return {};
    return {LineKind::Key, trimBlanks(text.substr(0, equals)), trimBlanks(text.substr(equals + 1))};
}

class LineScanner {
  public:
    explicit LineScanner(std::string_view bytes) : bytes_(bytes) {
        // A byte-order mark in front of the first line is not part of it.
        if (bytes_.substr(0, kUtf8Mark.size()) == kUtf8Mark) pos_ = kUtf8Mark.size();
    }

    bool next(IniLine& line) {
        if (pos_ >= bytes_.size()) return false;
        line.begin = pos_;
        const size_t feed = bytes_.find('\n', pos_);
        if (feed == std::string_view::npos) {
            // A CR that ends the file belongs to the line break a later
            // write completes, so the line reads the same before and after.
            line.end = bytes_.back() == '\r' ? bytes_.size() - 1 : bytes_.size();
            line.next = bytes_.size();
            line.hasBreak = false;
        } else {
            line.end = (feed > pos_ && bytes_[feed - 1] == '\r') ? feed - 1 : feed;
            line.next = feed + 1;
            line.hasBreak = true;
        }
        pos_ = line.next;
        return true;
    }

    std::string_view text(const IniLine& line) const {
        return bytes_.substr(line.begin, line.end - line.begin);
    }

  private:
    std::string_view bytes_;
    size_t pos_ = 0;
};

struct Lookup {
    bool sectionFound = false;
    std::optional<IniLine> keyLine;  // first matching key of the first matching section
    std::string_view value;          // its trimmed value
    IniLine lastLine;                // section header or the section's last key line
};

// Only the first section of the name counts; scanning stops at its end or at
// the first key of the name, whichever comes first.
Lookup findKey(std::string_view bytes, std::string_view section, std::string_view key) {
    Lookup found;
    LineScanner scanner(bytes);
    IniLine line;
    while (scanner.next(line)) {
        const ParsedLine parsed = parseLine(scanner.text(line));
        if (parsed.kind == LineKind::Section) {
            if (found.sectionFound) break;
            if (sameName(parsed.name, section)) {
                found.sectionFound = true;
                found.lastLine = line;
            }
        } else if (parsed.kind == LineKind::Key && found.sectionFound) {
            if (sameName(parsed.name, key)) {
                found.keyLine = line;
                found.value = parsed.value;
                break;
            }
            found.lastLine = line;
        }
    }
    return found;
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string limited(std::string_view value) {
    return std::string(value.substr(0, kProfileValueLimit));
}

bool holdsAny(std::string_view text, std::string_view bytes) {
    return text.find_first_of(bytes) != std::string_view::npos;
}

// A name that would read back differently or split the line is refused.
bool usableName(std::string_view name) {
    static constexpr char kForbidden[] = {']', '=', '\r', '\n', '\0'};
    return !name.empty() && !holdsAny(name, std::string_view(kForbidden, sizeof kForbidden));
}

// The file a write must replace: the target of a symbolic link, so the link
// itself survives the rename.
std::string writeTarget(const std::string& file) {
    struct stat info {};
    if (::lstat(file.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(file.c_str(), resolved) != nullptr) return resolved;
    }
    return file;
}

// The existing bytes of a settings file, "" for a missing one, nullopt when a
// file is there but cannot be taken as a settings file.
std::optional<std::string> currentContent(const std::string& file) {
    if (!pathExists(file)) return std::string();
    const int64_t size = fileSize(file);
    if (size < 0 || size > kProfileFileLimit) return std::nullopt;
    auto bytes = readFileBytes(file);
    if (!bytes || static_cast<int64_t>(bytes->size()) > kProfileFileLimit) return std::nullopt;
    return bytes;
}

// New lines follow the style of the file's first line break.
std::string_view lineBreakOf(std::string_view bytes) {
    const size_t feed = bytes.find('\n');
    return (feed != std::string_view::npos && feed > 0 && bytes[feed - 1] == '\r') ? "\r\n" : "\n";
}

// What ends a file's unfinished last line before a line is added after it: a
// lone CR there becomes CR LF, leaving the line's own bytes as they were.
std::string_view breakAfter(std::string_view bytes, std::string_view lineBreak) {
    return !bytes.empty() && bytes.back() == '\r' ? "\n" : lineBreak;
}

// Holds the lock of a settings file's folder while one write reads, changes
// and replaces the file, so writes of two processes never lose one another.
// A holder that does not let go within the wait (a stopped process) is not
// waited for further.
class FolderWriteLock {
  public:
    explicit FolderWriteLock(const std::string& file) {
        const size_t slash = file.rfind('/');
        const std::string folder =
            slash == std::string::npos ? "." : (slash == 0 ? "/" : file.substr(0, slash));
        fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd_ < 0) return;
        for (int tries = 0; tries < kLockTries; ++tries) {
            if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
            if (errno != EWOULDBLOCK && errno != EINTR) return;
            std::this_thread::sleep_for(kLockPause);
        }
    }
    ~FolderWriteLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    FolderWriteLock(const FolderWriteLock&) = delete;
    FolderWriteLock& operator=(const FolderWriteLock&) = delete;

  private:
    static constexpr int kLockTries = 400;
    static constexpr std::chrono::milliseconds kLockPause{5};
    int fd_ = -1;
};

}  // namespace

ProfileFile ProfileStore::load(const std::string& file) {
    ProfileFile result;
    if (!pathExists(file)) return result;
    result.status = ProfileFile::Status::Unreadable;
    const int64_t size = fileSize(file);
    if (size < 0 || size > kProfileFileLimit) return result;
    auto bytes = readFileBytes(file);
    if (!bytes || static_cast<int64_t>(bytes->size()) > kProfileFileLimit) return result;
    result.status = ProfileFile::Status::Read;
    result.bytes = std::move(*bytes);
    return result;
}

void ProfileStore::forEachLine(std::string_view bytes,
                               const std::function<void(const ProfileLine&)>& visit) {
    LineScanner scanner(bytes);
    IniLine line;
    size_t number = 0;
    while (scanner.next(line)) {
        ++number;
        const std::string_view text = scanner.text(line);
        const ParsedLine parsed = parseLine(text);
        switch (parsed.kind) {
            case LineKind::Section:
                visit({ProfileLine::Kind::Section, number, parsed.name, {}});
                break;
            case LineKind::Key:
                visit({ProfileLine::Kind::Key, number, parsed.name, parsed.value});
                break;
            case LineKind::Other:
                if (!trimBlanks(text).empty()) {
                    visit({ProfileLine::Kind::Other, number, {}, trimBlanks(text)});
                }
                break;
        }
    }
}

std::string ProfileStore::storedValue(std::string_view value, bool* cut) {
    const std::string_view unquoted = unquote(value);
    if (cut != nullptr) *cut = unquoted.size() > kProfileValueLimit;
    return limited(unquoted);
}

std::string ProfileStore::read(const std::string& file, std::string_view section,
                               std::string_view key, std::string_view fallback) {
    section = trimBlanks(section);
    key = trimBlanks(key);
    if (file.empty() || section.empty() || key.empty()) return std::string();

    const ProfileFile loaded = load(file);
    if (loaded.status != ProfileFile::Status::Read) return limited(fallback);
    const Lookup found = findKey(loaded.bytes, section, key);
    if (!found.keyLine) return limited(fallback);
    return storedValue(found.value);
}

bool ProfileStore::write(const std::string& file, std::string_view section, std::string_view key,
                         std::string_view value) {
    section = trimBlanks(section);
    key = trimBlanks(key);
    if (file.empty() || !usableName(section) || !usableName(key)) return false;
    // A key starting with "[" would turn its line into a section header.
    if (key.front() == '[') return false;
    if (holdsAny(value, std::string_view("\r\n\0", 3))) return false;

    const std::string target = writeTarget(file);
    const FolderWriteLock lock(target);
    const auto content = currentContent(target);
    if (!content) return false;
    const std::string_view bytes = *content;
    const std::string_view lineBreak = lineBreakOf(bytes);

    std::string line;
    line.reserve(key.size() + 1 + value.size());
    line.append(key).append("=").append(value);

    const Lookup found = findKey(bytes, section, key);
    std::string updated;
    updated.reserve(bytes.size() + line.size() + section.size() + 8);
    if (found.keyLine) {
        updated.append(bytes.substr(0, found.keyLine->begin));
        updated.append(line);
        updated.append(bytes.substr(found.keyLine->end));
    } else if (found.sectionFound) {
        const IniLine& after = found.lastLine;
        if (after.hasBreak) {
            updated.append(bytes.substr(0, after.next));
            updated.append(line).append(lineBreak);
            updated.append(bytes.substr(after.next));
        } else {
            // The anchor is the file's last line and has no line break.
            updated.append(bytes);
            updated.append(breakAfter(bytes, lineBreak)).append(line);
        }
    } else {
        updated.append(bytes);
        if (!bytes.empty() && bytes.back() != '\n') updated.append(breakAfter(bytes, lineBreak));
        updated.append("[").append(section).append("]").append(lineBreak);
        updated.append(line).append(lineBreak);
    }

    if (updated == bytes) return true;
    return writeFileAtomically(target, updated);
}

}  // namespace tcmap
