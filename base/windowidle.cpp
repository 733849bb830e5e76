#include "base/windowidle.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {
std::atomic<bool> enabled{false};
std::atomic<std::uint64_t> idles{0};
std::atomic<int> waiters{0};
std::mutex m;
std::condition_variable cv;
} // namespace

namespace windowidle {
void enable(bool on) {
    enabled = on;
}

void markIdle() {
    idles.fetch_add(1);
    // Called whenever the window's loop goes to sleep: the lock only when someone waits.
    if (waiters.load() > 0) {
        const std::lock_guard l(m);
        cv.notify_all();
    }
}

std::uint64_t ticket() {
    return idles.load();
}

void waitAfter(std::uint64_t ticket, int maxMs) {
    if (!enabled.load() || idles.load() > ticket)
        return;
    waiters.fetch_add(1);
    {
        std::unique_lock l(m);
        cv.wait_for(l, std::chrono::milliseconds(maxMs), [&] { return idles.load() > ticket; });
    }
    waiters.fetch_sub(1);
}
} // namespace windowidle
