#pragma once
// Page-sized work a tap hands to another thread (packing its undo step, writing the picture it
// left) waits until the window has shown the tap: on two cores such a job beside the page's
// repaint made the repaint twice as slow. The window's thread says when it has nothing left
// to do; a worker gives up waiting after a moment, so nothing is held up for long.
#include <cstdint>

namespace windowidle {
// From now on workers wait (the window turns it on once its thread runs an event loop).
void enable(bool on = true);
// On the window's thread: everything asked of it is done, or it is about to wait for a
// worker itself.
void markIdle();
// Taken as the work is handed over.
std::uint64_t ticket();
// Waits until the window has been idle since the ticket was taken, at most maxMs.
void waitAfter(std::uint64_t ticket, int maxMs = 100);
} // namespace windowidle
