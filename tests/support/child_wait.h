// Waiting for a child process, or for a file it writes, without polling on a
// timer: a pidfd becomes readable when the child ends and inotify reports each
// write, so a test wakes on the event itself, however loaded the machine is.
// The deadline only bounds a run that hangs.
#pragma once

#include <poll.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>

namespace tcmap::testing {

using Deadline = std::chrono::steady_clock::time_point;

namespace detail {

inline int millisecondsUntil(Deadline deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return int(std::clamp<long long>(left.count(), 0, 60'000));
}

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd = -1;
    explicit Descriptor(int value) : fd(value) {}
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
};

}  // namespace detail

// Reaps `pid` once it ends, filling `status` and `usage`; false when the
// deadline passed first (the child is left running). Without pidfds the
// wait simply blocks: ctest's own timeout still bounds the run.
inline bool reapChild(pid_t pid, int& status, struct rusage& usage, Deadline deadline) {
    const detail::Descriptor pidfd(int(::syscall(SYS_pidfd_open, pid, 0)));
    if (pidfd.fd < 0) return ::wait4(pid, &status, 0, &usage) == pid;
    while (true) {
        const pid_t reaped = ::wait4(pid, &status, WNOHANG, &usage);
        if (reaped == pid) return true;
        if (reaped < 0) return false;
        const int wait = detail::millisecondsUntil(deadline);
        if (wait == 0) return false;
        pollfd ready{pidfd.fd, POLLIN, 0};
        ::poll(&ready, 1, wait);
    }
}

// Waits until `holds()` is true of the file at `path`, checking it after each
// write to it; false when `pid` ended without it (status and usage filled,
// `reaped` set) or the deadline passed.
inline bool waitForFileCondition(const std::string& path, const std::function<bool()>& holds,
                                 pid_t pid, int& status, struct rusage& usage, bool& reaped,
                                 Deadline deadline) {
    // The folder is watched, not the file, so that a file the child has not
    // created yet is covered too.
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const detail::Descriptor watch(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    if (watch.fd >= 0)
        ::inotify_add_watch(watch.fd, folder.c_str(), IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE);
    const detail::Descriptor pidfd(int(::syscall(SYS_pidfd_open, pid, 0)));
    while (true) {
        if (holds()) return true;
        if (::wait4(pid, &status, WNOHANG, &usage) == pid) {
            reaped = true;
            return holds();
        }
        const int wait = detail::millisecondsUntil(deadline);
        if (wait == 0) return false;
        pollfd ready[2] = {{watch.fd, POLLIN, 0}, {pidfd.fd, POLLIN, 0}};
        ::poll(ready, 2, wait);
        if (ready[0].revents & POLLIN) {
            char events[4096];
            while (::read(watch.fd, events, sizeof events) > 0) {
            }
        }
    }
}

}  // namespace tcmap::testing
