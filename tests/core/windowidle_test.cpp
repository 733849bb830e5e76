// A long job on a worker makes way for the window while it works on a child's tap, and never
// longer than that.
#include "base/windowidle.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {
// Polls until the worker waits in stepAside(), at most a few seconds.
bool workerStepsAside() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (windowidle::steppingAside() == 0 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return windowidle::steppingAside() > 0;
}
} // namespace

TEST(WindowIdle, AWorkerStepsAsideWhileTheWindowWorksOnATapAndNoLonger) {
    windowidle::enable(true); // this thread is the window's
    const std::uint64_t timeouts = windowidle::timeouts();

    // Idle window: the worker goes on at once.
    std::thread([] { windowidle::stepAside(); }).join();
    EXPECT_EQ(windowidle::timeouts(), timeouts);

    // A tap: the worker waits until the window has shown it.
    windowidle::markBusy();
    std::atomic<bool> past{false};
    std::thread worker([&] {
        windowidle::stepAside();
        past = true;
    });
    ASSERT_TRUE(workerStepsAside());
    EXPECT_FALSE(past.load());
    windowidle::markIdle();
    worker.join();
    EXPECT_TRUE(past.load());
    EXPECT_EQ(windowidle::timeouts(), timeouts);

    // The window's own thread never waits for itself.
    windowidle::markBusy();
    windowidle::stepAside();
    EXPECT_EQ(windowidle::timeouts(), timeouts);

    // A window that never says it is done holds a worker up for a moment only, and once.
    std::thread([] {
        windowidle::stepAside();
        windowidle::stepAside();
    }).join();
    EXPECT_EQ(windowidle::timeouts(), timeouts + 1);
    windowidle::enable(false);
}
