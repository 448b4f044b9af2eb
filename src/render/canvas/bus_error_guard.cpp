#include "render/canvas/bus_error_guard.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <mutex>

namespace tcmap {

namespace {

constexpr int kSlots = 64;

struct GuardedRange {
    std::atomic<uintptr_t> begin{0};
    std::atomic<uintptr_t> end{0};
    std::atomic<bool> damaged{false};
};

GuardedRange ranges[kSlots];
struct sigaction previousAction {};
std::once_flag installed;

void passOn(int signal, siginfo_t* info, void* context) {
    if ((previousAction.sa_flags & SA_SIGINFO) != 0 && previousAction.sa_sigaction != nullptr) {
        previousAction.sa_sigaction(signal, info, context);
        return;
    }
    if (previousAction.sa_handler != SIG_DFL && previousAction.sa_handler != SIG_IGN) {
        previousAction.sa_handler(signal);
        return;
    }
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

// Only lock-free atomics and mmap (a plain system call) in here.
void onBusError(int signal, siginfo_t* info, void* context) {
    const auto address = reinterpret_cast<uintptr_t>(info->si_addr);
    const uintptr_t pageMask = ~(uintptr_t(::sysconf(_SC_PAGESIZE)) - 1);
    for (GuardedRange& range : ranges) {
        const uintptr_t begin = range.begin.load();
        const uintptr_t end = range.end.load();
        if (begin == 0 || address < begin || address >= end) continue;
        const uintptr_t page = address & pageMask;
        // Zero pages from here to the end: the rest of the file is gone too.
        void* replaced = ::mmap(reinterpret_cast<void*>(page), end - page, PROT_READ | PROT_WRITE,
                                MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
        range.damaged.store(true);
        if (replaced != MAP_FAILED) return;
    }
    passOn(signal, info, context);
}

void installHandler() {
    struct sigaction action {};
    action.sa_sigaction = onBusError;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_SIGINFO | SA_RESTART;
    ::sigaction(SIGBUS, &action, &previousAction);
}

}  // namespace

int guardMappedRange(void* begin, size_t length) {
    std::call_once(installed, installHandler);
    const auto start = reinterpret_cast<uintptr_t>(begin);
    for (int slot = 0; slot < kSlots; ++slot) {
        uintptr_t free = 0;
        if (!ranges[slot].begin.compare_exchange_strong(free, start)) continue;
        ranges[slot].damaged.store(false);
        ranges[slot].end.store(start + length);
        return slot;
    }
    return -1;
}

bool guardedRangeDamaged(int slot) {
    return slot >= 0 && slot < kSlots && ranges[slot].damaged.load();
}

void unguardMappedRange(int slot) {
    if (slot < 0 || slot >= kSlots) return;
    ranges[slot].end.store(0);
    ranges[slot].begin.store(0);
}

}  // namespace tcmap
