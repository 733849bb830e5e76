#pragma once
// Page-sized work a tap hands to another thread (packing its undo step, writing the picture it
// left) waits until the window has shown the tap: on two cores such a job beside the page's
// repaint made the repaint twice as slow. The window's thread says when it has nothing left
// to do; a worker gives up waiting after a moment, so nothing is held up for long.
//
// A long job already under way (the autosave of a 4K page takes a few hundred milliseconds)
// steps aside the same way while the window works on a child's next tap.
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace windowidle {
// From now on workers wait (the window turns it on once its thread runs an event loop, and
// from that thread).
void enable(bool on = true);
// On the window's thread: everything asked of it is done, or it is about to wait for a
// worker itself.
void markIdle();
// On the window's thread: a child's press or key has come, and the window is at work on it
// until it marks itself idle.
void markBusy();
// Taken as the work is handed over.
std::uint64_t ticket();
// Waits until the window has been idle since the ticket was taken, at most maxMs.
void waitAfter(std::uint64_t ticket, int maxMs = 100);
// Between two pieces of a long job on a worker: while the window is at work on a child's
// input, waits until it is done, and never longer than kBusyAtMostMs after the input came (a
// window busy longer is at work the job need not make way for). Never waits on the window's
// own thread.
void stepAside();
inline constexpr int kBusyAtMostMs = 200;
// On the window's thread, holding a worker's lock: waits on cv until done(). Where there is
// something to wait for, the window is marked idle first, so that the worker does not step
// aside for it in turn; where there is nothing, it stays busy with its tap.
template <class Done>
void waitForWorker(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, Done done) {
    if (done())
        return;
    lock.unlock();
    markIdle();
    lock.lock();
    cv.wait(lock, done);
}
// How many workers wait in stepAside() now, and how many of its waits ran out of time (the
// window never said it was idle, as when it waited for the worker without saying so).
int steppingAside();
std::uint64_t timeouts();
} // namespace windowidle
