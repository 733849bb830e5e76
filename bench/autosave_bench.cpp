// The autosave's work on the window thread for one saved change of a 3840 x 2160 page,
// against a plain copy of the page. "vs_memcpy" is each case's mean window-thread CPU time
// per change over the best memcpy time of this run (thread CPU time, so that other load on a
// shared machine weighs little). The encoding and writing run on the writer's thread.
#include "share/autosave.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <thread>
#include <vector>

namespace {
constexpr int kW = 3840, kH = 2160;
constexpr size_t kBytes = size_t(kW) * kH * 4;

double cpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

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
}

// One change: hand the page to the writer, then the tool draws into it again. gapMs is the
// time until the next drawing step (a pointer move comes 8 ms or more later); with 0 the tool
// draws at once and pays for the copy itself while the writer still shares the pixels.
void BM_AutosaveChange(benchmark::State& state) {
    const int gapMs = int(state.range(0));
    QTemporaryDir dir;
    AutosaveWriter writer(dir.path() + QStringLiteral("/autosave.dat"));
    QImage pageImage(kW, kH, QImage::Format_RGB32);
    pageImage.fill(qRgb(255, 255, 255));
    double total = 0;
    int n = 0;
    for (auto _ : state) {
        double t0 = cpuSeconds();
        writer.submit({pageImage, QStringLiteral("page")});
        double spent = cpuSeconds() - t0;
        std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
        t0 = cpuSeconds();
        reinterpret_cast<QRgb*>(pageImage.scanLine(n % kH))[n % kW] = qRgb(0, 0, 255);
        spent += cpuSeconds() - t0;
        total += spent;
        ++n;
        state.PauseTiming();
        writer.flush(); // the next change finds the writer idle, as it is a second later
        state.ResumeTiming();
    }
    state.counters["vs_memcpy"] = total / n / memcpySeconds();
}

// One second of a brush stroke: 60 drawing steps 8 ms apart (the rest of the second is the
// tool's own), of which only the first hands the page over, as the once-a-second rule has it.
void BM_AutosaveStrokeSecond(benchmark::State& state) {
    QTemporaryDir dir;
    AutosaveWriter writer(dir.path() + QStringLiteral("/autosave.dat"));
    QImage pageImage(kW, kH, QImage::Format_RGB32);
    pageImage.fill(qRgb(255, 255, 255));
    double total = 0;
    int changes = 0;
    for (auto _ : state) {
        for (int i = 0; i < 60; ++i, ++changes) {
            const double t0 = cpuSeconds();
            reinterpret_cast<QRgb*>(pageImage.scanLine(changes % kH))[i] = qRgb(0, 0, 255);
            if (i == 0)
                writer.submit({pageImage, QStringLiteral("page")});
            total += cpuSeconds() - t0;
            std::this_thread::sleep_for(std::chrono::milliseconds(8));
        }
        state.PauseTiming();
        writer.flush();
        state.ResumeTiming();
    }
    state.counters["vs_memcpy"] = total / changes / memcpySeconds();
}
} // namespace

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutosaveChange)->Arg(8)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(8);
BENCHMARK(BM_AutosaveStrokeSecond)->Unit(benchmark::kMillisecond)->Iterations(4);

BENCHMARK_MAIN();
