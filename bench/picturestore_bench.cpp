// The pictures store on a 3840 x 2160 page, against a plain copy of the page measured in the
// same run ("vs_memcpy": window-thread CPU time over the best memcpy time).
// - Keep: what leaving a changed page costs the window thread; the encoding and writing run
//   on the store's thread. KeepThenDraw is the same keep followed at once by a drawing step
//   on the kept page, which makes Qt copy the page while the store still holds it; KeepChanged
//   is the picture on screen kept again after each brush step, copying only the step.
// - KeepToDisk: from keep() until the entry is on disk (the store's thread, wall time).
// - Load: bringing a kept picture back from its file (page cache warm), for a colored page, one
//   with paper noise all over and a bundled page colored; wall time, and the CPU time of every
//   thread of the process (the bands unpack in parallel) against the copy.
// - List: the shelf's listing of 500 entries, and with every thumbnail decoded.
#include "library/picturestore.h"

#include "library/pagefit.h"
#include "library/pageload.h"
#include "library/pak.h"
#include "pagecopy.h"
#include "paint/floodfill.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <chrono>
#include <thread>

namespace {
using namespace pagecopy;

enum Kind { Flat, Noisy, Bundled };

// A load unpacks on several threads: all their time counts against the copy.
double processCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// The first bundled page, laid out on the page as the window does, with a few regions filled.
QImage bundledPage() {
    struct First : PakSink {
        QByteArray bytes;
        int entries = 0;
        void begin(const QString&) override { ++entries; }
        void write(const char* d, qint64 n) override {
            if (entries == 1)
                bytes.append(d, qsizetype(n));
        }
        void end(bool) override {}
    } first;
    QFile pak(QStringLiteral(PICTARO_PAK_DIR "/animals.pak"));
    if (!pak.open(QIODevice::ReadOnly))
        return {};
    walkArchive(pak, first);
    const QImage source = readBitmapData(first.bytes, QStringLiteral("page"));
    if (source.isNull())
        return {};
    QImage img(kW, kH, QImage::Format_RGB32);
    img.fill(Qt::white);
    stretchKeepingInk(source, img, layoutPage(source.size(), img.size()));
    for (int i = 0; i < 24; ++i) {
        const QPoint seed(kW / 8 + (i % 6) * kW / 8, kH / 5 + (i / 6) * kH / 5);
        fillLineArt(img, seed, FloodMode::Border, 0, {qRgb(40 * i % 256, 120, 200), nullptr});
    }
    return img;
}

// A colored page: flat regions of a few colours between black lines; Noisy adds the paper's
// scan noise (a step or two off) everywhere, worse than any page the program ships.
QImage page(int kind) {
    if (kind == Bundled)
        return bundledPage();
    const bool noisy = kind == Noisy;
    QImage img(kW, kH, QImage::Format_RGB32);
    static const QRgb colours[] = {qRgb(255, 255, 255), qRgb(250, 200, 40), qRgb(60, 140, 230),
                                   qRgb(230, 80, 90)};
    QRandomGenerator rng(7);
    for (int y = 0; y < kH; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kW; ++x) {
            const bool line = x % 240 < 4 || y % 180 < 4 || (x + 2 * y) % 700 < 5;
            QRgb c = line ? qRgb(0, 0, 0) : colours[(x / 240 + y / 180 * 3) % 4];
            if (noisy && !line) {
                const int d = int(rng.bounded(5)) - 2;
                c = qRgb(qBound(0, qRed(c) + d, 255), qBound(0, qGreen(c) + d, 255),
                         qBound(0, qBlue(c) + d, 255));
            }
            row[x] = c;
        }
    }
    return img;
}

void BM_Keep(benchmark::State& state) {
    const bool drawAfter = state.range(0) != 0;
    QTemporaryDir dir;
    PictureStore store(dir.path());
    const QImage source = page(Flat);
    double total = 0;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QImage shown = source.copy(); // the page on screen, not shared with anything
        state.ResumeTiming();
        const double t0 = cpuSeconds();
        store.keep(QStringLiteral("page%1").arg(n % 4), QStringLiteral("page"), shown);
        if (drawAfter)
            shown.scanLine(kH / 2)[0] = 0;
        total += cpuSeconds() - t0;
        ++n;
        state.PauseTiming();
        store.flush();
        state.ResumeTiming();
    }
    state.counters["vs_memcpy"] = total / n / memcpySeconds();
}

// The picture on screen kept again after a brush step (a 70-pixel square) while the child
// draws on: the store copies only the step's rectangle; the first keep, of the whole page, is
// before the timing.
void BM_KeepChanged(benchmark::State& state) {
    QTemporaryDir dir;
    PictureStore store(dir.path());
    QImage shown = page(Flat);
    store.keepChanged(QStringLiteral("page"), QStringLiteral("page"), shown, shown.rect());
    store.flush();
    double total = 0;
    int n = 0;
    for (auto _ : state) {
        const QRect r((n * 97) % (kW - 70), (n * 53) % (kH - 70), 70, 70);
        for (int y = r.top(); y <= r.bottom(); ++y)
            std::fill_n(reinterpret_cast<QRgb*>(shown.scanLine(y)) + r.left(), 70, qRgb(0, 0, 255));
        const double t0 = cpuSeconds();
        store.keepChanged(QStringLiteral("page"), QStringLiteral("page"), shown, r);
        total += cpuSeconds() - t0;
        ++n;
        std::this_thread::sleep_for(std::chrono::milliseconds(8)); // the next pointer move
    }
    state.counters["vs_memcpy"] = total / n / memcpySeconds();
}

void BM_KeepToDisk(benchmark::State& state) {
    QTemporaryDir dir;
    PictureStore store(dir.path());
    const QImage source = page(int(state.range(0)));
    if (source.isNull())
        return state.SkipWithError("no page");
    for (auto _ : state) {
        store.keep(QStringLiteral("page"), QStringLiteral("page"), source);
        store.flush();
    }
}

void BM_Load(benchmark::State& state) {
    QTemporaryDir dir;
    const QImage source = page(int(state.range(0)));
    if (source.isNull())
        return state.SkipWithError("no page");
    {
        PictureStore writer(dir.path());
        writer.keep(QStringLiteral("page"), QStringLiteral("page"), source);
    }
    const PictureStore store(dir.path());
    double total = 0;
    int n = 0;
    for (auto _ : state) {
        const double t0 = processCpuSeconds();
        const PictureLoad back = store.load(QStringLiteral("page"));
        total += processCpuSeconds() - t0;
        ++n;
        if (back.picture.size() != source.size())
            state.SkipWithError("the picture did not come back");
        benchmark::DoNotOptimize(back.picture.constBits());
    }
    state.counters["vs_memcpy"] = total / n / memcpySeconds();
    state.counters["file_MB"] =
        double(QFileInfo(store.fileFor(QStringLiteral("page"))).size()) / (1 << 20);
}

void BM_List500(benchmark::State& state) {
    const bool thumbnails = state.range(0) != 0;
    QTemporaryDir dir;
    {
        PictureStore writer(dir.path());
        QImage small(320, 180, QImage::Format_RGB32);
        for (int i = 0; i < 500; ++i) {
            small.fill(qRgb(i % 256, (i * 7) % 256, 200));
            writer.keep(QStringLiteral("page%1").arg(i), QStringLiteral("Page %1").arg(i),
                        small.copy());
        }
    }
    const PictureStore store(dir.path());
    for (auto _ : state) {
        const std::vector<PictureEntry> all = store.list();
        if (all.size() != 500)
            state.SkipWithError("not every entry was listed");
        if (thumbnails)
            for (const PictureEntry& e : all)
                benchmark::DoNotOptimize(e.thumbnail().constBits());
    }
}
} // namespace

BENCHMARK(pagecopy::BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Keep)
    ->ArgName("draw_after")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(8);
BENCHMARK(BM_KeepChanged)->Unit(benchmark::kMillisecond)->Iterations(48);
BENCHMARK(BM_KeepToDisk)
    ->ArgName("flat_noisy_bundled")
    ->Arg(Flat)
    ->Arg(Noisy)
    ->Arg(Bundled)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(4)
    ->UseRealTime();
BENCHMARK(BM_Load)
    ->ArgName("flat_noisy_bundled")
    ->Arg(Flat)
    ->Arg(Noisy)
    ->Arg(Bundled)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->UseRealTime();
BENCHMARK(BM_List500)
    ->ArgName("thumbnails")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

BENCHMARK_MAIN();
