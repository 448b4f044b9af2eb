// Writing a picture or a report to a path the user names, whatever kind of
// path it is: a device or FIFO is written as a stream (so /dev/stdout and
// /dev/null work, and "-" means standard output), a symbolic link leads to
// its target, which is replaced, and only a regular file is ever replaced.
#pragma once

#include <string>
#include <string_view>

namespace tcmap {

enum class OutputKind {
    File,        // a regular file or none yet: replaced in one step
    Stream,      // a device or FIFO: opened and written
    Descriptor,  // "-", /dev/stdout, /dev/fd/N: an open descriptor of this process
    Folder,      // refused
    Unusable,    // a socket or anything else that takes no bytes
};

struct OutputTarget {
    OutputKind kind = OutputKind::File;
    std::string path;  // File: the file to replace, links resolved; Stream: the path to open
    int descriptor = -1;
};

OutputTarget resolveOutput(const std::string& path);

// Writes `bytes` to the output at `path` as its kind requires. False with
// errno set on failure (EISDIR for a folder), and `*error` (when given) set
// to it; 0 on success.
bool writeOutputFile(const std::string& path, std::string_view bytes, int* error = nullptr);

}  // namespace tcmap
