#include "base/replacing_write.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <vector>

#include "base/file_io.h"
#include "base/kill_test_hooks.h"
#include "base/locked_file.h"

namespace tcmap {

namespace {

// Temporary names: "." + the file's name + ".tcmap-" + a process-unique part
// + ".part". The name part is cut so the whole stays within NAME_MAX.
constexpr size_t kNameKept = 200;
constexpr std::string_view kPartMark = ".tcmap-";
constexpr std::string_view kPartSuffix = ".part";
constexpr int kNameAttempts = 64;
constexpr mode_t kNewFileMode = 0644;

std::atomic<unsigned> partCounter{0};

std::string prefixOf(std::string_view name) {
    return "." + std::string(name.substr(0, kNameKept)) + std::string(kPartMark);
}

// Errors of an O_TMPFILE open that mean "not here", not "cannot write here".
bool unnamedFilesUnsupported(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

// Gives the unnamed file `fd` the name `part` in the folder.
bool linkUnnamed(int fd, int folderFd, const std::string& part) {
    if (::linkat(fd, "", folderFd, part.c_str(), AT_EMPTY_PATH) == 0) return true;
    if (errno == EEXIST) return false;
    // Without the capability AT_EMPTY_PATH needs, through /proc.
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), folderFd, part.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

}  // namespace

bool isLeftoverOf(std::string_view entry, std::string_view name) {
    const std::string prefix = prefixOf(name);
    return entry.size() > prefix.size() + kPartSuffix.size() &&
           entry.substr(0, prefix.size()) == prefix &&
           entry.substr(entry.size() - kPartSuffix.size()) == kPartSuffix;
}

ReplacingWrite::ReplacingWrite(int folderFd, std::string name)
    : folderFd_(folderFd), name_(std::move(name)) {}

std::string ReplacingWrite::partPrefix() const {
    return prefixOf(name_);
}

std::string ReplacingWrite::freshPartName() {
    char unique[48];
    std::snprintf(unique, sizeof unique, "%lx-%x", static_cast<long>(::getpid()),
                  partCounter.fetch_add(1));
    return partPrefix() + unique + std::string(kPartSuffix);
}

void ReplacingWrite::sweepLeftovers() const {
    const int listFd = ::openat(folderFd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0) return;
    DIR* folder = ::fdopendir(listFd);
    if (folder == nullptr) {
        ::close(listFd);
        return;
    }
    std::vector<std::string> leftovers;
    while (const dirent* entry = ::readdir(folder)) {
        if (isLeftoverOf(entry->d_name, name_)) leftovers.emplace_back(entry->d_name);
    }
    ::closedir(folder);
    for (const std::string& leftover : leftovers) removeIfUnlocked(folderFd_, leftover);
}

bool ReplacingWrite::run(std::string_view bytes) {
    if (killTestForbidsUnnamedFiles()) return runNamed(bytes);
    return runUnnamed(bytes);
}

// The new file takes the old one's permissions (and, for root, its owner),
// then its bytes reach the disk.
bool ReplacingWrite::fill(int fd, std::string_view bytes) const {
    if (!writeToDescriptor(fd, bytes)) return false;
    struct stat old {};
    if (::fstatat(folderFd_, name_.c_str(), &old, 0) == 0 && S_ISREG(old.st_mode)) {
        if (::geteuid() == 0) ::fchown(fd, old.st_uid, old.st_gid);
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        ::fchmod(fd, kNewFileMode);
    }
    return ::fsync(fd) == 0;
}

bool ReplacingWrite::runUnnamed(std::string_view bytes) {
    const int fd = ::openat(folderFd_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) return unnamedFilesUnsupported(errno) ? runNamed(bytes) : false;
    // Locked before it has a name, so the name it gets is never taken for a
    // leftover while this process lives.
    ::flock(fd, LOCK_EX);
    holdWriteForKillTest("created", name_);
    if (!fill(fd, bytes)) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return false;
    }
    holdWriteForKillTest("written", name_);

    std::string part;
    bool linked = false;
    for (int attempt = 0; attempt < kNameAttempts && !linked; ++attempt) {
        part = freshPartName();
        linked = linkUnnamed(fd, folderFd_, part);
        if (!linked && errno != EEXIST) break;
    }
    if (!linked) {
        // No way to name an unnamed file here (no /proc): the named route.
        ::close(fd);
        return runNamed(bytes);
    }
    holdWriteForKillTest("linked", name_);
    const bool renamed = ::renameat(folderFd_, part.c_str(), folderFd_, name_.c_str()) == 0;
    const int error = errno;
    if (!renamed) ::unlinkat(folderFd_, part.c_str(), 0);
    ::close(fd);
    errno = error;
    return renamed;
}

bool ReplacingWrite::runNamed(std::string_view bytes) {
    std::string part;
    int fd = -1;
    for (int attempt = 0; attempt < kNameAttempts && fd < 0; ++attempt) {
        part = freshPartName();
        fd = createLockedFile(folderFd_, part, 0600);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    holdWriteForKillTest("created", name_);
    bool ok = fill(fd, bytes);
    if (ok) {
        holdWriteForKillTest("written", name_);
        ok = ::renameat(folderFd_, part.c_str(), folderFd_, name_.c_str()) == 0;
    }
    const int error = errno;
    // Removed while still locked, so no clean-up sees it unowned.
    if (!ok) ::unlinkat(folderFd_, part.c_str(), 0);
    ::close(fd);
    errno = error;
    return ok;
}

}  // namespace tcmap
