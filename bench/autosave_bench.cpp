// The autosave's work on the window thread for one saved change of a 3840 x 2160 page,
// against a plain copy of the page. "vs_memcpy" is each case's mean window-thread CPU time
// per change over the best memcpy time of this run (thread CPU time, so that other load on a
// shared machine weighs little). The encoding and writing run on the writer's thread.
#include "share/autosave.h"

#include "pagecopy.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <thread>
#include <vector>

namespace {
using namespace pagecopy;

// A writer whose first save of a white page is done: what every case starts from.
struct Saved {
    Saved() {
        page.fill(qRgb(255, 255, 255));
        writer.submit(page, page.rect(), QStringLiteral("page"));
        writer.flush();
    }
    QTemporaryDir dir;
    AutosaveWriter writer{dir.path() + QStringLiteral("/autosave.dat")};
    QImage page{kW, kH, QImage::Format_RGB32};
};

// A brush step: a 70-pixel square drawn somewhere on the page; what it changed.
QRect brushStep(QImage& page, int n) {
    const QRect r((n * 97) % (kW - 70), (n * 53) % (kH - 70), 70, 70);
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::fill_n(reinterpret_cast<QRgb*>(page.scanLine(y)) + r.left(), 70, qRgb(0, 0, 255));
    return r;
}

// One saved change: the tool draws, the page goes to the writer. gapMs is the time until the
// next drawing step (a pointer move comes 8 ms or more later; 0: at once, the writer still
// busy with the last one). The first save of a page copies it whole, before the timing.
void BM_AutosaveChange(benchmark::State& state) {
    const int gapMs = int(state.range(0));
    Saved saved;
    AutosaveWriter& writer = saved.writer;
    QImage& pageImage = saved.page;
    double total = 0;
    int n = 0;
    for (auto _ : state) {
        const QRect changed = brushStep(pageImage, n);
        const double t0 = cpuSeconds();
        writer.submit(pageImage, changed, QStringLiteral("page"));
        total += cpuSeconds() - t0;
        ++n;
        std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
        if (gapMs > 0) {
            state.PauseTiming();
            writer.flush(); // the next change finds the writer idle, as it is a second later
            state.ResumeTiming();
        }
    }
    state.counters["vs_memcpy"] = total / n / memcpySeconds();
}

// One second of a brush stroke: 60 drawing steps 8 ms apart, of which only the first is
// saved, as the once-a-second rule has it; the saved rectangle is what the second changed.
void BM_AutosaveStrokeSecond(benchmark::State& state) {
    Saved saved;
    AutosaveWriter& writer = saved.writer;
    QImage& pageImage = saved.page;
    double total = 0;
    int changes = 0;
    QRegion unsaved;
    for (auto _ : state) {
        for (int i = 0; i < 60; ++i, ++changes) {
            unsaved |= brushStep(pageImage, changes);
            const double t0 = cpuSeconds();
            if (i == 0) {
                writer.submit(pageImage, unsaved, QStringLiteral("page"));
                unsaved = QRegion();
            }
            total += cpuSeconds() - t0;
            std::this_thread::sleep_for(std::chrono::milliseconds(8));
        }
        state.PauseTiming();
        writer.flush();
        state.ResumeTiming();
    }
    state.counters["vs_memcpy"] = total / changes / memcpySeconds();
}

// A new page: everything changed, so the whole page is copied once.
void BM_AutosaveNewPage(benchmark::State& state) {
    Saved saved;
    AutosaveWriter& writer = saved.writer;
    QImage& pageImage = saved.page;
    double total = 0;
    int n = 0;
    for (auto _ : state) {
        pageImage.fill(qRgb(n % 255, 255, 255));
        const double t0 = cpuSeconds();
        writer.submit(pageImage, pageImage.rect(), QStringLiteral("page"));
        total += cpuSeconds() - t0;
        ++n;
        state.PauseTiming();
        writer.flush();
        state.ResumeTiming();
    }
    state.counters["vs_memcpy"] = total / n / memcpySeconds();
}
} // namespace

BENCHMARK(pagecopy::BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutosaveChange)->Arg(8)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(48);
BENCHMARK(BM_AutosaveStrokeSecond)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_AutosaveNewPage)->Unit(benchmark::kMillisecond)->Iterations(4);

BENCHMARK_MAIN();
