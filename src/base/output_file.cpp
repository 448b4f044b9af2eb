#include "base/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <optional>

#include "base/file_io.h"

namespace tcmap {

namespace {

constexpr int kLinkHops = 40;  // the kernel's own limit
constexpr std::string_view kDescriptorFolders[] = {"/proc/self/fd/", "/dev/fd/"};

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

std::optional<std::string> linkText(const std::string& path) {
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), buffer, sizeof buffer);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof buffer) return std::nullopt;
    return std::string(buffer, static_cast<size_t>(length));
}

bool writeStream(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = writeToDescriptor(fd, bytes);
    const int error = errno;
    if (::close(fd) != 0 && ok) return false;
    errno = error;
    return ok;
}

bool writeTarget(const OutputTarget& target, std::string_view bytes) {
    switch (target.kind) {
        case OutputKind::File:
            return writeFileAtomically(target.path, bytes);
        case OutputKind::Stream:
            return writeStream(target.path, bytes);
        case OutputKind::Descriptor:
            return writeToDescriptor(target.descriptor, bytes);
        case OutputKind::Folder:
            errno = EISDIR;
            return false;
        case OutputKind::Unusable:
            break;
    }
    errno = ENXIO;
    return false;
}

}  // namespace

OutputTarget resolveOutput(const std::string& path) {
    if (path == "-") return {OutputKind::Descriptor, path, STDOUT_FILENO};
    // Links are followed by hand so the file replaced is the final target
    // (a dangling link's target is created), and a link into the descriptor
    // folders (/dev/stdout) means that descriptor.
    std::string current = path;
    for (int hop = 0; hop < kLinkHops; ++hop) {
        if (const std::optional<int> fd = descriptorOf(current)) {
            return {OutputKind::Descriptor, current, *fd};
        }
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) break;
        const std::optional<std::string> target = linkText(current);
        if (!target) break;
        if (target->front() == '/') {
            current = *target;
        } else {
            const size_t slash = current.rfind('/');
            current = slash == std::string::npos ? *target : current.substr(0, slash + 1) + *target;
        }
    }
    struct stat info {};
    // Missing (or not reachable): a file to create; the write says why not.
    if (::stat(current.c_str(), &info) != 0 || S_ISREG(info.st_mode)) {
        return {OutputKind::File, current};
    }
    if (S_ISDIR(info.st_mode)) return {OutputKind::Folder, current};
    if (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) {
        return {OutputKind::Stream, current};
    }
    return {OutputKind::Unusable, current};
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

}  // namespace tcmap
