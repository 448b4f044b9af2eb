// One run of the real executable of a private run folder as a child process
// the test can wait for, watch and kill: extra environment entries, standard
// output and error in files, and, for tests that need permissions to count
// when they run as root, a child without root's file-access override.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "support/child_wait.h"
#include "support/private_run_folder.h"

extern char** environ;

namespace tcmap::testing {

struct TcmapOptions {
    std::vector<std::string> environment;  // "NAME=value" entries added to the test's own
    std::string stdoutPath = "/dev/null";
    std::string stderrPath;  // required
    // Drop the capabilities that let root write anywhere, so permissions
    // count as they do for a plain user.
    bool withoutFileOverride = false;
};

// Exit status a child uses when it could not give up root's file override.
inline constexpr int kCannotDropOverride = 77;

class TcmapProcess {
  public:
    TcmapProcess(const PrivateRunFolder& run, const std::vector<std::string>& args,
                 const TcmapOptions& options)
        : stderrPath_(options.stderrPath) {
        std::vector<std::string> argv{run.executable()};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> argPointers;
        for (std::string& arg : argv) argPointers.push_back(arg.data());
        argPointers.push_back(nullptr);
        std::vector<std::string> env;
        for (char** entry = environ; *entry != nullptr; ++entry) env.emplace_back(*entry);
        env.insert(env.end(), options.environment.begin(), options.environment.end());
        std::vector<char*> envPointers;
        for (std::string& entry : env) envPointers.push_back(entry.data());
        envPointers.push_back(nullptr);

        pid_ = ::fork();
        if (pid_ < 0) {
            ADD_FAILURE() << "fork failed";
            return;
        }
        if (pid_ == 0) {
            // Only async-signal-safe calls from here on.
            const int in = ::open("/dev/null", O_RDONLY);
            const int out = ::open(options.stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int err = ::open(options.stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (in < 0 || out < 0 || err < 0) ::_exit(126);
            ::dup2(in, STDIN_FILENO);
            ::dup2(out, STDOUT_FILENO);
            ::dup2(err, STDERR_FILENO);
            if (options.withoutFileOverride && ::geteuid() == 0) {
                for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
                    if (::prctl(PR_CAPBSET_DROP, cap, 0, 0, 0) != 0) ::_exit(kCannotDropOverride);
                }
            }
            ::execve(argv[0].c_str(), argPointers.data(), envPointers.data());
            ::_exit(127);
        }
    }
    ~TcmapProcess() {
        if (pid_ > 0 && !finished_) {
            ::kill(pid_, SIGKILL);
            int status = 0;
            ::waitpid(pid_, &status, 0);
        }
    }
    TcmapProcess(const TcmapProcess&) = delete;
    TcmapProcess& operator=(const TcmapProcess&) = delete;

    // The exit code; -1 after a signal or when the limit passed (the child
    // is then killed).
    int wait(std::chrono::seconds limit = std::chrono::seconds(300)) {
        if (pid_ <= 0) return -1;
        if (!finished_) {
            if (!reapChild(pid_, status_, usage_, std::chrono::steady_clock::now() + limit)) {
                ::kill(pid_, SIGKILL);
                ::wait4(pid_, &status_, 0, &usage_);
                ADD_FAILURE() << "tcmap did not end in time";
            }
            finished_ = true;
        }
        return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
    }

    // Waits until standard error holds `text`; false when the process ended
    // first or the limit passed.
    bool waitForError(const std::string& text,
                      std::chrono::seconds limit = std::chrono::seconds(120)) {
        if (pid_ <= 0) return false;
        const auto holds = [&] { return err().find(text) != std::string::npos; };
        if (finished_) return holds();
        bool reaped = false;
        const bool found = waitForFileCondition(stderrPath_, holds, pid_, status_, usage_, reaped,
                                                std::chrono::steady_clock::now() + limit);
        if (reaped) finished_ = true;
        return found;
    }

    void kill(int signal) {
        if (pid_ > 0 && !finished_) ::kill(pid_, signal);
    }

    std::string err() const { return readFileOrEmpty(stderrPath_); }

    // The most memory the process held at once, in kilobytes, once it ended.
    long peakKilobytes() const { return usage_.ru_maxrss; }

  private:
    pid_t pid_ = -1;
    int status_ = 0;
    bool finished_ = false;
    struct rusage usage_ {};
    std::string stderrPath_;
};

}  // namespace tcmap::testing
