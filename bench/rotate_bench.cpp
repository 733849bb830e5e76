// RotateBitmap on a 3840 x 2160 page against a plain copy of the same page. The report's
// "vs_memcpy" counter is each case's best time over the best memcpy time of this run, both
// in thread CPU time, so that other load on a shared machine weighs little.
#include "paint/rotate.h"

#include "pagecopy.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <vector>

namespace {
using namespace pagecopy;

QImage page() {
    QImage img(kW, kH, QImage::Format_RGB32);
    for (int y = 0; y < kH; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kW; ++x)
            row[x] = qRgb(x * 7, y * 3, (x ^ y));
    }
    return img;
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

BENCHMARK(pagecopy::BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Rotate, half_turn_180, 180.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Rotate, quarter_turn_90, 90.0)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(BM_Rotate, general_minus180, -180.0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_Rotate, general_45, 45.0)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
