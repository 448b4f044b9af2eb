#include "config/scratch_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <mutex>
#include <vector>

#include "base/file_io.h"
#include "base/locked_file.h"
#include "base/text_rules.h"
#include "config/settings_keys.h"

namespace tcmap {

namespace {

constexpr mode_t kScratchMode = 0600;
// Names tried before a reservation gives up and forms an unreserved name.
constexpr int kReserveAttempts = 1 << 16;

std::atomic<uint64_t> scratchRequests{0};

// The scratch files this process reserved, by path, with the descriptor that
// holds each one's lock. They stay open until deleted or the process ends.
class Reservations {
  public:
    void add(const std::string& path, int fd) {
        std::lock_guard lock(mutex_);
        fds_[path] = fd;
    }
    int find(const std::string& path) const {
        std::lock_guard lock(mutex_);
        const auto found = fds_.find(path);
        return found == fds_.end() ? -1 : found->second;
    }
    int take(const std::string& path) {
        std::lock_guard lock(mutex_);
        const auto found = fds_.find(path);
        if (found == fds_.end()) return -1;
        const int fd = found->second;
        fds_.erase(found);
        return fd;
    }

  private:
    mutable std::mutex mutex_;
    std::map<std::string, int> fds_;
};

Reservations& reservations() {
    static Reservations* held = new Reservations;  // never destroyed: used up to exit
    return *held;
}

std::string tempFolderOf(const std::string& runFolder) {
    return runFolder + "/" + std::string(kTempFolderName);
}

std::string hexText(uint64_t number) {
    char text[24];
    std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(number));
    return text;
}

// Anything at the path counts as taken, a dangling link included.
bool nameTaken(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

uint64_t firstNumber() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    return static_cast<uint64_t>(milliseconds) + scratchRequests.fetch_add(1) + 1;
}

std::string scratchName(uint64_t number) {
    return hexText(number) + ".tmp";
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The temp folder of `runFolder`, opened, when `path` names an entry directly
// in it (however the folder is spelt: the folders' identities are compared,
// and the caller works through the one opened folder so nothing can be
// swapped in between); `name` is then the entry's name. -1 otherwise.
int openTempFolderHolding(const std::string& path, const std::string& runFolder,
                          std::string& name) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return -1;
    const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    name = path.substr(slash + 1);
    struct stat tempInfo {};
    if (::stat(tempFolderOf(runFolder).c_str(), &tempInfo) != 0 || !S_ISDIR(tempInfo.st_mode)) {
        return -1;
    }
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) return -1;
    struct stat folderInfo {};
    if (::fstat(folderFd, &folderInfo) != 0 || !sameFile(folderInfo, tempInfo)) {
        ::close(folderFd);
        return -1;
    }
    return folderFd;
}

bool isScratchName(std::string_view name) {
    return name.size() > 4 && toLowerAscii(lastChars(name, 4)) == ".tmp";
}

}  // namespace

std::string newScratchName(const std::string& runFolder) {
    const std::string folder = tempFolderOf(runFolder);
    ::mkdir(folder.c_str(), 0755);

    uint64_t number = firstNumber();
    std::string path = folder + "/" + hexText(number) + ".tmp";
    while (nameTaken(path)) path = folder + "/" + hexText(++number) + ".tmp";
    return path;
}

std::string reserveScratchFile(const std::string& runFolder) {
    const std::string folder = tempFolderOf(runFolder);
    ::mkdir(folder.c_str(), 0755);
    uint64_t number = firstNumber();
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) return folder + "/" + scratchName(number);
    for (int attempt = 0; attempt < kReserveAttempts; ++attempt, ++number) {
        const int fd = createLockedFile(folderFd, scratchName(number), kScratchMode);
        if (fd >= 0) {
            ::close(folderFd);
            const std::string path = folder + "/" + scratchName(number);
            reservations().add(path, fd);
            return path;
        }
        if (errno != EEXIST) break;
    }
    ::close(folderFd);
    return newScratchName(runFolder);
}

bool writeScratchFile(const std::string& path, std::string_view bytes) {
    const int fd = reservations().find(path);
    if (fd < 0) return writeFileReplacing(path, bytes);
    return ::ftruncate(fd, 0) == 0 && ::lseek(fd, 0, SEEK_SET) == 0 && writeToDescriptor(fd, bytes);
}

void deleteStaleTempFile(const std::string& path, const std::string& runFolder) {
    if (path.empty() || toLowerAscii(lastChars(path, 4)) != ".tmp") return;
    std::string name;
    const int folderFd = openTempFolderHolding(path, runFolder, name);
    if (folderFd < 0) return;
    const int own = reservations().take(path);
    if (own >= 0) {
        // This run's own file: removed while still locked, so no other run
        // ever sees it unowned.
        struct stat openInfo {};
        struct stat namedInfo {};
        if (::fstat(own, &openInfo) == 0 &&
            ::fstatat(folderFd, name.c_str(), &namedInfo, AT_SYMLINK_NOFOLLOW) == 0 &&
            sameFile(openInfo, namedInfo)) {
            ::unlinkat(folderFd, name.c_str(), 0);
        }
        ::close(own);
    } else {
        removeIfUnlocked(folderFd, name);
    }
    ::close(folderFd);
}

void sweepStaleScratchFiles(const std::string& runFolder) {
    const std::string folder = tempFolderOf(runFolder);
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) return;
    const int listFd = ::dup(folderFd);
    DIR* listing = listFd < 0 ? nullptr : ::fdopendir(listFd);
    if (listing == nullptr) {
        if (listFd >= 0) ::close(listFd);
        ::close(folderFd);
        return;
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(listing)) {
        if (isScratchName(entry->d_name)) names.emplace_back(entry->d_name);
    }
    ::closedir(listing);
    for (const std::string& name : names) removeIfUnlocked(folderFd, name);
    ::close(folderFd);
}

}  // namespace tcmap
