#pragma once
// The baseline every page benchmark is measured against: one plain copy of a 3840 x 2160
// page, in thread CPU time so that other load on a shared machine weighs little.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <vector>

namespace pagecopy {
constexpr int kW = 3840, kH = 2160;
constexpr std::size_t kBytes = std::size_t(kW) * kH * 4;

inline double cpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// Best time of one copy of the page's bytes, measured once and shared by every case.
inline double memcpySeconds() {
    static const double seconds = [] {
        std::vector<unsigned char> a(kBytes, 1), b(kBytes);
        double best = 1e9;
        for (int i = 0; i < 15; ++i) {
            const double t0 = cpuSeconds();
            std::memcpy(b.data(), a.data(), kBytes);
            benchmark::DoNotOptimize(b.data());
            benchmark::ClobberMemory();
            best = std::min(best, cpuSeconds() - t0);
        }
        return best;
    }();
    return seconds;
}

inline void BM_Memcpy(benchmark::State& state) {
    std::vector<unsigned char> a(kBytes, 1), b(kBytes);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), kBytes);
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBytes));
}
} // namespace pagecopy
