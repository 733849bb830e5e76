// What a child waits for: from a real mouse event sent to the window to the end of the repaint
// that shows the change, on a 3840 x 2160 drawing area under the offscreen platform. Times are
// wall time (the child waits in wall time): "ms" is the median tap, "vs_memcpy" the median
// over the best wall time of one plain copy of the page in this run. Between two taps the window is
// left idle until the history has packed its steps, as it is between a child's taps.
// PICTARO_BENCH_IDLE_MS=<ms> leaves the window idle that long once it is built, as a child
// looks at the page before the first tap: on a virtual machine that hands freed memory back
// to its host meanwhile, memory touched afresh after the pause costs far more.
#include "app/application.h"
#include "app/widgets.h"
#include "library/picturestore.h"
#include "support/fakes.h"

#include "pagecopy.h"
#include "quietqt.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {
using namespace pagecopy;
using Clock = std::chrono::steady_clock;

double wallMemcpySeconds() {
    static const double seconds = [] {
        std::vector<unsigned char> a(kBytes, 1), b(kBytes);
        double best = 1e9;
        for (int i = 0; i < 15; ++i) {
            const auto t0 = Clock::now();
            std::memcpy(b.data(), a.data(), kBytes);
            benchmark::DoNotOptimize(b.data());
            benchmark::ClobberMemory();
            best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
        }
        return best;
    }();
    return seconds;
}

// A coloring page as big as the area: thick outlines on white, so that a fill of the
// background covers most of the page.
QImage linePage(int variant) {
    QImage img(kW, kH, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(QPen(Qt::black, 8));
    for (int i = 0; i < 6; ++i)
        p.drawEllipse(QPoint(500 + i * 560, 1080), 240, 700 - i * 60 - variant * 20);
    p.drawLine(0, 1900, kW, 1900);
    return img;
}

// One window for the whole run: building it at 4K costs seconds.
struct Window {
    Window() {
        h.dataFolder = h.dir.path() + QStringLiteral("/data"); // the autosave runs as it does
        h.picturesFolder = h.dir.path() + QStringLiteral("/pictures"); // and "My pictures"
        h.addArchive("book.pak",
                     {{"one.bmp", bmpBytes(linePage(0))}, {"two.bmp", bmpBytes(linePage(1))}});
        f = &h.make(true, QSize(kW, kH));
        if (const int idle = qEnvironmentVariableIntValue("PICTARO_BENCH_IDLE_MS"); idle > 0)
            QTest::qWait(idle);
    }
    void click(QToolButton* b) {
        QTest::mouseClick(b, Qt::LeftButton);
        settle();
    }
    // Idle until every step is packed, as between two taps.
    void settle() {
        QApplication::processEvents();
        benchmark::DoNotOptimize(probe::session(*f).history().bytes());
    }
    Harness h;
    MainWindow* f = nullptr;
};

std::unique_ptr<Window> theWindow;
Window& window() {
    if (!theWindow)
        theWindow = std::make_unique<Window>();
    return *theWindow;
}

// Times `act` (events sent, then every repaint they asked for done) over the iterations.
void timeIt(benchmark::State& state, const std::function<void()>& prepare,
            const std::function<void()>& act) {
    Window& w = window();
    if (!probe::session(*w.f).canvas() ||
        probe::session(*w.f).canvas()->image.size() != QSize(kW, kH)) {
        state.SkipWithError("the drawing area is not 3840 x 2160");
        return;
    }
    std::vector<double> times;
    for (auto _ : state) {
        prepare();
        w.settle();
        const auto t0 = Clock::now();
        act();
        QApplication::processEvents(); // the repaint of what changed
        const double s = std::chrono::duration<double>(Clock::now() - t0).count();
        state.SetIterationTime(s);
        times.push_back(s);
        w.settle();
    }
    // The median: one tap that meets a busy machine says little.
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    state.counters["ms"] = median * 1e3;
    state.counters["worst_ms"] = times.back() * 1e3;
    state.counters["vs_memcpy"] = median / wallMemcpySeconds();
}

// Two colors in turn, so that every fill changes the page.
TColor nextColor() {
    static bool red = false;
    red = !red;
    return red ? clRed : clBlue;
}

void tap(QPoint p) {
    QTest::mousePress(probe::ui(*window().f).drawingArea, Qt::LeftButton, {}, p);
    QTest::mouseRelease(probe::ui(*window().f).drawingArea, Qt::LeftButton, {}, p);
}

void BM_WallMemcpy(benchmark::State& state) {
    for (auto _ : state)
        state.SetIterationTime(wallMemcpySeconds());
    state.counters["ms"] = wallMemcpySeconds() * 1e3;
}

void BM_Fill(benchmark::State& state, int kind) {
    Window& w = window();
    w.click(probe::ui(*w.f).fillButton);
    if (kind == 1)
        w.click(probe::ui(*w.f).fillToLinesButton);
    if (kind == 2) {
        probe::tools(*w.f).fillStyle = fillstyle::Normal;
        QTest::mouseClick(probe::ui(*w.f).textureBoxes[2], Qt::LeftButton);
    }
    timeIt(
        state,
        [&] {
            if (kind == 0) {
                probe::tools(*w.f).fillStyle = fillstyle::Normal;
                probe::tools(*w.f).fillTexture = 0;
            }
            // A texture paints its own colors: two of them in turn change the page each time.
            if (kind == 2)
                probe::tools(*w.f).fillTexture = probe::tools(*w.f).fillTexture == 3 ? 2 : 3;
            probe::tools(*w.f).currentColor = nextColor();
        },
        [] {
            tap({5, 5});
        });
}

void BM_BrushSegment(benchmark::State& state) {
    Window& w = window();
    w.click(probe::ui(*w.f).brushButton);
    w.click(probe::ui(*w.f).hugePenButton); // huge
    int i = 0;
    timeIt(
        state, [&] { probe::tools(*w.f).currentColor = nextColor(); },
        [&] {
            const QPoint from(200 + (i % 20) * 150, 300), to(400 + (i % 20) * 150, 1800);
            ++i;
            QTest::mousePress(probe::ui(*w.f).drawingArea, Qt::LeftButton, {}, from);
            QTest::mouseMove(probe::ui(*w.f).drawingArea, to);
            QTest::mouseRelease(probe::ui(*w.f).drawingArea, Qt::LeftButton, {}, to);
        });
}

void BM_Stamp(benchmark::State& state) {
    Window& w = window();
    w.click(probe::ui(*w.f).stampsButton);
    int i = 0;
    timeIt(
        state, [] {},
        [&] {
            tap({300 + (i++ % 30) * 100, 1000});
        });
}

void BM_Shape(benchmark::State& state) {
    Window& w = window();
    w.click(probe::ui(*w.f).shapesButton);
    w.click(probe::ui(*w.f).circleButton);
    timeIt(
        state, [&] { probe::tools(*w.f).currentColor = nextColor(); },
        [&] {
            QTest::mousePress(probe::ui(*w.f).drawingArea, Qt::LeftButton, {}, {400, 400});
            QTest::mouseMove(probe::ui(*w.f).drawingArea, {3000, 1700});
            QTest::mouseRelease(probe::ui(*w.f).drawingArea, Qt::LeftButton, {}, {3000, 1700});
        });
}

// Undo and redo of the step that packs worst: a textured fill of most of the page.
void BM_UndoRedo(benchmark::State& state, bool undo) {
    Window& w = window();
    w.click(probe::ui(*w.f).fillButton);
    probe::tools(*w.f).fillStyle = fillstyle::Normal;
    QTest::mouseClick(probe::ui(*w.f).textureBoxes[2], Qt::LeftButton);
    timeIt(
        state,
        [&] {
            probe::tools(*w.f).currentColor = nextColor();
            tap({5, 5});
            w.settle();
            if (!undo)
                QTest::mouseClick(probe::ui(*w.f).undoButton, Qt::LeftButton);
        },
        [&] {
            QTest::mouseClick(undo ? probe::ui(*w.f).undoButton : probe::ui(*w.f).redoButton,
                              Qt::LeftButton);
        });
}

void choosePlainFill(Window& w) {
    w.click(probe::ui(*w.f).fillButton);
    probe::tools(*w.f).fillStyle = fillstyle::Normal;
    probe::tools(*w.f).fillTexture = 0;
}

// A painted page replaced by another one (Random) or by its clean self (Clear). After Clear
// the child looks at the page a moment before painting on it, long enough for the window
// to copy the clean page aside for the next Clear.
void BM_NewPage(benchmark::State& state, bool random) {
    Window& w = window();
    choosePlainFill(w);
    timeIt(
        state,
        [&] {
            if (!random &&
                !QTest::qWaitFor([&] { return WindowProbe::cleanPageReady(*w.f); }, 2000))
                state.counters["not_copied"] += 1;
            probe::tools(*w.f).currentColor = nextColor();
            tap({5, 5});
        },
        [&] {
            QTest::mouseClick(random ? probe::ui(*w.f).randomPageButton
                                     : probe::ui(*w.f).clearButton,
                              Qt::LeftButton);
        });
}

// The first tap on a page the child has just picked: no step of it yet, and nothing kept.
void BM_FirstFillOnANewPage(benchmark::State& state) {
    Window& w = window();
    choosePlainFill(w);
    timeIt(
        state,
        [&] {
            QTest::mouseClick(probe::ui(*w.f).clearButton, Qt::LeftButton);
            probe::tools(*w.f).currentColor = nextColor();
        },
        [] {
            tap({5, 5});
        });
}
} // namespace

#define LATENCY(...) ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(__VA_ARGS__)
// Leaving a colored page: what the window thread pays to keep it (the store encodes and
// writes it on its own thread).
void BM_LeavePage(benchmark::State& state) {
    Window& w = window();
    w.click(probe::ui(*w.f).fillButton);
    const QPoint inside(900, 1080);
    timeIt(
        state,
        [&] {
            probe::tools(*w.f).currentColor = nextColor();
            tap(inside);
        },
        [&] { WindowProbe::keepLeavingPicture(*w.f); });
}

// Coming back to a colored page: the kept picture read, unpacked, placed and shown.
void BM_OpenKeptPicture(benchmark::State& state) {
    Window& w = window();
    w.click(probe::ui(*w.f).fillButton);
    // As the catalogue opens a page: the window started on a page of its own choosing.
    probe::catalogue(*w.f).currentPageIndex = 1;
    w.f->openPage(1);
    probe::tools(*w.f).currentColor = nextColor();
    tap(QPoint(900, 1080));
    WindowProbe::keepLeavingPicture(*w.f);
    w.f->pictureStore()->flush();
    if (!w.f->pictureStore()->contains(w.f->pageKey(1, QString()))) {
        state.SkipWithError("the colored page was not kept");
        return;
    }
    // Read from its file each time, not from a write still waiting.
    timeIt(
        state, [&] { w.f->pictureStore()->flush(); }, [&] { w.f->openPage(1); });
}

BENCHMARK(BM_WallMemcpy) LATENCY(1);
BENCHMARK(BM_LeavePage) LATENCY(10);
BENCHMARK(BM_OpenKeptPicture) LATENCY(10);
BENCHMARK_CAPTURE(BM_Fill, plain, 0) LATENCY(10);
BENCHMARK_CAPTURE(BM_Fill, up_to_the_lines, 1) LATENCY(10);
BENCHMARK_CAPTURE(BM_Fill, textured, 2) LATENCY(10);
BENCHMARK(BM_BrushSegment) LATENCY(10);
BENCHMARK(BM_Stamp) LATENCY(10);
BENCHMARK(BM_Shape) LATENCY(10);
BENCHMARK_CAPTURE(BM_UndoRedo, undo, true) LATENCY(10);
BENCHMARK_CAPTURE(BM_UndoRedo, redo, false) LATENCY(10);
BENCHMARK_CAPTURE(BM_NewPage, random, true) LATENCY(10);
BENCHMARK_CAPTURE(BM_NewPage, clear, false) LATENCY(10);
BENCHMARK(BM_FirstFillOnANewPage) LATENCY(10);

int main(int argc, char** argv) {
    // A screen that holds the 4K drawing area with the window's panels around it.
    QTemporaryDir config;
    QFile screen(config.filePath(QStringLiteral("screen.json")));
    if (!screen.open(QIODevice::WriteOnly))
        return 1;
    screen.write(R"({"screens": [{"name": "Bench", "x": 0, "y": 0, "width": 4400, "height": 2700,)"
                 R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    screen.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screen.fileName().toUtf8());
    // The window's settings and data stay inside this run.
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    quietqt::install();
    PictaroApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The window goes before the application.
    theWindow.reset();
    return 0;
}
