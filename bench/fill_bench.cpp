// The fill and the brush on a 3840 x 2160 page, each against a plain memory operation on the
// same page in the same run. The ratios are printed after the table.
#include "paint/floodfill.h"
#include "paint/pagebitmap.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace {
constexpr int W = 3840, H = 2160;
const QRgb White = qRgb(255, 255, 255);
const QRgb Blue = qRgb(0, 0, 255);
const QRgb Black = qRgb(0, 0, 0);

QImage blankPage() {
    QImage img(W, H, QImage::Format_RGB32);
    img.fill(White);
    return img;
}

// A coloring page as a child gets it: thick black outlines on white, a big animal body with
// eyes, ears, spots and a few smaller things around it. Pure black, or antialiased as pages
// made elsewhere come.
QImage outlinePage(bool antialiased = false) {
    QImage img = blankPage();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, antialiased);
    p.setPen(QPen(Qt::black, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPoint(1900, 1200), 560, 400); // body
    p.drawEllipse(QPoint(1900, 600), 300, 220);  // head
    p.drawEllipse(QPoint(1800, 560), 40, 55);
    p.drawEllipse(QPoint(2000, 560), 40, 55);
    p.drawArc(QRect(1800, 610, 200, 100), 200 * 16, 140 * 16);
    for (int i = 0; i < 9; ++i) // spots inside the body
        p.drawEllipse(QPoint(1550 + (i % 3) * 350, 1000 + (i / 3) * 200), 50 + 7 * i, 35 + 4 * i);
    p.drawPolyline(
        QPolygon({QPoint(1500, 1560), QPoint(1450, 2050), QPoint(1600, 2050), QPoint(1620, 1640)}));
    p.drawPolyline(
        QPolygon({QPoint(2200, 1640), QPoint(2250, 2050), QPoint(2400, 2050), QPoint(2360, 1540)}));
    for (int i = 0; i < 12; ++i) { // a sun with rays and some flowers
        const QPoint c(400, 350);
        p.drawLine(c + QPoint(int(230 * std::cos(i * 0.5236)), int(230 * std::sin(i * 0.5236))),
                   c + QPoint(int(330 * std::cos(i * 0.5236)), int(330 * std::sin(i * 0.5236))));
    }
    p.drawEllipse(QPoint(400, 350), 180, 180);
    for (int f = 0; f < 5; ++f) {
        const QPoint c(300 + f * 700, 1950);
        for (int k = 0; k < 6; ++k)
            p.drawEllipse(c + QPoint(int(60 * std::cos(k * 1.047)), int(60 * std::sin(k * 1.047))),
                          45, 45);
        p.drawEllipse(c, 35, 35);
    }
    p.drawLine(0, 1750, W, 1700);
    return img;
}

// A page from the catalogue when one has been unpacked into pak/, else the drawn one.
QImage realPage() {
    for (const QString& dir : {QStringLiteral("pak"), QStringLiteral("../pak")}) {
        const QStringList paks = QDir(dir).entryList({QStringLiteral("*.pak")}, QDir::Files);
        if (paks.isEmpty())
            continue;
        QFile f(QDir(dir).filePath(paks.front()));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QByteArray all = f.readAll();
        if (all.size() < 6)
            continue;
        const int nameLen = uchar(all[0]) | uchar(all[1]) << 8;
        const qsizetype at = 2 + nameLen;
        if (all.size() < at + 4)
            continue;
        const quint32 len = uchar(all[at]) | uchar(all[at + 1]) << 8 | uchar(all[at + 2]) << 16 |
                            quint32(uchar(all[at + 3])) << 24;
        const QImage src = QImage::fromData(all.mid(at + 4, len));
        if (src.isNull())
            continue;
        // In the middle of the drawing area, as the window shows it.
        const QImage scaled = src.scaled(W, H, Qt::KeepAspectRatio, Qt::FastTransformation);
        QImage page = blankPage();
        QPainter(&page).drawImage((W - scaled.width()) / 2, (H - scaled.height()) / 2, scaled);
        return page;
    }
    return outlinePage();
}

// ------------------------------------------------------------------ baselines

void BM_Memset(benchmark::State& state) {
    QImage img = blankPage();
    int v = 0;
    for (auto _ : state) {
        std::memset(img.bits(), v++ & 0xFF, size_t(img.sizeInBytes()));
        benchmark::DoNotOptimize(img.bits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Memset)->Unit(benchmark::kMillisecond);

void BM_Memcpy(benchmark::State& state) {
    const QImage src = blankPage();
    QImage dst = blankPage();
    for (auto _ : state) {
        std::memcpy(dst.bits(), src.constBits(), size_t(src.sizeInBytes()));
        benchmark::DoNotOptimize(dst.bits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

// One pixel at a time from a queue, as a flood fill is usually first written.
void perPixelFill(QImage& img, QPoint seed, QRgb ref, QRgb paint) {
    QRgb* bits = reinterpret_cast<QRgb*>(img.bits());
    const int stride = int(img.bytesPerLine() / 4);
    std::deque<QPoint> q{seed};
    bits[seed.y() * stride + seed.x()] = paint;
    while (!q.empty()) {
        const QPoint p = q.front();
        q.pop_front();
        const QPoint next[4] = {p + QPoint(1, 0), p + QPoint(-1, 0), p + QPoint(0, 1),
                                p + QPoint(0, -1)};
        for (const QPoint& n : next) {
            if (n.x() < 0 || n.y() < 0 || n.x() >= img.width() || n.y() >= img.height())
                continue;
            QRgb& px = bits[n.y() * stride + n.x()];
            if (px == ref) {
                px = paint;
                q.push_back(n);
            }
        }
    }
}

void BM_PerPixelFillBlank(benchmark::State& state) {
    QImage img = blankPage();
    QRgb from = White, to = Blue;
    for (auto _ : state) {
        perPixelFill(img, QPoint(W / 2, H / 2), from, to);
        std::swap(from, to);
    }
}
BENCHMARK(BM_PerPixelFillBlank)->Unit(benchmark::kMillisecond)->Iterations(3);

// A textbook scanline fill: a span stack and a byte per pixel for what was visited.
void scanlineFill(QImage& img, QPoint seed, QRgb ref, QRgb paint) {
    const int w = img.width(), h = img.height();
    QRgb* bits = reinterpret_cast<QRgb*>(img.bits());
    std::vector<unsigned char> seen(size_t(w) * h, 0);
    auto open = [&](int x, int y) { return !seen[size_t(y) * w + x] && bits[y * w + x] == ref; };
    struct Span {
        int y, x1, x2;
    };
    std::vector<Span> stack;
    auto fillRow = [&](int y, int x1, int x2) {
        std::fill(bits + y * w + x1, bits + y * w + x2 + 1, paint);
        std::fill(seen.begin() + y * w + x1, seen.begin() + y * w + x2 + 1, 1);
        stack.push_back({y, x1, x2});
    };
    int x1 = seed.x(), x2 = seed.x();
    while (x1 > 0 && open(x1 - 1, seed.y()))
        --x1;
    while (x2 < w - 1 && open(x2 + 1, seed.y()))
        ++x2;
    fillRow(seed.y(), x1, x2);
    while (!stack.empty()) {
        const Span s = stack.back();
        stack.pop_back();
        for (int ny : {s.y - 1, s.y + 1}) {
            if (ny < 0 || ny >= h)
                continue;
            for (int x = s.x1; x <= s.x2; ++x) {
                if (!open(x, ny))
                    continue;
                int a = x, b = x;
                while (a > 0 && open(a - 1, ny))
                    --a;
                while (b < w - 1 && open(b + 1, ny))
                    ++b;
                fillRow(ny, a, b);
                x = b;
            }
        }
    }
}

void BM_TextbookScanlineBlank(benchmark::State& state) {
    QImage img = blankPage();
    QRgb from = White, to = Blue;
    for (auto _ : state) {
        scanlineFill(img, QPoint(W / 2, H / 2), from, to);
        std::swap(from, to);
    }
}
BENCHMARK(BM_TextbookScanlineBlank)->Unit(benchmark::kMillisecond);

// ------------------------------------------------------------------ ours

using FillFunction = QRect (*)(QImage&, QPoint, FloodMode, QRgb, const FillPaint&);

// A normal fill of the whole empty page, there and back.
void blankFill(benchmark::State& state, FillFunction fill) {
    QImage img = blankPage();
    QRgb from = White, to = Blue;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            fill(img, QPoint(W / 2, H / 2), FloodMode::Surface, from, {to, nullptr}));
        std::swap(from, to);
    }
}

// The exact flood alone, as the cursors' tinting uses it.
void BM_ExactFillBlank(benchmark::State& state) {
    blankFill(state, floodFill);
}
BENCHMARK(BM_ExactFillBlank)->Unit(benchmark::kMillisecond);

// The page's fills from here on, as the fill tool calls them.

// The normal fill of the child's first click on an empty page.
void BM_FillBlank(benchmark::State& state) {
    blankFill(state, fillLineArt);
}
BENCHMARK(BM_FillBlank)->Unit(benchmark::kMillisecond);

// The special fill keeps a visited mask: it paints over its own color.
void BM_SpecialFillBlank(benchmark::State& state) {
    QImage img = blankPage();
    QRgb to = Blue;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            fillLineArt(img, QPoint(W / 2, H / 2), FloodMode::Border, Black, {to, nullptr}));
        to = to == Blue ? White : Blue;
    }
}
BENCHMARK(BM_SpecialFillBlank)->Unit(benchmark::kMillisecond);

void BM_TextureFillBlank(benchmark::State& state) {
    QImage img = blankPage();
    QImage tile(237, 244, QImage::Format_RGB32);
    for (int y = 0; y < tile.height(); ++y)
        for (int x = 0; x < tile.width(); ++x)
            tile.setPixel(x, y,
                          qRgb(180 + (x * 7 + y) % 60, 150 + (x + y * 3) % 80, 60 + (x ^ y) % 50));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            fillLineArt(img, QPoint(W / 2, H / 2), FloodMode::Border, Black, {Blue, &tile}));
}
BENCHMARK(BM_TextureFillBlank)->Unit(benchmark::kMillisecond);

// Among the white regions of the page, the one closest to 400 000 pixels: the size of a
// region a child fills on a 4K page.
struct Region {
    QPoint seed;
    long pixels = 0;
};

Region pickRegion(const QImage& page) {
    QImage scratch = page;
    Region best;
    QRgb marker = qRgb(1, 0, 0);
    for (int y = 5; y < H; y += 97)
        for (int x = 5; x < W; x += 97) {
            if (scratch.pixel(x, y) != White)
                continue;
            marker += 1;
            const QRect r =
                floodFill(scratch, QPoint(x, y), FloodMode::Surface, White, {marker, nullptr});
            long n = 0;
            for (int ry = r.top(); ry <= r.bottom(); ++ry) {
                const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(ry));
                for (int rx = r.left(); rx <= r.right(); ++rx)
                    n += row[rx] == marker;
            }
            if (best.pixels == 0 || std::labs(n - 400000) < std::labs(best.pixels - 400000))
                best = {QPoint(x, y), n};
        }
    return best;
}

void BM_FillPageRegion(benchmark::State& state) {
    QImage img = realPage();
    const Region region = pickRegion(img);
    state.counters["pixels"] = double(region.pixels);
    QRgb from = White, to = Blue;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            fillLineArt(img, region.seed, FloodMode::Surface, from, {to, nullptr}));
        std::swap(from, to);
    }
}
BENCHMARK(BM_FillPageRegion)->Unit(benchmark::kMillisecond);

void BM_SpecialFillPageRegion(benchmark::State& state) {
    QImage img = realPage();
    const Region region = pickRegion(img);
    state.counters["pixels"] = double(region.pixels);
    QRgb to = Blue;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            fillLineArt(img, region.seed, FloodMode::Border, Black, {to, nullptr}));
        to = to == Blue ? White : Blue;
    }
}
BENCHMARK(BM_SpecialFillPageRegion)->Unit(benchmark::kMillisecond);

// The page around the animal, most of it, on the antialiased page: one fill of the fresh
// page each time (the page is put back between fills, outside the timing).
void antialiasedPageFill(benchmark::State& state, FloodMode mode) {
    const QImage page = outlinePage(true);
    QImage img = page;
    img.detach();
    const QPoint seed(W - 5, 5);
    const QRgb ref = mode == FloodMode::Border ? Black : White;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fillLineArt(img, seed, mode, ref, {Blue, nullptr}));
        state.PauseTiming();
        std::memcpy(img.bits(), page.constBits(), size_t(page.sizeInBytes()));
        state.ResumeTiming();
    }
    long painted = 0;
    QImage once = page;
    fillLineArt(once, seed, mode, ref, {Blue, nullptr});
    for (int y = 0; y < H; ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(once.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = 0; x < W; ++x)
            painted += a[x] != b[x];
    }
    state.counters["pixels"] = double(painted);
}

void BM_FillAntialiasedPage(benchmark::State& state) {
    antialiasedPageFill(state, FloodMode::Surface);
}
BENCHMARK(BM_FillAntialiasedPage)->Unit(benchmark::kMillisecond);

void BM_SpecialFillAntialiasedPage(benchmark::State& state) {
    antialiasedPageFill(state, FloodMode::Border);
}
BENCHMARK(BM_SpecialFillAntialiasedPage)->Unit(benchmark::kMillisecond);

// The page around the animal filled with one of the program's textures, then filled with it
// again and again: what a child's second tap on a textured region costs.
void BM_TextureRefillPage(benchmark::State& state) {
    const QImage tile(QStringLiteral(PICTARO_TEXTURE_DIR "/tex14.png"));
    if (tile.isNull()) {
        state.SkipWithError("the texture is missing");
        return;
    }
    QImage img = outlinePage(true);
    const QPoint seed(W - 5, 5);
    const QRect first = fillLineArt(img, seed, FloodMode::Border, Black, {Blue, &tile});
    for (auto _ : state)
        benchmark::DoNotOptimize(fillLineArt(img, seed, FloodMode::Border, Black, {Blue, &tile}));
    state.counters["rows"] = double(first.height());
}
BENCHMARK(BM_TextureRefillPage)->Unit(benchmark::kMillisecond);

// The page fills again, each timed against a memset of the same page just before it. This
// machine's speed changes from one second to the next: a baseline measured once, seconds
// earlier, can be off by half. Reported as the median of the pairs' ratios.
struct PairClock {
    double wall = 0, cpu = 0;
    static PairClock now() {
        timespec w{}, c{};
        clock_gettime(CLOCK_MONOTONIC, &w);
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &c);
        return {double(w.tv_sec) + double(w.tv_nsec) * 1e-9,
                double(c.tv_sec) + double(c.tv_nsec) * 1e-9};
    }
};

template <class Prepare, class Fill>
void pairedWithMemset(benchmark::State& state, QImage& img, Prepare prepare, Fill fill) {
    std::vector<double> wallRatio, cpuRatio;
    for (auto _ : state) {
        const PairClock t0 = PairClock::now();
        std::memset(img.bits(), 0xFF, size_t(img.sizeInBytes()));
        benchmark::ClobberMemory();
        const PairClock t1 = PairClock::now();
        prepare();
        const PairClock t2 = PairClock::now();
        benchmark::DoNotOptimize(fill());
        const PairClock t3 = PairClock::now();
        state.SetIterationTime(t3.wall - t2.wall);
        wallRatio.push_back((t3.wall - t2.wall) / (t1.wall - t0.wall));
        cpuRatio.push_back((t3.cpu - t2.cpu) / (t1.cpu - t0.cpu));
    }
    const auto median = [](std::vector<double>& v) {
        std::nth_element(v.begin(), v.begin() + long(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    state.counters["x_memset_wall"] = median(wallRatio);
    state.counters["x_memset_cpu"] = median(cpuRatio);
}

void BM_PairedFillBlank(benchmark::State& state) {
    QImage img = blankPage();
    pairedWithMemset(
        state, img, [] {},
        [&] {
            return fillLineArt(img, QPoint(W / 2, H / 2), FloodMode::Surface, White,
                               {Blue, nullptr});
        });
}
BENCHMARK(BM_PairedFillBlank)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PairedFillAntialiasedPage(benchmark::State& state) {
    const QImage page = outlinePage(true);
    QImage img = page;
    img.detach();
    pairedWithMemset(
        state, img, [&] { std::memcpy(img.bits(), page.constBits(), size_t(page.sizeInBytes())); },
        [&] {
            return fillLineArt(img, QPoint(W - 5, 5), FloodMode::Surface, White, {Blue, nullptr});
        });
}
BENCHMARK(BM_PairedFillAntialiasedPage)->UseManualTime()->Unit(benchmark::kMillisecond);

// Thick pure black outlines, as the window's latency run colors: the page around six ovals
// refilled with the texture it already has.
void BM_TextureRefillOvals(benchmark::State& state) {
    const QImage tile(QStringLiteral(PICTARO_TEXTURE_DIR "/tex14.png"));
    QImage img = blankPage();
    {
        QPainter p(&img);
        p.setPen(QPen(Qt::black, 8));
        for (int i = 0; i < 6; ++i)
            p.drawEllipse(QPoint(500 + i * 560, 1080), 240, 700 - i * 60);
        p.drawLine(0, 1900, W, 1900);
    }
    fillLineArt(img, QPoint(5, 5), FloodMode::Border, Black, {Blue, &tile});
    for (auto _ : state)
        benchmark::DoNotOptimize(
            fillLineArt(img, QPoint(5, 5), FloodMode::Border, Black, {Blue, &tile}));
}
BENCHMARK(BM_TextureRefillOvals)->Unit(benchmark::kMillisecond);

// One move of a width-70 brush stroke and the repaint it asks for: the line into the page,
// then the dirty rectangle copied out as the paint event copies it to the screen.
void BM_BrushSegment(benchmark::State& state) {
    PageBitmapCanvas page(W, H);
    QImage screen = blankPage();
    page.pen = CanvasPen{0x00FF0000, 70, PenStyle::Solid};
    int i = 0;
    for (auto _ : state) {
        const int x = 400 + (i * 37) % 3000, y = 300 + (i * 53) % 1500;
        page.moveTo(x, y);
        const QRect dirty = page.lineTo(x + 24, y + 18); // a quick hand moves this far per event
        for (int row = dirty.top(); row <= dirty.bottom(); ++row)
            std::memcpy(screen.scanLine(row) + dirty.left() * 4,
                        page.image.constScanLine(row) + dirty.left() * 4,
                        size_t(dirty.width()) * 4);
        benchmark::ClobberMemory();
        ++i;
    }
}
BENCHMARK(BM_BrushSegment)->Unit(benchmark::kMillisecond);

// Prints each benchmark's time as a multiple of its baseline.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Iteration || r.iterations <= 0)
                continue;
            const double wall = r.real_accumulated_time / double(r.iterations);
            const double cpu = r.cpu_accumulated_time / double(r.iterations);
            const auto [it, fresh] = times.try_emplace(r.run_name.function_name, wall, cpu);
            if (!fresh)
                it->second = {std::min(it->second.first, wall), std::min(it->second.second, cpu)};
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const std::pair<const char*, const char*> pairs[] = {
            {"BM_ExactFillBlank", "BM_Memset"},
            {"BM_FillBlank", "BM_Memset"},
            {"BM_SpecialFillBlank", "BM_Memset"},
            {"BM_FillAntialiasedPage", "BM_Memset"},
            {"BM_SpecialFillAntialiasedPage", "BM_Memset"},
            {"BM_TextureFillBlank", "BM_Memset"},
            {"BM_TextureRefillPage", "BM_Memset"},
            {"BM_TextbookScanlineBlank", "BM_Memset"},
            {"BM_PerPixelFillBlank", "BM_Memset"},
            {"BM_PerPixelFillBlank", "BM_FillBlank"},
            {"BM_FillPageRegion", "BM_Memset"},
            {"BM_SpecialFillPageRegion", "BM_Memset"},
            {"BM_BrushSegment", "BM_Memcpy"},
        };
        // On a shared machine the wall clock also counts time the process was not running;
        // both are shown, each the best of the repetitions.
        std::printf("\nRatios to the baseline                     wall      cpu\n");
        for (const auto& [what, base] : pairs) {
            const auto a = times.find(what), b = times.find(base);
            if (a != times.end() && b != times.end() && b->second.first > 0 && b->second.second > 0)
                std::printf("  %-30s / %-10s %8.3f %8.3f\n", what, base,
                            a->second.first / b->second.first, a->second.second / b->second.second);
        }
    }

  private:
    std::map<std::string, std::pair<double, double>> times; // wall, cpu seconds per iteration
};
} // namespace

int main(int argc, char** argv) {
    // Several short repetitions by default: the best of them is what the code costs.
    std::vector<char*> args(argv, argv + argc);
    std::string reps = "--benchmark_repetitions=5";
    if (std::none_of(args.begin(), args.end(), [](const char* a) {
            return std::strncmp(a, "--benchmark_repetitions", 23) == 0;
        }))
        args.push_back(reps.data());
    int n = int(args.size());
    benchmark::Initialize(&n, args.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
