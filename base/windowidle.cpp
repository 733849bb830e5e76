#include "base/windowidle.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {
std::atomic<bool> enabled{false};
using Clock = std::chrono::steady_clock;
std::atomic<Clock::rep> busySince{0}; // when the input came, 0 while idle
std::atomic<int> aside{0};
std::atomic<std::uint64_t> idles{0};
std::atomic<std::uint64_t> timedOut{0};
std::atomic<int> waiters{0};
std::atomic<std::thread::id> windowThread{};
std::mutex m;
std::condition_variable cv;
} // namespace

namespace windowidle {
void enable(bool on) {
    if (on)
        windowThread = std::this_thread::get_id();
    else
        busySince = 0;
    enabled = on;
}

void markIdle() {
    busySince = 0;
    idles.fetch_add(1);
    // Called whenever the window's loop goes to sleep: the lock only when someone waits.
    if (waiters.load() > 0) {
        const std::lock_guard l(m);
        cv.notify_all();
    }
}

void markBusy() {
    busySince = std::max<Clock::rep>(Clock::now().time_since_epoch().count(), 1);
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

void stepAside() {
    // The ticket before the time: an idle mark between the two ends the wait at once.
    const std::uint64_t t = idles.load();
    const Clock::rep since = busySince.load();
    if (!enabled.load() || since == 0 || std::this_thread::get_id() == windowThread.load())
        return;
    const auto until =
        Clock::time_point(Clock::duration(since)) + std::chrono::milliseconds(kBusyAtMostMs);
    if (Clock::now() >= until)
        return; // busy this long: at work the job need not make way for
    aside.fetch_add(1);
    waiters.fetch_add(1);
    {
        std::unique_lock l(m);
        if (!cv.wait_until(l, until, [&] { return idles.load() > t; }))
            timedOut.fetch_add(1);
    }
    waiters.fetch_sub(1);
    aside.fetch_sub(1);
}

int steppingAside() {
    return aside.load();
}

std::uint64_t timeouts() {
    return timedOut.load();
}
} // namespace windowidle
