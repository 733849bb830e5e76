// Unpacking the page archives at start-up, against the plainest possible copy of the same
// bytes (one read and one write per file), in the same run.
#include "library/pak.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
constexpr int kPages = 200;
constexpr int kPageBytes = 1 << 20;

struct Fixture {
    QTemporaryDir dir;
    QString pak, plain;
    Fixture() {
        pak = dir.filePath("pages.pak");
        plain = dir.filePath("plain");
        QDir().mkpath(plain);
        QFile f(pak);
        f.open(QIODevice::WriteOnly);
        QByteArray data(kPageBytes, 'x');
        for (int i = 0; i < kPages; ++i) {
            const QByteArray name = "page" + QByteArray::number(i) + ".bmp";
            data[0] = char(i);
            const quint16 nl = quint16(name.size());
            const quint32 dl = quint32(data.size());
            f.write(reinterpret_cast<const char*>(&nl), 2); // little-endian host
            f.write(name);
            f.write(reinterpret_cast<const char*>(&dl), 4);
            f.write(data);
            QFile p(plain + "/" + name);
            p.open(QIODevice::WriteOnly);
            p.write(data);
        }
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_UnpackArchive(benchmark::State& state) {
    Fixture& fx = fixture();
    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString cache = fx.dir.filePath("cache" + QString::number(run++));
        QDir().mkpath(cache);
        state.ResumeTiming();
        int pages = 0;
        unpackArchive(fx.pak, cache, cache + "/Bitmap.tmp", [&](const QString&) { ++pages; });
        benchmark::DoNotOptimize(pages);
        state.PauseTiming();
        QDir(cache).removeRecursively();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * qint64(kPages) * kPageBytes);
}

void BM_PlainCopyBaseline(benchmark::State& state) {
    Fixture& fx = fixture();
    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString out = fx.dir.filePath("copy" + QString::number(run++));
        QDir().mkpath(out);
        state.ResumeTiming();
        for (int i = 0; i < kPages; ++i) {
            const QString name = QStringLiteral("page%1.bmp").arg(i);
            QFile in(fx.plain + "/" + name);
            in.open(QIODevice::ReadOnly);
            const QByteArray all = in.readAll();
            QFile o(out + "/" + name);
            o.open(QIODevice::WriteOnly);
            o.write(all);
        }
        state.PauseTiming();
        QDir(out).removeRecursively();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * qint64(kPages) * kPageBytes);
}
// 20 MB of zeros, a whole number of six-byte empty entries, against reading the same file
// once.
constexpr qint64 kZeroBytes = 20 * 1024 * 1024 / 6 * 6;

QString zeroArchive() {
    static const QString path = [] {
        const QString p = fixture().dir.filePath("zeros.pak");
        QFile f(p);
        f.open(QIODevice::WriteOnly);
        f.resize(kZeroBytes);
        return p;
    }();
    return path;
}

void BM_UnpackZeros(benchmark::State& state) {
    const QString pak = zeroArchive();
    const QString cache = fixture().dir.filePath("zerocache");
    QDir().mkpath(cache);
    for (auto _ : state) {
        int pages = 0;
        unpackArchive(pak, cache, cache + "/Bitmap.tmp", [&](const QString&) { ++pages; });
        benchmark::DoNotOptimize(pages);
    }
    state.SetBytesProcessed(state.iterations() * kZeroBytes);
}

void BM_ReadZerosBaseline(benchmark::State& state) {
    const QString pak = zeroArchive();
    for (auto _ : state) {
        QFile in(pak);
        in.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(in.readAll().size());
    }
    state.SetBytesProcessed(state.iterations() * kZeroBytes);
}
} // namespace

BENCHMARK(BM_ReadZerosBaseline)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_UnpackZeros)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PlainCopyBaseline)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_UnpackArchive)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_MAIN();
