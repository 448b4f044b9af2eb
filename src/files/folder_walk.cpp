#include "files/folder_walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <utility>

#include "base/text_rules.h"
#include "files/sort_texts.h"

namespace tcmap {

namespace {

enum class EntryKind { File, Folder, Other };

struct FolderEntry {
    std::string name;
    EntryKind kind;
};

struct FolderListing {
    bool opened = false;
    dev_t device = 0;
    ino_t inode = 0;
    std::vector<FolderEntry> entries;
};

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

// What an entry is. Links are followed only to see whether they lead to a
// regular file; a link to a folder counts as neither file nor folder.
EntryKind kindOf(int folderFd, const dirent& entry) {
    struct stat info {};
    switch (entry.d_type) {
        case DT_REG:
            return EntryKind::File;
        case DT_DIR:
            return EntryKind::Folder;
        case DT_LNK:
            break;
        case DT_UNKNOWN:
            if (::fstatat(folderFd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
                return EntryKind::Other;
            }
            if (S_ISREG(info.st_mode)) return EntryKind::File;
            if (S_ISDIR(info.st_mode)) return EntryKind::Folder;
            if (!S_ISLNK(info.st_mode)) return EntryKind::Other;
            break;
        default:
            return EntryKind::Other;
    }
    if (::fstatat(folderFd, entry.d_name, &info, 0) != 0) return EntryKind::Other;
    return S_ISREG(info.st_mode) ? EntryKind::File : EntryKind::Other;
}

// Reads a folder once, in the order the file system returns its entries.
FolderListing readFolder(const std::string& path) {
    FolderListing listing;
    if (path.empty()) return listing;
    // O_DIRECTORY refuses anything but a folder before it is opened, so a
    // FIFO never blocks here.
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return listing;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return listing;
    }
    DIR* folder = ::fdopendir(fd);
    if (folder == nullptr) {
        ::close(fd);
        return listing;
    }
    listing.opened = true;
    listing.device = info.st_dev;
    listing.inode = info.st_ino;
    while (const dirent* entry = ::readdir(folder)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) {
            continue;
        }
        listing.entries.push_back({entry->d_name, kindOf(::dirfd(folder), *entry)});
    }
    ::closedir(folder);
    return listing;
}

}  // namespace

bool matchesPattern(std::string_view name, std::string_view pattern) {
    // Greedy match with one backtrack point at the last "*": linear for the
    // usual "*.ext" patterns.
    size_t n = 0, p = 0;
    size_t starPattern = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || lowerAscii(pattern[p]) == lowerAscii(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::string joinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.empty() || !isSeparator(path.back())) path += '/';
    path += name;
    return path;
}

std::vector<std::string> listFolderFiles(const std::string& folder) {
    std::vector<std::string> names;
    const FolderListing listing = readFolder(folder);
    for (const char* pattern : {"*.dat", "*.fst", "*.txt", "*.csv"}) {
        const size_t groupStart = names.size();
        for (const FolderEntry& entry : listing.entries) {
            if (entry.kind == EntryKind::File && matchesPattern(entry.name, pattern)) {
                names.push_back(entry.name);
            }
        }
        // Most file systems here return names in hash order: sort each group
        // so the user sees a stable, alphabetical list.
        std::sort(names.begin() + static_cast<std::ptrdiff_t>(groupStart), names.end(),
                  [](const std::string& a, const std::string& b) { return textLess(a, b); });
    }
    return names;
}

std::vector<std::string> findFilesBreadthFirst(const std::string& root, std::string_view patterns,
                                               std::atomic<size_t>* found,
                                               const std::atomic<bool>* stop) {
    std::vector<std::string> result;
    if (found != nullptr) found->store(0, std::memory_order_relaxed);
    if (root.size() < 2 || isSeparator(root.back())) return result;

    const std::vector<std::string> patternList = splitText(patterns, ";");
    std::set<std::pair<dev_t, ino_t>> walked;
    std::vector<std::string> queue{root};
    for (size_t next = 0; next < queue.size(); ++next) {
        if (stop != nullptr && stop->load(std::memory_order_relaxed)) break;
        const std::string folder = std::move(queue[next]);
        const FolderListing listing = readFolder(folder);
        if (!listing.opened || !walked.emplace(listing.device, listing.inode).second) continue;

        for (const FolderEntry& entry : listing.entries) {
            if (entry.kind == EntryKind::Folder) queue.push_back(joinPath(folder, entry.name));
        }
        for (const std::string& pattern : patternList) {
            for (const FolderEntry& entry : listing.entries) {
                if (entry.kind == EntryKind::File && matchesPattern(entry.name, pattern)) {
                    result.push_back(joinPath(folder, entry.name));
                }
            }
        }
        if (found != nullptr) found->store(result.size(), std::memory_order_relaxed);
    }
    return result;
}

}  // namespace tcmap
