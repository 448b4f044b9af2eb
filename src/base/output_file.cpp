#include "base/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <optional>
#include <thread>

#include "base/file_io.h"

namespace tcmap {

namespace {

constexpr std::string_view kDescriptorFolders[] = {"/proc/self/fd/", "/dev/fd/"};
constexpr auto kFifoRetry = std::chrono::milliseconds(20);
std::atomic<long long> fifoWaitMs{10000};

// The descriptor a path such as /dev/fd/1 or /proc/self/fd/1 names.
std::optional<int> descriptorOf(std::string_view path) {
    for (std::string_view folder : kDescriptorFolders) {
        if (path.substr(0, folder.size()) != folder) continue;
        const std::string_view digits = path.substr(folder.size());
        if (digits.empty() || digits.size() > 9 ||
            digits.find_first_not_of("0123456789") != std::string_view::npos) {
            return std::nullopt;
        }
        return std::stoi(std::string(digits));
    }
    return std::nullopt;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The path the kernel knows the open file `fd` by: every link resolved.
std::optional<std::string> pathOfDescriptor(int fd) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink(self.c_str(), buffer, sizeof buffer);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof buffer || buffer[0] != '/') {
        return std::nullopt;
    }
    return std::string(buffer, static_cast<size_t>(length));
}

// A link such as /dev/stdout that leads to a file this process already has
// open as standard output or error: that descriptor.
std::optional<int> standardDescriptorBehind(const struct stat& target) {
    for (int fd : {STDOUT_FILENO, STDERR_FILENO}) {
        struct stat info {};
        if (::fstat(fd, &info) == 0 && sameFile(info, target)) return fd;
    }
    return std::nullopt;
}

OutputTarget classify(const std::string& path, int fd, bool isLink) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) return {OutputKind::File, path};
    if (isLink) {
        if (const std::optional<int> standard = standardDescriptorBehind(info)) {
            return {OutputKind::Descriptor, path, *standard};
        }
    }
    if (S_ISREG(info.st_mode)) {
        const std::optional<std::string> found = pathOfDescriptor(fd);
        return {OutputKind::File, found ? *found : path};
    }
    if (S_ISDIR(info.st_mode)) return {OutputKind::Folder, path};
    if (S_ISBLK(info.st_mode)) return {OutputKind::BlockDevice, path};
    if (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)) return {OutputKind::Stream, path};
    return {OutputKind::Unusable, path};
}

// Opens a FIFO or device without blocking, so a FIFO without a reader is
// tried again until the wait limit instead of hanging the run; the stream is
// then switched back to blocking writes.
int openStream(const std::string& path) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(fifoWaitMs.load());
    for (;;) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
        if (fd >= 0) {
            struct stat info {};
            if (::fstat(fd, &info) != 0 || !(S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode))) {
                // Swapped for something else since it was looked at.
                ::close(fd);
                errno = EPERM;
                return -1;
            }
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            return fd;
        }
        if (errno == EINTR) continue;
        if (errno != ENXIO || std::chrono::steady_clock::now() >= deadline) return -1;
        std::this_thread::sleep_for(kFifoRetry);
    }
}

bool writeStream(const std::string& path, std::string_view bytes) {
    const int fd = openStream(path);
    if (fd < 0) return false;
    const bool ok = writeToDescriptor(fd, bytes);
    const int error = errno;
    if (::close(fd) != 0 && ok) return false;
    errno = error;
    return ok;
}

// A dangling link: the kernel creates its target (as it would for any
// program opening the link), and the replacing write then takes its name.
bool writeThroughDanglingLink(const std::string& path, std::string_view bytes) {
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_NOCTTY | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0) return false;
    struct stat info {};
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const std::optional<std::string> created = pathOfDescriptor(fd);
    ::close(fd);
    if (!regular || !created) {
        errno = EPERM;
        return false;
    }
    return writeFileAtomically(*created, bytes);
}

bool writeTarget(const OutputTarget& target, std::string_view bytes) {
    switch (target.kind) {
        case OutputKind::File:
            if (target.danglingLink) return writeThroughDanglingLink(target.path, bytes);
            return writeFileAtomically(target.path, bytes);
        case OutputKind::Stream:
            return writeStream(target.path, bytes);
        case OutputKind::Descriptor:
            return writeToDescriptor(target.descriptor, bytes);
        case OutputKind::Folder:
            errno = EISDIR;
            return false;
        case OutputKind::BlockDevice:
            errno = EPERM;
            return false;
        case OutputKind::PlantedLink:
            errno = EACCES;
            return false;
        case OutputKind::Unusable:
            break;
    }
    errno = ENXIO;
    return false;
}

}  // namespace

bool isPlantedLink(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return false;
    std::string folder = folderOf(path);
    if (folder.empty()) folder = path.starts_with('/') ? "/" : ".";
    struct stat parent {};
    if (::stat(folder.c_str(), &parent) != 0) return true;
    const bool shared = (parent.st_mode & S_ISVTX) != 0 && (parent.st_mode & S_IWOTH) != 0;
    return shared && link.st_uid != ::geteuid() && link.st_uid != parent.st_uid;
}

void setFifoWaitLimit(std::chrono::milliseconds limit) {
    fifoWaitMs.store(limit.count());
}

OutputTarget resolveOutput(const std::string& path) {
    if (path == "-") return {OutputKind::Descriptor, path, STDOUT_FILENO};
    if (const std::optional<int> fd = descriptorOf(path)) {
        return {OutputKind::Descriptor, path, *fd};
    }
    if (isPlantedLink(path)) return {OutputKind::PlantedLink, path};
    struct stat own {};
    const bool isLink = ::lstat(path.c_str(), &own) == 0 && S_ISLNK(own.st_mode);
    // O_PATH lets the kernel follow the links and open even a FIFO without
    // waiting for it; nothing is read or written through it.
    const int fd = ::open(path.c_str(), O_PATH | O_CLOEXEC);
    if (fd < 0) {
        // Missing (or not reachable): a file to create; the write says why not.
        OutputTarget target{OutputKind::File, path};
        target.danglingLink = isLink && errno == ENOENT;
        return target;
    }
    const OutputTarget target = classify(path, fd, isLink);
    ::close(fd);
    return target;
}

bool writeOutputFile(const std::string& path, std::string_view bytes, int* error) {
    bool ok = false;
    if (path.empty()) {
        errno = ENOENT;
    } else {
        ok = writeTarget(resolveOutput(path), bytes);
    }
    if (error != nullptr) *error = ok ? 0 : errno;
    return ok;
}

std::string outputErrorText(const std::string& path, int error) {
    struct stat info {};
    if (error == ENXIO && ::stat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode)) {
        return "no process reads the FIFO (waited " + std::to_string(fifoWaitMs.load()) + " ms)";
    }
    return std::strerror(error);
}

}  // namespace tcmap
