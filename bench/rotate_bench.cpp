// RotateBitmap on a 3840 x 2160 page against a plain copy of the same page. The report's
// "vs_memcpy" counter is each case's best time over the best memcpy time of this run, both
// in thread CPU time, so that other load on a shared machine weighs little.
#include "paint/rotate.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <vector>

namespace {
constexpr int kW = 3840, kH = 2160;
constexpr size_t kBytes = size_t(kW) * kH * 4;

QImage page() {
    QImage img(kW, kH, QImage::Format_RGB32);
    for (int y = 0; y < kH; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kW; ++x)
            row[x] = qRgb(x * 7, y * 3, (x ^ y));
    }
    return img;
}

double cpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// Best time of one copy of the page's bytes, measured once and shared by every case.
double memcpySeconds() {
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

void BM_Memcpy(benchmark::State& state) {
    std::vector<unsigned char> a(kBytes, 1), b(kBytes);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), kBytes);
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBytes));
}

void BM_Rotate(benchmark::State& state, double angle) {
    const QImage src = page();
    const double base = memcpySeconds();
    double best = 1e9;
    for (auto _ : state) {
        state.PauseTiming();
        QImage img = src.copy(); // every turn starts from the same page
        state.ResumeTiming();
        const double t0 = cpuSeconds();
        RotateBitmap(img, 0x00FFFFFF, angle);
        best = std::min(best, cpuSeconds() - t0);
        benchmark::DoNotOptimize(img.constBits());
    }
    state.counters["vs_memcpy"] = best / base;
}
} // namespace

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Rotate, half_turn_180, 180.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Rotate, quarter_turn_90, 90.0)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(BM_Rotate, general_minus180, -180.0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_Rotate, general_45, 45.0)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
