// Undo and redo on a 3840 x 2160 page, against a plain copy of the page: "vs_memcpy" is the
// mean thread CPU time of one step over the best memcpy time of this run. Recording packs on
// the history's worker: "record_vs_memcpy" is the wall time until the step is packed,
// "caller_vs_memcpy" what the recording thread itself spends. The stroke case
// reports the memory a hundred width-70 brush strokes keep in the history.
#include "paint/history.h"
#include "paint/pagebitmap.h"

#include "pagecopy.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <ctime>
#include <random>
#include <vector>

namespace {
using namespace pagecopy;

// A coloring page at 4K: a few thick outlines on white.
QImage linePage() {
    QImage img(kW, kH, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(QPen(Qt::black, 8));
    for (int i = 0; i < 6; ++i)
        p.drawEllipse(QPoint(500 + i * 560, 1080), 240, 700 - i * 60);
    p.drawLine(0, 1900, kW, 1900);
    return img;
}

// A fill of the page's background (most of the page), then undo and redo of it, timed apart.
void BM_UndoRedoFullPageFill(benchmark::State& state) {
    PageHistory history;
    PageBitmapCanvas canvas(linePage());
    history.begin(canvas.image);
    canvas.brush.color = clRed;
    history.touch(canvas.floodFill(5, 5, clWhite, FloodMode::Surface));
    QElapsedTimer wall;
    wall.start();
    history.end(canvas.image);
    history.settle();
    const double recorded = double(wall.nsecsElapsed()) * 1e-9;
    PageState page{std::move(canvas.image), {}, 1, {}};
    double undo = 0, redo = 0;
    int n = 0;
    for (auto _ : state) {
        double t0 = cpuSeconds();
        benchmark::DoNotOptimize(history.undo(page));
        undo += cpuSeconds() - t0;
        t0 = cpuSeconds();
        benchmark::DoNotOptimize(history.redo(page));
        redo += cpuSeconds() - t0;
        ++n;
    }
    state.counters["undo_vs_memcpy"] = undo / n / memcpySeconds();
    state.counters["redo_vs_memcpy"] = redo / n / memcpySeconds();
    state.counters["record_vs_memcpy"] = recorded / memcpySeconds();
    state.counters["step_KB"] = double(history.bytes()) / 1024;
}

// A textured fill of the page's background: the step that packs worst, since the texture
// differs from pixel to pixel. step_KB says how many such steps the budget holds.
void BM_TexturedFillStep(benchmark::State& state) {
    QImage tile(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            tile.setPixel(x, y,
                          (y % 8 == 0 || (x + (y / 8) * 8) % 16 == 0)
                              ? qRgb(200, 200, 200)
                              : qRgb(150 + (x * y) % 40, 60 + x * 3, 50 + y * 2));
    double total = 0, caller = 0;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        PageHistory history;
        PageBitmapCanvas canvas(linePage());
        history.begin(canvas.image);
        history.touch(canvas.floodFill(5, 5, clWhite, FloodMode::Surface, &tile));
        state.ResumeTiming();
        QElapsedTimer wall;
        wall.start();
        const double t0 = cpuSeconds();
        history.end(canvas.image);
        caller += cpuSeconds() - t0;
        history.settle();
        total += double(wall.nsecsElapsed()) * 1e-9;
        ++n;
        state.counters["step_KB"] = double(history.bytes()) / 1024;
    }
    state.counters["record_vs_memcpy"] = total / n / memcpySeconds();
    state.counters["caller_vs_memcpy"] = caller / n / memcpySeconds();
}

// A hundred scribbles of the widest brush, each one step.
void BM_BrushStrokesMemory(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        PageHistory history;
        PageBitmapCanvas canvas(linePage());
        std::mt19937 rng(7);
        std::uniform_int_distribution<int> x(0, kW - 1), y(0, kH - 1), c(0, 0xFFFFFF);
        state.ResumeTiming();
        double recording = 0;
        for (int s = 0; s < 100; ++s) {
            double t0 = cpuSeconds();
            history.begin(canvas.image);
            recording += cpuSeconds() - t0;
            canvas.pen = CanvasPen{TColor(c(rng)), 70, PenStyle::Solid};
            canvas.moveTo(x(rng), y(rng));
            for (int i = 0; i < 6; ++i)
                history.touch(canvas.lineTo(x(rng), y(rng)));
            t0 = cpuSeconds();
            history.end(canvas.image);
            recording += cpuSeconds() - t0;
        }
        state.counters["history_MB"] = double(history.bytes()) / (1 << 20);
        // What keeping a stroke costs the drawing thread, the first stroke's copy of the page
        // included; the packing runs on the history's worker.
        state.counters["record_vs_memcpy"] = recording / 100 / memcpySeconds();
        state.counters["steps"] = double(history.undoCount());
    }
}

// Another page over a painted one: the painted page is packed whole into the step.
void BM_RecordNewPage(benchmark::State& state) {
    PageBitmapCanvas canvas(linePage());
    canvas.brush.color = clRed;
    canvas.floodFill(5, 5, clWhite, FloodMode::Surface);
    const PageState shown{canvas.image, OutlineMask(linePage(), OutlineMask::Ink::Dark), 1, {}};
    double total = 0, caller = 0;
    int n = 0;
    for (auto _ : state) {
        PageHistory history;
        QElapsedTimer wall;
        wall.start();
        const double t0 = cpuSeconds();
        history.recordReplace(shown);
        caller += cpuSeconds() - t0;
        history.settle();
        total += double(wall.nsecsElapsed()) * 1e-9;
        ++n;
        state.counters["step_KB"] = double(history.bytes()) / 1024;
    }
    state.counters["vs_memcpy"] = total / n / memcpySeconds();
    state.counters["caller_vs_memcpy"] = caller / n / memcpySeconds();
}
} // namespace

BENCHMARK(pagecopy::BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoRedoFullPageFill)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_TexturedFillStep)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BrushStrokesMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_RecordNewPage)->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
