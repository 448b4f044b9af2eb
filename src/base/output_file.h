// Writing a picture or a report to a path the user names, whatever kind of
// path it is: a device or FIFO is written as a stream (so /dev/stdout and
// /dev/null work, and "-" means standard output), a symbolic link leads to
// its target, which is replaced, and only a regular file is ever replaced.
// Links are followed by the kernel, never by hand, and a link is not followed
// where the kernel's protected-link rule forbids it (a link another user made
// in a shared sticky folder), whether or not that rule is switched on here.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace tcmap {

enum class OutputKind {
    File,         // a regular file or none yet: replaced in one step
    Stream,       // a character device or FIFO: opened and written
    Descriptor,   // "-", /dev/stdout, /dev/fd/N: an open descriptor of this process
    Folder,       // refused
    BlockDevice,  // refused: a map is never written onto a disk
    PlantedLink,  // refused: a link the protected-link rule does not follow
    Unusable,     // a socket or anything else that takes no bytes
};

struct OutputTarget {
    OutputKind kind = OutputKind::File;
    // File: the file to replace, as the kernel found it (links resolved), or
    // the path as given when nothing is there yet; others: the path to open.
    std::string path;
    int descriptor = -1;
    bool danglingLink = false;  // File: a link whose target is to be created
};

OutputTarget resolveOutput(const std::string& path);

// Whether following the link `path` breaks the protected-link rule: it lies
// in a sticky folder anybody may write to, and neither the caller nor the
// folder's owner made it. False for anything that is not a link.
bool isPlantedLink(const std::string& path);

// How long opening a FIFO waits for a reader before the write fails with
// ENXIO. Set once at start-up; ten seconds unless set.
void setFifoWaitLimit(std::chrono::milliseconds limit);

// Writes `bytes` to the output at `path` as its kind requires. False with
// errno set on failure (EISDIR for a folder, ENXIO for a FIFO nobody reads,
// EPERM for a block device, EACCES for a planted link), and `*error` (when
// given) set to it; 0 on success.
bool writeOutputFile(const std::string& path, std::string_view bytes, int* error = nullptr);

// The reason a write to `path` failed with `error`, in words for a message.
std::string outputErrorText(const std::string& path, int error);

}  // namespace tcmap
